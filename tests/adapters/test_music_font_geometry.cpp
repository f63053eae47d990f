// Placement of the music font's characters, measured on the ink of single characters drawn on
// an image surface the way the page drawing draws them: the cell at (x, G - h).
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <string>
#include <vector>

#include "CairoTestSupport.h"
#include "common/Cp1252.h"

namespace corvendi::test {
namespace {

std::string Char(uint8_t code) { return MusicChar(code); }

// A 0.5-inch staff at 3 twips per pixel: one pixel is 1/60 of a staff space.
constexpr double kStaff = 720.0;
constexpr int32_t kTpp = 3;

class MusicFontGeometry : public MusicFontTest {};

TEST_F(MusicFontGeometry, HeadsAreCentredOnTheirLineWithTheBlackHeadOneSpaceWideFromX) {
    StaffCanvas canvas(kStaff, kTpp);
    const double px = canvas.PixelInSpaces();
    Ink ink = canvas.Draw(Char(207));
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR(canvas.MiddleOf(ink), 0.0, px);
    EXPECT_NEAR(canvas.LeftOf(ink), 0.0, px);
    EXPECT_NEAR(canvas.RightOf(ink), 1.0, px);
    // A head between the lines fills its space.
    EXPECT_GT(canvas.TopOf(ink) - canvas.BottomOf(ink), 0.9);
    EXPECT_LT(canvas.TopOf(ink) - canvas.BottomOf(ink), 1.05);
    // The half head shares its column; the whole note is centred on it and stays inside the
    // ledger line, which is drawn 60 twips either side of the column.
    StaffCanvas half(kStaff, kTpp);
    Ink h = half.Draw(Char(250));
    EXPECT_NEAR(half.MiddleOf(h), 0.0, px);
    EXPECT_NEAR(half.LeftOf(h), 0.0, px);
    StaffCanvas whole(kStaff, kTpp);
    Ink w = whole.Draw(Char(119));
    EXPECT_NEAR(whole.MiddleOf(w), 0.0, px);
    EXPECT_NEAR((whole.LeftOf(w) + whole.RightOf(w)) / 2.0, 0.5, px);
    EXPECT_GT(whole.LeftOf(w), -60.0 / whole.Space());
    EXPECT_LT(whole.RightOf(w), 1.0 + 60.0 / whole.Space());
}

TEST_F(MusicFontGeometry, EachHalfSpaceUpIsOneStepAtScreenResolution) {
    // The default staff (0.4 in) at 96 dpi: within a pixel of each line and space.
    for (int32_t step = -2; step <= 10; ++step) {
        StaffCanvas canvas(576.0, 15);
        Ink ink = canvas.Draw(Char(207), step / 2.0);
        ASSERT_FALSE(ink.Empty());
        EXPECT_NEAR(canvas.MiddleOf(ink), step / 2.0, canvas.PixelInSpaces()) << "step " << step;
        EXPECT_NEAR(canvas.LeftOf(ink), 0.0, canvas.PixelInSpaces()) << "step " << step;
    }
}

TEST_F(MusicFontGeometry, StemsRunThreeAndAHalfSpacesFromTheHeadAtItsEdges) {
    StaffCanvas up(kStaff, kTpp);
    Ink u = up.Draw(Char(92));
    const double px = up.PixelInSpaces();
    EXPECT_NEAR(up.RightOf(u), 1.0, px);
    EXPECT_NEAR(up.BottomOf(u), 0.0, px);
    EXPECT_NEAR(up.TopOf(u), 3.5, px);
    StaffCanvas down(kStaff, kTpp);
    Ink d = down.Draw(Char(124));
    EXPECT_NEAR(down.LeftOf(d), 0.0, px);
    EXPECT_NEAR(down.TopOf(d), 0.0, px);
    EXPECT_NEAR(down.BottomOf(d), -3.5, px);
}

TEST_F(MusicFontGeometry, ClefsDrawnAtTheGlyphReferenceSitOnTheirLines) {
    // The treble clef reaches from about 1.5 spaces below the bottom line to 5.8 above it.
    StaffCanvas treble(kStaff, kTpp);
    Ink g = treble.Draw(Char(38));
    EXPECT_NEAR(treble.BottomOf(g), -1.54, 0.04);
    EXPECT_NEAR(treble.TopOf(g), 5.78, 0.04);
    // The bass clef's dots straddle the fourth line; the C clef is centred on the middle line.
    StaffCanvas bass(kStaff, kTpp);
    Ink f = bass.Draw(Char(63));
    EXPECT_GT(bass.TopOf(f), 3.9);
    EXPECT_LT(bass.TopOf(f), 4.3);
    EXPECT_LT(bass.BottomOf(f), 1.0);
    StaffCanvas alto(kStaff, kTpp);
    Ink c = alto.Draw(Char(66));
    EXPECT_NEAR(alto.MiddleOf(c), 2.0, alto.PixelInSpaces());
}

TEST_F(MusicFontGeometry, WholeRestHangsFromTheFourthLineAndHalfRestSitsOnTheMiddleLine) {
    StaffCanvas whole(kStaff, kTpp);
    Ink w = whole.Draw(Char(183));
    EXPECT_NEAR(whole.TopOf(w), 3.0, whole.PixelInSpaces());
    EXPECT_LT(whole.BottomOf(w), 2.6);
    StaffCanvas half(kStaff, kTpp);
    Ink h = half.Draw(Char(238));
    EXPECT_NEAR(half.BottomOf(h), 2.0, half.PixelInSpaces());
}

TEST_F(MusicFontGeometry, TimeSignatureDigitsAreCentredOnTheirHeight) {
    for (uint8_t code = '1'; code <= '9'; ++code) {
        for (double h : {1.0, 3.0}) {
            StaffCanvas canvas(kStaff, kTpp);
            Ink ink = canvas.Draw(Char(code), h);
            EXPECT_NEAR(canvas.MiddleOf(ink), h, 0.05) << "digit " << char(code) << " at " << h;
            // numerator and denominator fill their half of the staff
            EXPECT_NEAR(canvas.TopOf(ink) - canvas.BottomOf(ink), 2.0, 0.1);
        }
    }
    StaffCanvas common(kStaff, kTpp);
    EXPECT_NEAR(common.MiddleOf(common.Draw(Char('c'))), 2.0, 0.05);
}

TEST_F(MusicFontGeometry, SharpsAndFlatsAreCentredOnTheirLine) {
    for (double h : {0.0, 2.0, 3.5}) {
        StaffCanvas sharp(kStaff, kTpp);
        Ink s = sharp.Draw(Char('#'), h);
        EXPECT_NEAR(sharp.MiddleOf(s), h, sharp.PixelInSpaces()) << "sharp at " << h;
        StaffCanvas natural(kStaff, kTpp);
        Ink n = natural.Draw(Char('n'), h);
        EXPECT_NEAR(natural.MiddleOf(n), h, natural.PixelInSpaces()) << "natural at " << h;
        // A flat's bowl is centred on its line: the ink reaches 0.65 below and 1.86 above.
        StaffCanvas flat(kStaff, kTpp);
        Ink f = flat.Draw(Char('b'), h);
        EXPECT_NEAR(flat.BottomOf(f), h - 0.65, 0.05) << "flat at " << h;
        EXPECT_NEAR(flat.TopOf(f), h + 1.86, 0.05) << "flat at " << h;
    }
}

TEST_F(MusicFontGeometry, AccidentalWidthIsItsInkSoTheGapBeforeTheHeadHolds) {
    for (const std::string& sign :
         {Char('b'), Char('b') + Char('b'), Char('#'), Char('n'), Char(220)}) {
        StaffCanvas canvas(kStaff, kTpp);
        const double width = canvas.Surface().TextWidth(sign) / canvas.Space();
        Ink ink = canvas.Draw(sign);
        EXPECT_NEAR(canvas.LeftOf(ink), 0.0, canvas.PixelInSpaces());
        EXPECT_NEAR(canvas.RightOf(ink), width, canvas.PixelInSpaces());
    }
}

TEST_F(MusicFontGeometry, AugmentationDotFollowsTheHeadOnItsHeight) {
    StaffCanvas canvas(kStaff, kTpp);
    Ink ink = canvas.Draw(Char(207) + Char(' ') + Char('.'), 1.5);
    EXPECT_NEAR(canvas.MiddleOf(ink), 1.5, canvas.PixelInSpaces());
    StaffCanvas dot(kStaff, kTpp);
    const double headWidth = dot.Surface().TextWidth(Char(207)) / dot.Space();
    dot.Surface().DrawTextAt(dot.X() + headWidth * dot.Space(), dot.G(), " .");
    Ink d = MeasureInk(dot.Surface());
    EXPECT_GT(dot.LeftOf(d), 1.2);
    EXPECT_LT(dot.RightOf(d), 2.2);
    EXPECT_NEAR(dot.MiddleOf(d), 0.0, dot.PixelInSpaces());
}

TEST_F(MusicFontGeometry, BraceHalvesJoinIntoOneBraceOverTheWholeHeight) {
    // A grand staff: brace top at the upper staff's top line, bottom at the lower's bottom line.
    StaffCanvas canvas(kStaff / 2, kTpp);
    CairoImageSurface& surface = canvas.Surface();
    const double top = canvas.Space() * 4;
    const double bottom = top + 12 * canvas.Space();
    const double half = (bottom - top) / 2;
    surface.SetFont(FontSpec{"Quavrix", static_cast<float>(half / 40.0)});
    const double width = surface.TextWidth(Char(167));
    const double x = canvas.X();
    surface.DrawTextAt(x - width, top - NInt(half * 0.17), Char(167));
    surface.DrawTextAt(x - width, top - NInt(half * 0.17) + half, Char(234));
    Ink ink = MeasureInk(surface);
    const double px = kTpp;
    EXPECT_NEAR(ink.Top * px, top, 2 * px);
    EXPECT_NEAR((ink.Bottom + 1) * px, bottom, 2 * px);
    EXPECT_LT((ink.Right + 1) * px, x);
    EXPECT_GT((ink.Right + 1) * px, x - canvas.Space());
    // no gap where the halves meet
    const std::vector<int32_t> pixels = surface.Pixels();
    const int32_t middleRow = NInt((top + half) / px);
    bool inked = false;
    for (int32_t col = ink.Left; col <= ink.Right; ++col) {
        inked =
            inked ||
            IsInk(
                pixels[static_cast<size_t>(middleRow) * static_cast<size_t>(surface.PixelWidth()) +
                       static_cast<size_t>(col)]);
    }
    EXPECT_TRUE(inked);
}

TEST_F(MusicFontGeometry, CellIsTwoEmHighWithTheBaselineAt139Em) {
    StaffCanvas canvas(kStaff, kTpp);
    EXPECT_DOUBLE_EQ(canvas.Surface().TextHeight(Char(207)), 2 * kStaff);
    EXPECT_DOUBLE_EQ(canvas.Surface().TextAscent(), 1.39 * kStaff);
}

// Every character the drawing code uses, as it uses them.
std::vector<std::string> CharactersInUse() {
    std::vector<std::string> list;
    for (uint8_t code :
         {38,  63,  66,  214, 98,  35, 110, 220, 99,  67,  119, 250, 207, 192, 46,  45,  62,
          179, 118, 77,  109, 96,  84, 117, 85,  92,  124, 183, 238, 206, 228, 197, 168, 210,
          211, 91,  212, 222, 37,  68, 100, 195, 215, 43,  51,  115, 101, 113, 104, 194, 76,
          167, 234, 114, 107, 106, 82, 75,  74,  184, 185, 112, 80,  70,  102, 196, 236}) {
        list.push_back(MusicChar(code));
    }
    for (uint8_t code = '1'; code <= '9'; ++code) list.push_back(MusicChar(code));
    list.push_back("bb");
    list.push_back(" .");
    list.push_back(MusicChar(210) + "{");
    list.push_back("{" + MusicChar(211));
    return list;
}

TEST_F(MusicFontGeometry, EveryCharacterInUseIsMappedAndHasInk) {
    std::vector<std::string> mapped;
    for (const MusicFontCharacter& c : MusicFontCharacters()) mapped.push_back(c.Text);
    for (const std::string& text : CharactersInUse()) {
        EXPECT_NE(std::find(mapped.begin(), mapped.end(), text), mapped.end())
            << "not in the map: " << text;
        StaffCanvas canvas(576.0, 15);
        Ink ink = canvas.Draw(text);
        EXPECT_GT(ink.Count, 3) << "no ink: " << text;
        EXPECT_GT(canvas.Surface().TextWidth(text), 0.0) << text;
    }
    EXPECT_TRUE(MusicFontDiagnostics().empty()) << MusicFontDiagnostics().front();
}

TEST_F(MusicFontGeometry, CharacterWithoutEntryIsDrawnWithATextFaceAndMultiCharacterKeysWin) {
    StaffCanvas canvas(kStaff, kTpp);
    // "x" has no entry: drawn from the fallback face, still with ink and width.
    Ink ink = canvas.Draw("x");
    EXPECT_FALSE(ink.Empty());
    // "bb" is the double flat, not two flats side by side.
    CairoImageSurface& s = canvas.Surface();
    EXPECT_LT(s.TextWidth("bb"), 2 * s.TextWidth("b"));
    EXPECT_DOUBLE_EQ(s.TextWidth("bbb"), s.TextWidth("bb") + s.TextWidth("b"));
}

}  // namespace
}  // namespace corvendi::test
