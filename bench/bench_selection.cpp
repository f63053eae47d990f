// Selection, clipboard and undo on a long score: 8 staffs of 4,000 measures, every measure eight
// eighth notes of which every other one is a three-note chord (256,000 notes), paginated and
// drawn on a cairo image surface at 96 dpi. A page in the middle is shown and edited.
//
// The program counts the bytes it holds (operator new and delete are replaced below), so that
// what a history of single-note steps keeps can be reported.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
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
#include "engine/UndoHistory.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace {
std::atomic<int64_t> gLiveBytes{0};
}  // namespace

// The replaced allocation functions pair malloc with free themselves.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    gLiveBytes += static_cast<int64_t>(malloc_usable_size(p));
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    gLiveBytes -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 8;
constexpr int32_t kMeasures = 4000;
constexpr int32_t kShownPage = 50;
constexpr int32_t kCopied = 10000;
constexpr int32_t kSteps = 100;

using bench::Paginate;

// One score for every benchmark: building and paginating it takes seconds.
struct Bench : bench::EditingScoreBench {
    Bench() : EditingScoreBench(kStaffs, kMeasures, kShownPage) {}
    // Selects `count` notes, shared by the first `staffs` staffs, from the shown page's first
    // measure on.
    void SelectFromPage(int32_t count, int32_t staffs = kStaffs) {
        score->ClearSelection();
        auto& state = detail::ScoreAccess::State(*score);
        const int32_t start = FirstRegion().Measure(0)->High();
        for (int32_t staff = 1; staff <= staffs; ++staff) {
            const auto voice = score->Staff(staff)->Voice(1);
            for (auto note = voice->Notes()->Item(start);
                 note && static_cast<int32_t>(state.Selected.size()) < count * staff / staffs;
                 note = voice->Notes()->NextItem()) {
                state.Selected.push_back(note);
                state.SelVoiceIDs.push_back(voice->ID());
                state.SelStaffs.push_back(staff);
            }
        }
    }
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

// Every note of the active voice on the page shown.
void BM_SetSelectionWholePage(benchmark::State& state) {
    Bench& b = Shared();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            b.score->SetSelection(0, 0, b.score->SheetWidthTw(), b.score->SheetHeightTw()));
    }
    state.counters["selected"] = b.score->SelCount();
}
BENCHMARK(BM_SetSelectionWholePage)->Unit(benchmark::kMillisecond);

// 10,000 notes of one staff (a paste takes the first staff of the text only).
void BM_Copy10000(benchmark::State& state) {
    Bench& b = Shared();
    b.SelectFromPage(kCopied, 1);
    for (auto _ : state) benchmark::DoNotOptimize(b.score->PutClipboard(false));
    state.counters["bytes"] = static_cast<double>(CurrentPlatform().ClipboardText().size());
}
BENCHMARK(BM_Copy10000)->Unit(benchmark::kMillisecond);

// Pasting 10,000 notes (chord tones of the notes there) into the shown page's second measure,
// with the repaint; each paste is taken back outside the timing.
void BM_Paste10000(benchmark::State& state) {
    Bench& b = Shared();
    b.SelectFromPage(kCopied, 1);
    b.score->PutClipboard(false);
    b.score->Staff(1)->SetSelected(true);
    const int32_t measure = b.FirstRegion().Measure(1)->High() / durWhole + 1;
    for (auto _ : state) {
        detail::ScoreAccess::SelectedMeasureSet(*b.score, measure);
        b.score->GetClipboard();
        state.PauseTiming();
        b.score->Undo();
        Paginate(*b.score);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste10000)->Unit(benchmark::kMillisecond);

// A chord tone entered by a hit, then taken back and made again.
void BM_UndoRedoNoteEntry(benchmark::State& state) {
    Bench& b = Shared();
    b.score->AddNoteByHit(b.EighthX(1), b.StepY(3), durEighth, 0, durEighth);
    for (auto _ : state) {
        b.score->Undo();
        b.score->Redo();
    }
    b.score->Undo();
    state.counters["steps"] =
        benchmark::Counter(2.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_UndoRedoNoteEntry)->Unit(benchmark::kMillisecond);

// An accent on 1,000 selected notes taken back and made again.
void BM_UndoRedoChangeSel1000(benchmark::State& state) {
    Bench& b = Shared();
    b.SelectFromPage(1000);
    b.score->ChangeSel(0, 0, 0, ornAccent);
    for (auto _ : state) {
        b.score->Undo();
        b.score->Redo();
    }
    b.score->Undo();
}
BENCHMARK(BM_UndoRedoChangeSel1000)->Unit(benchmark::kMillisecond);

// A measure inserted at the shown page: every later note of the 256,000 moves, and the pages
// are laid out again up to the shown one.
void BM_UndoRedoAddMeasure(benchmark::State& state) {
    Bench& b = Shared();
    detail::ScoreAccess::SelectedMeasureSet(*b.score, b.FirstRegion().Measure(0)->High() / 64 + 1);
    b.score->AddMeasure();
    Paginate(*b.score);
    for (auto _ : state) {
        b.score->Undo();
        b.score->Redo();
    }
    b.score->Undo();
    Paginate(*b.score);
    b.score->SetCurPage(kShownPage);
}
BENCHMARK(BM_UndoRedoAddMeasure)->Unit(benchmark::kMillisecond)->Iterations(3);

// What a history of 100 single-note entries keeps, in bytes: the memory held after the entries
// less the memory held once the history is emptied.
void BM_HistoryOf100NoteEntries(benchmark::State& state) {
    Bench& b = Shared();
    int64_t kept = 0;
    for (auto _ : state) {
        detail::ClearHistory(*b.score);
        for (int32_t i = 0; i < kSteps; ++i) {
            b.score->AddNoteByHit(b.EighthX(i % 8), b.StepY(i % 9), durEighth, 0, durEighth);
        }
        const int64_t withHistory = gLiveBytes;
        detail::ClearHistory(*b.score);
        kept = withHistory - gLiveBytes;
    }
    state.counters["historyBytes"] = static_cast<double>(kept);
}
BENCHMARK(BM_HistoryOf100NoteEntries)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace corvendi
