// Drawing through the cairo image surface: a dense page of music-font characters and lines, as
// a page of sixteenth notes draws them, and text measurement.
#include <benchmark/benchmark.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <string>

#include "common/Cp1252.h"

namespace corvendi {
namespace {

constexpr double kPageWidth = 12240.0;
constexpr double kPageHeight = 15840.0;

void UseRepositoryMap() {
    SetMusicFontMapFile(std::string(CORVENDI_BENCH_DATA_DIR) + "/Common/Config/MusicFont.txt");
}

// 16 staffs of 16 measures of 16 sixteenth notes: per note a head, a stem stroke and an
// accidental every fourth note, per group of four a two-level beam; staff lines and barlines.
void BM_DenseMusicPage(benchmark::State& state) {
    UseRepositoryMap();
    CairoImageSurface surface(kPageWidth, kPageHeight, 15);
    const std::string head = MusicChar(207), stemUp = MusicChar(92), sharp = "#";
    const double staffHeight = 360.0, space = staffHeight / 4;
    for (auto _ : state) {
        surface.Cls();
        surface.SetFont(FontSpec{"Quavrix", static_cast<float>(staffHeight / 20.0)});
        for (int staff = 0; staff < 16; ++staff) {
            const double top = 700.0 + staff * 900.0;
            const double glyph = top - 0.39 * staffHeight;
            for (int line = 0; line < 5; ++line)
                surface.Line(700, top + line * space, 11700, top + line * space, 0, LineFill::None);
            for (int measure = 0; measure < 16; ++measure) {
                const double left = 700.0 + measure * 687.5;
                surface.Line(left + 687.5, top, left + 687.5, top + staffHeight, 0, LineFill::None);
                for (int note = 0; note < 16; ++note) {
                    const double x = left + 60 + note * 39.0;
                    const double y = glyph - (note % 8) * space / 2;
                    surface.DrawTextAt(x, y, head);
                    surface.DrawTextAt(x, y, stemUp);
                    if (note % 4 == 0)
                        surface.DrawTextAt(x - surface.TextWidth(sharp) - 15, y, sharp);
                    if (note % 4 == 3) {
                        for (int level = 0; level < 2; ++level) {
                            surface.Line(x - 117 + space, top - space + level * 45, x + space,
                                         top - space + level * 45, 0, LineFill::FilledBox);
                        }
                    }
                }
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 16 * 16 * 16);
}
BENCHMARK(BM_DenseMusicPage)->Unit(benchmark::kMillisecond);

void BM_TextWidth(benchmark::State& state) {
    UseRepositoryMap();
    CairoImageSurface surface(1440, 1440, 15);
    surface.SetFont(FontSpec{"Arial", 10.0f});
    for (auto _ : state) benchmark::DoNotOptimize(surface.TextWidth("Allegro ma non troppo"));
}
BENCHMARK(BM_TextWidth);

}  // namespace
}  // namespace corvendi
