// Measure and staff edits on a synthetic score of 16 staffs x 2,000 measures of eighths
// (256,000 notes), current page 1, drawn on the recording surface: each edit is timed whole,
// with its wait for pagination to pass page 1 and its repaint.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
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

// Each benchmark builds its own score and releases it before the thread's state goes.
SyntheticScore Synthetic() {
    return [] {
        ResetProcessState();
        SyntheticScore s;
        s.score = Score::Create();
        Score& score = *s.score;
        score.CreateDefault();
        score.SetRedraw(false);
        auto staffs = score.AllStaffs();
        for (int32_t i = 1; i < kStaffs; ++i)
            detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Staff");
        for (int32_t voice = 1; voice <= kStaffs; ++voice) {
            for (int32_t time = 0; time < kMeasures * durWhole; time += durEighth) {
                score.AddNote(voice, time, static_cast<uint8_t>(55 + (time / 8) % 20), durEighth,
                              0);
            }
        }
        s.surface = std::make_shared<RecordingSurface>();
        s.surface->SetRecordMetrics(false);
        score.SetRedraw(true);
        score.SetWindow(s.surface);
        return s;
    }();
}

void BM_AddMeasure(benchmark::State& state) {
    SyntheticScore s = Synthetic();
    for (auto _ : state) {
        s.score->AddMeasure(10);
        state.PauseTiming();
        s.score->DelMeasure(10);
        s.surface->ClearCalls();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddMeasure)->Unit(benchmark::kMillisecond);

void BM_DelMeasure(benchmark::State& state) {
    SyntheticScore s = Synthetic();
    for (auto _ : state) {
        s.score->DelMeasure(10);
        state.PauseTiming();
        s.score->AddMeasure(10);
        s.surface->ClearCalls();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DelMeasure)->Unit(benchmark::kMillisecond);

void BM_AddStaff(benchmark::State& state) {
    SyntheticScore s = Synthetic();
    for (auto _ : state) {
        const auto staff = s.score->AddStaff();
        state.PauseTiming();
        s.score->DelStaff(staff ? staff->Index() : 0);
        s.surface->ClearCalls();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddStaff)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvendi
