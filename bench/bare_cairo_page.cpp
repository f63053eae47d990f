// A bare cairo program writing one PDF page: what a whole process costs on this machine when
// it does nothing but start, open fonts with FreeType and let cairo write a page of glyphs and
// lines. bench_render runs it beside `corvendi render` of a one-page score, with the same
// fonts and the same numbers of glyphs and lines.
//
//   bare_cairo_page OUT.pdf LINES FONT:GLYPHS...
//
// Each font file draws its number of glyphs (cycling through a few dozen of its glyphs, so
// each embeds one small subset) in one cairo_show_glyphs call; the lines are one stroked
// path. Only C interfaces are used, so the program loads what cairo
// needs and nothing more.
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxFonts = 16;
constexpr int kDistinctGlyphs = 40;

struct PageFont {
    FT_Face Face = nullptr;
    cairo_font_face_t* CairoFace = nullptr;
    long Glyphs = 0;
};

// The glyphs a face draws: a text face its letters (one WinAnsi subset, as text makes), a
// music face glyphs no Latin character maps to (one CID subset, as music symbols make).
long ChooseGlyphs(FT_Face face, unsigned long* out) {
    long count = 0;
    if (FT_Get_Char_Index(face, 'A') != 0) {
        for (unsigned long ch = 'A'; count < kDistinctGlyphs && ch <= 'z'; ++ch) {
            if (const FT_UInt index = FT_Get_Char_Index(face, ch)) out[count++] = index;
        }
        return count;
    }
    bool* latin = static_cast<bool*>(std::calloc(static_cast<size_t>(face->num_glyphs), 1));
    FT_UInt index = 0;
    for (FT_ULong ch = FT_Get_First_Char(face, &index); index != 0 && ch < 0x100;
         ch = FT_Get_Next_Char(face, ch, &index)) {
        if (index < static_cast<FT_UInt>(face->num_glyphs)) latin[index] = true;
    }
    for (long i = 1; count < kDistinctGlyphs && i < face->num_glyphs; ++i) {
        if (!latin[i]) out[count++] = static_cast<unsigned long>(i);
    }
    std::free(latin);
    return count;
}

void DrawGlyphs(cairo_t* cr, const PageFont& font, double top) {
    unsigned long indices[kDistinctGlyphs];
    const long distinct = ChooseGlyphs(font.Face, indices);
    if (distinct == 0) return;
    cairo_set_font_face(cr, font.CairoFace);
    cairo_set_font_size(cr, 18.0);
    const long glyphs = font.Glyphs;
    auto* run = static_cast<cairo_glyph_t*>(std::malloc(sizeof(cairo_glyph_t) * (glyphs + 1)));
    for (long i = 0; i < glyphs; ++i) {
        run[i].index = indices[i % distinct];
        run[i].x = 60.0 + static_cast<double>(i % 64) * 7.9;
        run[i].y = top + static_cast<double>(i / 64) * 50.0 + static_cast<double>((i * 5) % 11);
    }
    cairo_show_glyphs(cr, run, static_cast<int>(glyphs));
    std::free(run);
}

void DrawLines(cairo_t* cr, long lines) {
    for (long i = 0; i < lines; ++i) {
        const double top = 60.0 + static_cast<double>((i / 40) % 14) * 50.0;
        if (i % 8 == 0) {  // a staff line
            const double y = top + static_cast<double>(i % 5) * 4.5;
            cairo_move_to(cr, 40.0, y);
            cairo_line_to(cr, 570.0, y);
        } else {  // a stem
            const double x = 66.3 + static_cast<double>(i % 64) * 7.9;
            const double y = top + static_cast<double>((i * 5) % 11) * 2.25;
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x, y - 15.75);
        }
    }
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bare_cairo_page OUT.pdf LINES FONT:GLYPHS...\n");
        return 1;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return 1;
    PageFont fonts[kMaxFonts];
    int count = 0;
    for (int i = 3; i < argc && count < kMaxFonts; ++i) {
        char* colon = std::strrchr(argv[i], ':');
        if (!colon) return 1;
        *colon = '\0';
        PageFont& font = fonts[count];
        if (FT_New_Face(library, argv[i], 0, &font.Face) != 0) return 1;
        font.CairoFace = cairo_ft_font_face_create_for_ft_face(font.Face, 0);
        font.Glyphs = std::strtol(colon + 1, nullptr, 10);
        ++count;
    }
    cairo_surface_t* surface = cairo_pdf_surface_create(argv[1], 612, 792);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int i = 0; i < count; ++i) DrawGlyphs(cr, fonts[i], 60.0 + i * 4.0);
    DrawLines(cr, std::strtol(argv[2], nullptr, 10));
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    // The FreeType faces stay open until the process ends, as cairo's font cache may still
    // refer to them.
    for (int i = 0; i < count; ++i) cairo_font_face_destroy(fonts[i].CairoFace);
    return written ? 0 : 1;
}
