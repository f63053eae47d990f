// The engine's share of the studio's page view on the editing benchmarks' long score at 16
// staffs (256,000 notes, one system of 13 or 14 measures a page, 72 pages): a click adding a chord
// tone with the repaint of its 16-staff system, a whole page painted, and a zoom (a new resolution
// and a window of its size), each at 100 % (15 twips per pixel) and at 500 % (3 twips per pixel).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "EditingScoreBench.h"
#include "corvendi/Enums.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 1000;

// Built once: laying out every page takes a while.
bench::EditingScoreBench& Big() {
    static bench::EditingScoreBench built(kStaffs, kMeasures, 1);
    return built;
}

// The big score on a window of `twips` twips per pixel, page `page` shown.
bench::EditingScoreBench& BigAt(int32_t twips, int32_t page) {
    bench::EditingScoreBench& b = Big();
    if (static_cast<int32_t>(b.surface->PixelWidth()) !=
        static_cast<int32_t>(b.score->SheetWidthTw() / twips)) {
        b.surface = std::make_shared<CairoImageSurface>(b.score->SheetWidthTw(),
                                                        b.score->SheetHeightTw(), twips);
        b.score->SetRedraw(false);
        b.score->SetTwipsPerPixel(twips, twips);
        b.score->SetWindow(b.surface);
        b.score->SetRedraw(true);
        bench::Paginate(*b.score);
    }
    b.score->SetCurPage(page);
    return b;
}

// A chord tone added to the first staff's second eighth, then the system repainted.
void BM_ClickAddsChordTone(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(static_cast<int32_t>(state.range(0)), 1);
    const int32_t x = b.EighthX(1);
    const int32_t y = b.StepY(4);
    for (auto _ : state) b.score->AddNoteByHit(x, y, durEighth, 0, durEighth);
    state.counters["pages"] = b.score->LastPage();
}
BENCHMARK(BM_ClickAddsChordTone)->Arg(15)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_RepaintSystem16Staffs(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(static_cast<int32_t>(state.range(0)), 1);
    for (auto _ : state) detail::ScoreAccess::RepaintSystem(*b.score, 1);
}
BENCHMARK(BM_RepaintSystem16Staffs)->Arg(15)->Arg(3)->Unit(benchmark::kMillisecond);

// A page in the middle painted whole.
void BM_PaintPage(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(static_cast<int32_t>(state.range(0)), 36);
    for (auto _ : state) b.score->PaintWindow();
}
BENCHMARK(BM_PaintPage)->Arg(15)->Arg(3)->Unit(benchmark::kMillisecond);

// One page laid out without drawing: the background pagination's step.
void BM_PaginateOnePage(benchmark::State& state) {
    bench::EditingScoreBench& b = BigAt(15, 1);
    for (auto _ : state) {
        state.PauseTiming();
        detail::ScoreAccess::StartPagination(*b.score, true);
        state.ResumeTiming();
        detail::ScoreAccess::PaginateStep(*b.score);
    }
    bench::Paginate(*b.score);
}
BENCHMARK(BM_PaginateOnePage)->Unit(benchmark::kMillisecond);

// Zooming as the studio does: a window of the new resolution, the page shown painted on it
// (the zoom in and out again, from page `range(1)`).
void BM_ZoomInAndOut(benchmark::State& state) {
    const auto page = static_cast<int32_t>(state.range(0));
    bench::EditingScoreBench& b = BigAt(15, page);
    auto attach = [&b](int32_t twips) {
        auto surface = std::make_shared<CairoImageSurface>(b.score->SheetWidthTw(),
                                                           b.score->SheetHeightTw(), twips);
        b.score->SetRedraw(false);
        b.score->SetTwipsPerPixel(twips, twips);
        b.score->SetWindow(surface);
        b.score->SetRedraw(true);
        return surface;
    };
    for (auto _ : state) {
        attach(3);
        b.surface = attach(15);
    }
    bench::Paginate(*b.score);
}
BENCHMARK(BM_ZoomInAndOut)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvendi
