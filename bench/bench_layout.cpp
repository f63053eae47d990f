// Page layout on a synthetic score of 16 staffs x 2,000 measures (quarters on even staffs,
// eighths on odd ones), drawn on the recording surface.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 2000;

struct SyntheticScore {
    std::shared_ptr<Score> score;
    std::shared_ptr<RecordingSurface> surface;
};

void RunPagination(Score& score) {
    detail::ScoreAccess::StartPagination(score);
    while (score.Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
}

SyntheticScore& Synthetic() {
    static SyntheticScore built = [] {
        ResetProcessState();
        SyntheticScore s;
        s.score = Score::Create();
        Score& score = *s.score;
        score.CreateDefault();
        score.SetRedraw(false);
        score.SetStaffHeight(0.25f);
        score.SetStaffSpace(0.25f);
        score.SetSystemSpace(0.4f);
        auto staffs = score.AllStaffs();
        for (int32_t i = 1; i < kStaffs; ++i)
            detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Staff");
        for (int32_t voice = 1; voice <= kStaffs; ++voice) {
            const int32_t step = voice % 2 == 0 ? durQuarter : durEighth;
            for (int32_t time = 0; time < kMeasures * durWhole; time += step) {
                score.AddNote(voice, time, static_cast<uint8_t>(55 + (time / step) % 20), step, 0);
            }
        }
        s.surface = std::make_shared<RecordingSurface>();
        s.surface->SetRecordMetrics(false);
        score.SetRedraw(true);
        score.SetWindow(s.surface);
        RunPagination(score);
        return s;
    }();
    return built;
}

// Every page laid out in the background; the virtual clock makes the timer waits free.
void BM_PaginateAllPages(benchmark::State& state) {
    Score& score = *Synthetic().score;
    for (auto _ : state) {
        RunPagination(score);
        benchmark::DoNotOptimize(score.LastPage());
    }
    state.counters["pages"] = score.LastPage();
}
BENCHMARK(BM_PaginateAllPages)->Unit(benchmark::kMillisecond);

// One page drawn on the recording surface, regions included.
void BM_DrawOnePage(benchmark::State& state) {
    SyntheticScore& s = Synthetic();
    s.score->SetCurPage(2);
    for (auto _ : state) {
        state.PauseTiming();
        s.surface->ClearCalls();
        state.ResumeTiming();
        s.score->PaintWindow();
    }
    state.counters["calls"] = static_cast<double>(s.surface->Calls().size());
    state.counters["regions"] = static_cast<double>(detail::ScoreAccess::Regions(*s.score).size());
}
BENCHMARK(BM_DrawOnePage)->Unit(benchmark::kMillisecond);

// A point in the page's last region: the scan passes every other region first.
void BM_InRegion(benchmark::State& state) {
    SyntheticScore& s = Synthetic();
    s.score->PaintWindow();
    const Region& last = *detail::ScoreAccess::Regions(*s.score).back();
    const int32_t x = (last.Left + last.Right) / 2;
    const int32_t y = (last.Top + last.Bottom) / 2;
    for (auto _ : state) benchmark::DoNotOptimize(s.score->InRegion(x, y));
}
BENCHMARK(BM_InRegion);

}  // namespace
}  // namespace corvendi
