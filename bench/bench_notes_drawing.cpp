// Drawing one full page of dense music: 16 staffs of sixteenth notes (each measure one beam
// group of a chromatic line, so accidentals too), on the recording surface and, when the cairo
// adapter is built, through the cairo image surface at 96 dpi (15 twips per pixel).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Score.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

#ifdef CORVENDI_BENCH_CAIRO
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <string>
#endif

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 40;

std::shared_ptr<Score> DenseScore() {
    ResetProcessState();
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("");
    score->SetStaffHeight(0.2f);
    score->SetStaffSpace(0.2f);
    score->SetSystemSpace(0.3f);
    auto staffs = score->AllStaffs();
    for (int32_t i = 1; i < kStaffs; ++i)
        detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Staff");
    for (int32_t voice = 1; voice <= kStaffs; ++voice) {
        for (int32_t time = 0; time < kMeasures * durWhole; time += durSixteenth) {
            score->AddNote(voice, time, static_cast<uint8_t>(60 + (time / durSixteenth) % 13),
                           durSixteenth, 0);
        }
    }
    return score;
}

void Paginate(Score& score) {
    while (score.Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
}

void BM_DensePageRecording(benchmark::State& state) {
    auto score = DenseScore();
    auto surface = std::make_shared<RecordingSurface>();
    surface->SetRecordMetrics(false);
    score->SetRedraw(true);
    score->SetWindow(surface);
    Paginate(*score);
    for (auto _ : state) {
        surface->ClearCalls();
        score->PaintWindow();
    }
    state.counters["calls"] = static_cast<double>(surface->Calls().size());
}
BENCHMARK(BM_DensePageRecording)->Unit(benchmark::kMillisecond);

#ifdef CORVENDI_BENCH_CAIRO
void BM_DensePageCairo(benchmark::State& state) {
    SetMusicFontMapFile(std::string(CORVENDI_BENCH_DATA_DIR) + "/Common/Config/MusicFont.txt");
    auto score = DenseScore();
    auto surface = std::make_shared<CairoImageSurface>(
        detail::ScoreAccess::PageWidthTw(*score), detail::ScoreAccess::PageHeightTw(*score), 15);
    score->SetRedraw(true);
    score->SetWindow(surface);
    Paginate(*score);
    for (auto _ : state) score->PaintWindow();
}
BENCHMARK(BM_DensePageCairo)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace corvendi
