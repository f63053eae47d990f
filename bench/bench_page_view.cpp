// The engine's share of the studio's page view on the editing benchmarks' long score at 16
// staffs (256,000 notes, one system of 13 or 14 measures a page, 72 pages): a click adding a
// chord tone with the repaint of its 16-staff system, a whole page painted, and a zoom, each at
// 100 % (15 twips per pixel) and at 500 % (3 twips per pixel). The window is made as the studio
// makes it: only the area of a 1,100 x 700 pixel view and half a view around it is painted (the
// `clip` argument; 0 paints the whole page image).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "EditingScoreBench.h"
#include "corvendi/Enums.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 1000;
constexpr int32_t kViewWidth = 1100;
constexpr int32_t kViewHeight = 700;

// Built once: laying out every page takes a while.
bench::EditingScoreBench& Big() {
    static bench::EditingScoreBench built(kStaffs, kMeasures, 1);
    return built;
}

// A window of `twips` twips per pixel for the score, made and attached as the studio does: the
// new resolution set without a window, then one layout and paint on the new window.
std::shared_ptr<CairoImageSurface> AttachWindow(Score& score, int32_t twips, bool clip) {
    auto window = std::make_shared<CairoImageSurface>(1.0, 1.0, twips);
    if (clip) window->ClipTo(0, 0, 2 * kViewWidth, 2 * kViewHeight);
    window->SetWidth(score.SheetWidthTw());
    window->SetHeight(score.SheetHeightTw());
    score.SetWindow(nullptr);
    score.SetTwipsPerPixel(twips, twips);
    score.SetWindow(window);
    return window;
}

// The big score on such a window, page `page` shown, every page laid out.
bench::EditingScoreBench& BigAt(int32_t twips, bool clip, int32_t page) {
    bench::EditingScoreBench& b = Big();
    b.surface = AttachWindow(*b.score, twips, clip);
    bench::Paginate(*b.score);
    b.score->SetCurPage(page);
    return b;
}

// 100 % with the studio's clipped image, and 500 % with a whole-page image and a clipped one.
void AtBothZooms(benchmark::internal::Benchmark* b) {
    b->Args({15, 1})->Args({3, 0})->Args({3, 1})->Unit(benchmark::kMillisecond);
}

int32_t Twips(const benchmark::State& state) { return static_cast<int32_t>(state.range(0)); }
bool Clip(const benchmark::State& state) { return state.range(1) != 0; }

// A chord tone added to one of the first staff's lone eighths (the second, fourth, sixth and
// eighth of its first measure in turn), the system repainted and the drawing rasterised, as the
// studio shows it. Between clicks, untimed, the tone is taken off the note again without a
// repaint, so every click enters a new note.
void BM_ClickAddsChordTone(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(Twips(state), Clip(state), 1);
    const int32_t y = b.StepY(4);
    const auto notes = b.score->Staff(1)->Voice(1)->Notes();
    int32_t click = 0;
    for (auto _ : state) {
        const int32_t eighth = 1 + 2 * (click++ % 4);
        const int32_t x = b.EighthX(eighth);
        b.score->AddNoteByHit(x, y, durEighth, 0, durEighth);
        b.surface->Flush();
        state.PauseTiming();
        if (const auto note = notes->Item(eighth * durEighth))
            note->RemoveValue(static_cast<uint8_t>(b.score->GetNoteValueByHit(x, y)));
        state.ResumeTiming();
    }
    state.counters["pages"] = b.score->LastPage();
}
BENCHMARK(BM_ClickAddsChordTone)->Apply(AtBothZooms);

void BM_RepaintSystem16Staffs(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(Twips(state), Clip(state), 1);
    for (auto _ : state) detail::ScoreAccess::RepaintSystem(*b.score, 1);
}
BENCHMARK(BM_RepaintSystem16Staffs)->Apply(AtBothZooms);

// A page in the middle painted whole.
void BM_PaintPage(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(Twips(state), Clip(state), 36);
    for (auto _ : state) b.score->PaintWindow();
}
BENCHMARK(BM_PaintPage)->Apply(AtBothZooms);

// One page laid out without drawing: the background pagination's step.
void BM_PaginateOnePage(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(15, true, 1);
    for (auto _ : state) {
        state.PauseTiming();
        detail::ScoreAccess::StartPagination(*b.score, true);
        state.ResumeTiming();
        detail::ScoreAccess::PaginateStep(*b.score);
    }
    bench::Paginate(*b.score);
}
BENCHMARK(BM_PaginateOnePage)->Unit(benchmark::kMillisecond);

// A zoom to 500 % and back to 100 % on page `range(0)`: each a new window, the layout of the
// pages up to the one shown at the new resolution and the paint of that page.
void BM_ZoomInAndOut(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(15, true, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        AttachWindow(*b.score, 3, true);
        b.surface = AttachWindow(*b.score, 15, true);
    }
    bench::Paginate(*b.score);
}
BENCHMARK(BM_ZoomInAndOut)->Arg(1)->Arg(36)->Unit(benchmark::kMillisecond);

// The studio's sharp frame after a zoom from 100 % to `range(0)` twips per pixel on page 1: a
// new image holding only the view's pixels from the page's top (in the previous image's
// memory), the page laid out and painted at the new resolution, and the drawing rasterised as
// the view's draw handler does. The way back to 100 % is not timed. With `range(1)` the music
// font's map is found in the application folder, as the studio finds it, instead of being set.
void BM_ZoomSharpFrame(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(15, true, 1);
    if (state.range(1) != 0) SetMusicFontMapFile({});
    Score& score = *b.score;
    std::shared_ptr<CairoImageSurface> previous = b.surface;
    auto zoomTo = [&](int32_t twips) {
        auto image = std::make_shared<CairoImageSurface>(1.0, 1.0, twips);
        image->ShareMemoryOf(*previous);
        const int32_t pageWidth = score.SheetWidthTw() / twips;
        image->CoverOnly(std::max(0, (pageWidth - kViewWidth) / 2), 0, kViewWidth, kViewHeight);
        image->SetWidth(score.SheetWidthTw());
        image->SetHeight(score.SheetHeightTw());
        score.SetWindow(nullptr);
        score.SetTwipsPerPixel(twips, twips);
        score.SetWindow(image);
        image->Flush();
        previous = image;
    };
    for (auto _ : state) {
        zoomTo(Twips(state));
        state.PauseTiming();
        zoomTo(15);
        state.ResumeTiming();
    }
    b.surface = previous;
    bench::Paginate(score);
    SetMusicFontMapFile(std::string(CORVENDI_BENCH_DATA_DIR) + "/Common/Config/MusicFont.txt");
}
BENCHMARK(BM_ZoomSharpFrame)
    ->Args({12, 0})
    ->Args({10, 0})
    ->Args({3, 0})
    ->Args({12, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvendi
