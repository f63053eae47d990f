// Editing with the mouse on a long score: 8 staffs at the default staff height, every measure
// eight eighth notes of which every other one is a three-note chord, about 100 pages, paginated
// and drawn on a cairo image surface at 96 dpi (15 twips per pixel). A page in the middle is the
// one shown and edited.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "EditingScoreBench.h"
#include "corvendi/Enums.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 8;
constexpr int32_t kMeasures = 200;  // two measures a page
constexpr int32_t kShownPage = 50;
constexpr int32_t kSelected = 1000;

using bench::Paginate;

struct Bench : bench::EditingScoreBench {
    Bench() : EditingScoreBench(kStaffs, kMeasures, kShownPage) {}
    // The second eighth of the first measure, on the middle line.
    int32_t SecondEighthX() const { return EighthX(1); }
    int32_t MiddleLineY() const { return StepY(4); }
};

// A chord tone added to an existing note: the hit walk, the insertion and the system repaint.
void BM_AddNoteByHitSameWidth(benchmark::State& state) {
    Bench b;
    const int32_t x = b.SecondEighthX();
    const int32_t y = b.MiddleLineY();
    for (auto _ : state) b.score->AddNoteByHit(x, y, durEighth, 0, durEighth);
    state.counters["pages"] = b.score->LastPage();
}
BENCHMARK(BM_AddNoteByHitSameWidth)->Unit(benchmark::kMillisecond);

void BM_RepaintSystem(benchmark::State& state) {
    Bench b;
    for (auto _ : state) detail::ScoreAccess::RepaintSystem(*b.score, 1);
}
BENCHMARK(BM_RepaintSystem)->Unit(benchmark::kMillisecond);

void BM_OnNote(benchmark::State& state) {
    Bench b;
    const auto note = b.score->Staff(kStaffs)->Voice(1)->Notes()->Item(
        detail::ScoreAccess::Regions(*b.score).back()->Measure(1)->High() + 5 * durEighth);
    const Region& last = *detail::ScoreAccess::Regions(*b.score).back();
    const int32_t y = last.Top + last.PadTop;
    int32_t time = 0;
    int32_t duration = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.score->OnNote(note->X() + 10, y, time, duration));
    }
}
BENCHMARK(BM_OnNote)->Unit(benchmark::kMicrosecond);

// An accent toggled on 1,000 selected notes, then the page painted.
void BM_ChangeSel1000(benchmark::State& state) {
    Bench b;
    auto& selected = detail::ScoreAccess::Selected(*b.score);
    for (int32_t staff = 1; staff <= kStaffs; ++staff) {
        for (const auto& note : *b.score->Staff(staff)->Voice(1)->Notes()) {
            if (static_cast<int32_t>(selected.size()) == kSelected * staff / kStaffs) break;
            selected.push_back(note);
        }
    }
    for (auto _ : state) b.score->ChangeSel(0, 0, 0, ornAccent);
    state.counters["selected"] = static_cast<double>(selected.size());
}
BENCHMARK(BM_ChangeSel1000)->Unit(benchmark::kMillisecond);

// A dynamic placed under the second eighth, replacing the one placed before: the hit walk, the
// staff event and the system repaint.
void BM_AddGlobalByHitDynamic(benchmark::State& state) {
    Bench b;
    const int32_t x = b.SecondEighthX();
    const int32_t y = b.MiddleLineY();
    bool loud = false;
    for (auto _ : state) {
        b.score->AddGlobalByHit(x, y, evtDynamic, loud ? dynF : dynP);
        loud = !loud;
    }
}
BENCHMARK(BM_AddGlobalByHitDynamic)->Unit(benchmark::kMillisecond);

// The lyric cursor stepping through the notes of the shown page, back to the first at the end.
void BM_NextActiveXY(benchmark::State& state) {
    Bench b;
    int32_t time = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::string lyric;
    b.score->FirstActiveXY(time, x, y, lyric);
    for (auto _ : state) {
        if (!b.score->NextActiveXY(time, x, y, lyric)) b.score->FirstActiveXY(time, x, y, lyric);
    }
}
BENCHMARK(BM_NextActiveXY)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvendi
