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

}  // namespace
}  // namespace corvendi::test
