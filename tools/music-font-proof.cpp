// Proof sheet of the music font: every character of the music-font map drawn on a staff at two
// staff heights, each placed the way the page drawing places it, labelled with its character,
// code and meaning. Writes a PNG.
//
//   corvendi_music_font_proof [output.png] [twips per pixel]
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Arith.h"
#include "common/Cp1252.h"

using namespace corvendi;

namespace {

constexpr int32_t kColumns = 7;
constexpr double kCellWidth = 2160.0;  // twips
constexpr double kCellHeight = 2520.0;
constexpr double kMargin = 360.0;
constexpr double kTitleHeight = 480.0;
constexpr int32_t kLineColor = 0x999999;
constexpr int32_t kGuideColor = 0x3030E0;  // red guides: the x the character is drawn at
constexpr int32_t kInkColor = 0x000000;

struct Staff {
    double Left;
    double Right;
    double Top;                                                 // top line
    double Space;                                               // S, twips
    double Height;                                              // staff height, twips
    double Glyph() const { return Top - NInt(0.39 * Height); }  // G
    double Bottom() const { return Top + 4 * Space; }
};

void MusicFont(CairoImageSurface& s, double points) {
    s.SetFont(FontSpec{"Quavrix", static_cast<float>(points)});
}

void DrawStaffLines(CairoImageSurface& s, const Staff& st) {
    for (int i = 0; i < 5; ++i)
        s.Line(st.Left, st.Top + i * st.Space, st.Right, st.Top + i * st.Space, kLineColor,
               LineFill::None);
}

void Glyph(CairoImageSurface& s, double x, double y, const std::string& text) {
    s.SetForeColor(kInkColor);
    s.DrawTextAt(x, y, text);
}

// A head with its stem, each drawn at the same cell as the drawing code does.
void Note(CairoImageSurface& s, double x, double y, bool up) {
    Glyph(s, x, y, MusicChar(207));
    Glyph(s, x, y, MusicChar(up ? 92 : 124));
}

bool Is(const std::string& text, uint8_t code) { return text == MusicChar(code); }
bool IsAnyOf(const std::string& text, std::initializer_list<uint8_t> codes) {
    for (uint8_t c : codes) {
        if (Is(text, c)) return true;
    }
    return false;
}

// Draws one character the way the page drawing uses it, at x on the staff.
void Demo(CairoImageSurface& s, const std::string& text, double x, const Staff& st, double points) {
    const double S = st.Space;
    const double G = st.Glyph();
    const std::string head = MusicChar(207);
    // A mark in red where the character's x is.
    if (!IsAnyOf(text, {68, 100}))
        s.Line(x, st.Top - 5 * S, x, st.Top - 4.6 * S, kGuideColor, LineFill::None);
    MusicFont(s, points);
    if (IsAnyOf(text, {98, 35, 110, 220}) || text == "bb") {
        // Accidental before a head on the middle line.
        double width = s.TextWidth(text);
        Glyph(s, x, G - 2 * S, text);
        Glyph(s, x + width + 15, G - 2 * S, head);
    } else if (IsAnyOf(text, {207, 250, 119, 192})) {
        Glyph(s, x, G - 1.5 * S, text);  // in the second space
        Glyph(s, x + 2 * S, G, text);    // on the bottom line
        // ledger line below the staff, as the drawing code draws it
        Glyph(s, x + 4 * S, G + S, text);
        s.Line(x + 4 * S - 60, st.Bottom() + S, x + 5 * S + 60, st.Bottom() + S, kInkColor,
               LineFill::None);
    } else if (text == " .") {
        Glyph(s, x, G - 1.5 * S, head + text);
        Glyph(s, x + 3 * S, G - 2 * S, MusicChar(250) + text);
    } else if (IsAnyOf(text, {46, 45, 62})) {
        // Stem-up head in the second space with the mark S (">" 2 S) below it; "." shifted
        // right by S \ 2.
        double h = 1.5 * S;
        double below = Is(text, 62) ? 2 * S : S;
        double shift = Is(text, 46) ? IDiv(NInt(S), 2) : 0;
        Note(s, x, G - h, true);
        Glyph(s, x + shift, G - h + below, text);
        // stem down head on the top line with the mark S above
        Note(s, x + 3 * S, G - 4 * S, false);
        Glyph(s, x + 3 * S + shift, G - 5 * S, text);
    } else if (IsAnyOf(text, {179, 118, 96, 77, 109, 84, 85})) {
        // Above-staff ornaments on the top line over a head in the third space.
        double shift = IsAnyOf(text, {77, 109, 84, 85}) ? IDiv(NInt(S), 2) : 0;
        Note(s, x, G - 2.5 * S, false);
        Glyph(s, x - shift, G - 4 * S, text);
    } else if (Is(text, 117)) {
        // Fermata below a stem-up head on the bottom line, one space below the staff.
        Note(s, x, G, true);
        Glyph(s, x - IDiv(NInt(S), 2), G + S, text);
    } else if (IsAnyOf(text, {92, 124})) {
        Glyph(s, x, G - 1 * S, head);
        Glyph(s, x, G - 1 * S, text);
        // a chord column: heads a fifth apart joined by the stroke every 3 S
        Glyph(s, x + 3 * S, G - 3 * S, head);
        Glyph(s, x + 3 * S, G + 0.5 * S, head);
        // Each stroke reaches 3.5 S from the head it is drawn at, so strokes every 3 S from
        // the far head join the column and the last one gives the stem its length.
        double top = G - 3 * S, bottom = G + 0.5 * S;
        if (Is(text, 92)) {
            for (double y = bottom; y > top; y -= 3 * S) Glyph(s, x + 3 * S, y, text);
            Glyph(s, x + 3 * S, top, text);
        } else {
            for (double y = top; y < bottom; y += 3 * S) Glyph(s, x + 3 * S, y, text);
            Glyph(s, x + 3 * S, bottom, text);
        }
    } else if (IsAnyOf(text, {106, 107, 114})) {
        Note(s, x, G - 0.5 * S, true);
        Glyph(s, x, G - 0.5 * S, text);
    } else if (IsAnyOf(text, {74, 75, 82})) {
        Note(s, x, G - 4 * S, false);
        Glyph(s, x, G - 4 * S, text);
    } else if (text.size() <= 2 && text[0] >= '1' && text[0] <= '9') {
        Glyph(s, x, G - 3 * S, text);
        Glyph(s, x, G - S, MusicChar(52));
    } else if (Is(text, 212)) {
        Glyph(s, x, G - S, text);
    } else if (IsAnyOf(text, {195, 215})) {
        // Octave label at 14 points, centred on the dotted line 2.2 S above the staff.
        double lineY = st.Top - NInt(2.2 * S);
        MusicFont(s, 14.0);
        double ascent = s.TextAscent();
        double width = s.TextWidth(text);
        Glyph(s, x, lineY - ascent, text);
        s.SetDrawStyle(kDrawStyleDot);
        s.Line(x + width + 60, lineY, st.Right, lineY, kInkColor, LineFill::None);
        s.SetDrawStyle(kDrawStyleSolid);
    } else if (IsAnyOf(text, {115, 101, 113, 104})) {
        // The heading "(q = 96)" with the note at 1.5 times the text size (10 points with the
        // larger staff, 6.25 with the smaller), raised by 0.3 of its text height.
        const auto textSize = static_cast<float>(points / 2.88);
        double y0 = st.Top - 2 * S;
        s.SetFont(FontSpec{"Arial", textSize});
        std::string before = "(";
        s.SetForeColor(kInkColor);
        s.DrawTextAt(x, y0, before);
        double nx = x + s.TextWidth(before);
        MusicFont(s, 1.5 * textSize);
        double raise = 0.3 * s.TextHeight(text);
        Glyph(s, nx, y0 - raise, text);
        nx += s.TextWidth(text);
        s.SetFont(FontSpec{"Arial", textSize});
        s.DrawTextAt(nx, y0, " = 96)");
    } else if (IsAnyOf(text, {194, 76})) {
        // A bracket over this staff: tips at the top and bottom, bar in between.
        double bx = x;
        double rise = S + IDiv(NInt(S), 2);
        Glyph(s, bx, st.Top - rise, MusicChar(194));
        Glyph(s, bx, st.Top - rise, MusicChar(76));
        s.Line(bx, st.Top, bx + NInt(0.45 * S), st.Top - rise + 5.5 * S, kInkColor,
               LineFill::FilledBox);
    } else if (IsAnyOf(text, {167, 234})) {
        // A grand staff pair at this size with the brace before it.
        Staff lower = st;
        lower.Top = st.Bottom() + 4 * S;
        DrawStaffLines(s, lower);
        double braceTop = st.Top;
        double half = (lower.Bottom() - braceTop) / 2;
        MusicFont(s, half / 40.0);
        double w = s.TextWidth(MusicChar(167));
        double bx = st.Left + 0.4 * S + w;
        Glyph(s, bx - w, braceTop - NInt(half * 0.17), MusicChar(167));
        Glyph(s, bx - w, braceTop - NInt(half * 0.17) + half, MusicChar(234));
        MusicFont(s, points);
        s.Line(bx, st.Top, bx, lower.Bottom(), kInkColor, LineFill::None);
        Glyph(s, bx + S, G, MusicChar(38));
        Glyph(s, bx + S, lower.Glyph(), MusicChar(63));
    } else if (IsAnyOf(text, {184, 185, 112, 80, 70, 102, 196, 236})) {
        Glyph(s, x, G + 3.5 * S, text);
    } else if (IsAnyOf(text, {68, 100})) {
        // Drawn 2 S before the measure's end: here the barline near the staff's right end.
        const double barline = st.Right - S;
        s.Line(barline, st.Top, barline, st.Bottom(), kInkColor, LineFill::None);
        s.Line(barline - 2 * S, st.Top - 5 * S, barline - 2 * S, st.Top - 4.6 * S, kGuideColor,
               LineFill::None);
        Glyph(s, barline - 2 * S, G, text);
    } else if (IsAnyOf(text, {211, 91}) || text == MusicChar(123) + MusicChar(211)) {
        // Right-aligned at a measure's end.
        double w = s.TextWidth(text);
        Glyph(s, x + 3 * S - w, G, text);
    } else if (Is(text, 43)) {
        Glyph(s, x, G - 5 * S, text);
    } else {
        Glyph(s, x, G, text);
    }
}

std::string Describe(const MusicFontCharacter& c) {
    std::string shown;
    std::string codes;
    for (char32_t ch : Utf8ToCodePoints(c.Text)) {
        int code = UnicodeToCp1252(ch);
        if (!codes.empty()) codes += " ";
        codes += std::to_string(code);
        if (ch == U' ')
            shown += "sp ";
        else
            AppendUtf8(shown, ch);
    }
    return shown + "  (" + codes + ")  " + c.Label;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = argc > 1 ? argv[1] : "music-font.png";
    int32_t tpp = argc > 2 ? std::atoi(argv[2]) : 10;
    if (tpp < 1 || tpp > 15) tpp = 10;

    std::vector<MusicFontCharacter> characters = MusicFontCharacters();
    const int32_t rows = static_cast<int32_t>((characters.size() + kColumns - 1) / kColumns);
    const double width = 2 * kMargin + kColumns * kCellWidth;
    const double height = 2 * kMargin + kTitleHeight + rows * kCellHeight;
    CairoImageSurface s(width, height, tpp);
    s.SetBackColor(0xFFFFFF);
    s.Cls();

    s.SetFont(FontSpec{"Arial", 14.0f, true});
    s.SetForeColor(kInkColor);
    s.DrawTextAt(kMargin, kMargin,
                 "Music font \"Quavrix\": every character at staff heights 0.4 in (28.8 pt) and "
                 "0.25 in (18 pt)");
    // (braces at 0.25 in and 0.15 in, with their grand staff)
    s.SetFont(FontSpec{"Arial", 9.0f});
    s.DrawTextAt(kMargin, kMargin + 300,
                 "Each drawn where the page drawing puts it; the red tick marks the x it is drawn "
                 "at. Grey: staff lines.");

    for (size_t i = 0; i < characters.size(); ++i) {
        const double cellX = kMargin + static_cast<double>(i % kColumns) * kCellWidth;
        const double cellY =
            kMargin + kTitleHeight + static_cast<double>(i / kColumns) * kCellHeight;
        s.Line(cellX, cellY, cellX + kCellWidth - 60, cellY, 0xDDDDDD, LineFill::None);
        s.SetFont(FontSpec{"Arial", 8.0f});
        s.SetForeColor(kInkColor);
        s.DrawTextAt(cellX + 30, cellY + 30, Describe(characters[i]));

        // Braces go with a grand staff, drawn at smaller sizes to fit the cell.
        const bool brace = IsAnyOf(characters[i].Text, {167, 234});
        const double big = brace ? 360.0 : 576.0;    // 0.4 in (0.25 for braces)
        const double small = brace ? 216.0 : 360.0;  // 0.25 in (0.15 for braces)
        const double top = cellY + (brace ? 600 : 1050);
        Staff large{cellX + 60, cellX + 1260, top, big / 4, big};
        Staff little{cellX + 1380, cellX + kCellWidth - 120, top + (big - small), small / 4, small};
        DrawStaffLines(s, large);
        DrawStaffLines(s, little);
        Demo(s, characters[i].Text, large.Left + 240, large, big / 20.0);
        Demo(s, characters[i].Text, little.Left + 150, little, small / 20.0);
    }

    for (const std::string& problem : MusicFontDiagnostics())
        std::fprintf(stderr, "music font: %s\n", problem.c_str());
    if (!s.WritePng(out)) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %zu characters\n", out.c_str(), characters.size());
    return 0;
}
