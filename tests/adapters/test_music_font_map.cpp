// The music-font map reader: what it reads, and that a broken map never takes drawing down.
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CairoTestSupport.h"
#include "FontFiles.h"
#include "MusicFontMap.h"

namespace corvendi::test {
namespace {

using namespace corvendi::musicfont;

TEST(MusicFontMap, ReadsFontsCharactersAndElements) {
    Map map = ParseMap(R"(
ascent 1.5   # a comment
height 2.25
font emm lilypond emmentaler-{size}.otf sizes=20,11,26
font label family "Liberation Serif" bold italic
char 210,123 "begin repeat" gap=0.5
    rect 0 0 0.5 4
    glyph emm dots.dot dots.dot at=1.46,1.5 align=left,middle scale=0.8,0.9 track=-0.1
char 68 advance=2
    text label "To Coda" size=0.42 at=-0.1,5.2 align=right,origin
    unicode label U+1D10B width=1.5
    poly 0 0 1 0 1 1
    brace emm top=4.2 height=16 clip=-3.8,4.2 design=2.5
)");
    EXPECT_TRUE(map.Diagnostics.empty()) << map.Diagnostics.front();
    EXPECT_DOUBLE_EQ(map.Ascent, 1.5);
    EXPECT_DOUBLE_EQ(map.Height, 2.25);
    ASSERT_EQ(map.Fonts.size(), 2u);
    EXPECT_EQ(map.Fonts[0].Sizes, (std::vector<int32_t>{11, 20, 26}));
    EXPECT_EQ(map.Fonts[1].Family, "Liberation Serif");
    EXPECT_TRUE(map.Fonts[1].Bold && map.Fonts[1].Italic);
    ASSERT_EQ(map.Entries.size(), 2u);
    const Entry& repeat = map.Entries[0];
    EXPECT_EQ(repeat.Key, (std::vector<uint8_t>{210, 123}));
    EXPECT_EQ(repeat.Label, "begin repeat");
    EXPECT_DOUBLE_EQ(repeat.Gap, 0.5);
    ASSERT_EQ(repeat.Elements.size(), 2u);
    EXPECT_EQ(repeat.Elements[0].Kind, ElementKind::Rect);
    const Element& dots = repeat.Elements[1];
    EXPECT_EQ(dots.Names, (std::vector<std::string>{"dots.dot", "dots.dot"}));
    EXPECT_EQ(dots.AnchorX, AlignX::Left);
    EXPECT_EQ(dots.AnchorY, AlignY::Middle);
    EXPECT_DOUBLE_EQ(dots.ScaleY, 0.9);
    EXPECT_DOUBLE_EQ(dots.Track, -0.1);
    const Entry& coda = map.Entries[1];
    ASSERT_TRUE(coda.Advance.has_value());
    EXPECT_DOUBLE_EQ(*coda.Advance, 2.0);
    ASSERT_EQ(coda.Elements.size(), 4u);
    EXPECT_EQ(coda.Elements[0].Chars, U"To Coda");
    EXPECT_EQ(coda.Elements[1].Chars, U"\U0001D10B");
    EXPECT_EQ(coda.Elements[3].Kind, ElementKind::Brace);
    EXPECT_DOUBLE_EQ(coda.Elements[3].Design, 2.5);
    // The longest key wins.
    EXPECT_EQ(map.Match({210, 123, 5}, 0), &repeat);
    EXPECT_EQ(map.Match({210}, 0), nullptr);
}

TEST(MusicFontMap, SkipsWhatItCannotReadAndKeepsTheRest) {
    Map map = ParseMap(
        "ascent abc\n"
        "height -1\n"
        "font x\n"
        "font y somewhere z\n"
        "font z lilypond a-{size}.otf\n"
        "glyph z orphan\n"
        "char 300\n"
        "char 65 \"A\" advance=-1\n"
        "char 66 \"B\" colour=red\n"
        "  rect 0 0 1\n"
        "  poly 0 0 1 1\n"
        "  glyph\n"
        "  glyph emm\n"
        "  glyph emm name at=1\n"
        "  glyph emm name align=up,down\n"
        "  unicode emm U+110000\n"
        "  text emm unquoted\n"
        "  brace emm top=1\n"
        "  rect 0 0 1 nan\n"
        "  rect 0 0 1 1e308\n"
        "  glyph emm good scale=0\n"
        "  glyph emm good\n"
        "whatever\n"
        "char 67 \"C\n"
        "  rect 0 0 1 1\n");
    EXPECT_DOUBLE_EQ(map.Ascent, 1.39);
    EXPECT_DOUBLE_EQ(map.Height, 2.0);
    EXPECT_TRUE(map.Fonts.empty());
    ASSERT_EQ(map.Entries.size(), 2u);
    EXPECT_EQ(map.Entries[0].Key, std::vector<uint8_t>{66});
    ASSERT_EQ(map.Entries[0].Elements.size(), 1u);
    EXPECT_EQ(map.Entries[0].Elements[0].Names, std::vector<std::string>{"good"});
    EXPECT_EQ(map.Entries[1].Label, "C");  // an unclosed quote runs to the end of the line
    EXPECT_GE(map.Diagnostics.size(), 18u);
}

class BrokenMap : public ::testing::Test {
  protected:
    void TearDown() override {
        SetMusicFontMapFile({});
        std::filesystem::remove(mPath);
        std::filesystem::remove(mPath + ".2");
    }
    void Write(const std::string& text, const std::string& suffix = "") {
        std::ofstream(mPath + suffix) << text;
        SetMusicFontMapFile(mPath + suffix);
    }
    // A map is read once per path and thread, so every test writes its own file.
    std::string mPath = (std::filesystem::temp_directory_path() /
                         ("corvendi-map-" + std::to_string(::getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt"))
                            .string();
};

TEST_F(BrokenMap, MissingMapDrawsTextFacesAndReportsIt) {
    SetMusicFontMapFile("/nonexistent/MusicFont.txt");
    CairoImageSurface surface(2880, 2880, 15);
    surface.Cls();
    surface.SetFont(FontSpec{"Quavrix", 20.0f});
    surface.DrawTextAt(100, 100, "&" + std::string("\xC3\x8F") + " .");
    EXPECT_GT(surface.TextWidth("&"), 0.0);
    EXPECT_DOUBLE_EQ(surface.TextHeight("&"), 2 * 400.0);
    EXPECT_FALSE(MeasureInk(surface).Empty());
    EXPECT_FALSE(MusicFontDiagnostics().empty());
    EXPECT_TRUE(MusicFontCharacters().empty());
}

TEST_F(BrokenMap, UnknownFontsAndGlyphsDrawNothingForThatPart) {
    Write(
        "font emm lilypond no-such-font-{size}.otf sizes=20\n"
        "font real lilypond emmentaler-{size}.otf sizes=11,13,14,16,18,20,23,26\n"
        "font fam family \"Liberation Sans\"\n"
        "char 38\n  glyph emm clefs.G\n"
        "char 63\n  glyph real no.such.glyph\n  rect 0 0 1 1\n"
        "char 66\n  glyph real clefs.C width=0.000001\n"
        "char 67\n  brace real height=16 top=4 clip=-4,4\n"
        "char 68\n  glyph undeclared x\n"
        "char 69\n  unicode fam U+10FFFF\n");
    CairoImageSurface surface(2880, 2880, 15);
    surface.Cls();
    surface.SetFont(FontSpec{"Quavrix", 20.0f});
    for (const char* text : {"&", "?", "B", "C", "D", "E", "&?BCDE"}) {
        surface.DrawTextAt(300, 300, text);
        EXPECT_GE(surface.TextWidth(text), 0.0);
    }
    EXPECT_FALSE(MeasureInk(surface).Empty());  // the rectangle and the tiny clef
    EXPECT_EQ(MusicFontCharacters().size(), 6u);
    EXPECT_GE(MusicFontDiagnostics().size(), 3u);
}

TEST(MusicFontFiles, OpticalSizeIsTheNearestDesignTiesGoingToTheLarger) {
    using cairoimpl::NearestOpticalSize;
    const std::vector<int32_t> sizes = {11, 13, 14, 16, 18, 20, 23, 26};
    EXPECT_EQ(NearestOpticalSize(sizes, 28.8), 26);  // the default 0.4-inch staff
    EXPECT_EQ(NearestOpticalSize(sizes, 18.0), 18);
    EXPECT_EQ(NearestOpticalSize(sizes, 12.0), 13);
    EXPECT_EQ(NearestOpticalSize(sizes, 21.5), 23);
    EXPECT_EQ(NearestOpticalSize(sizes, 2.0), 11);
    EXPECT_EQ(NearestOpticalSize(sizes, 1e6), 26);
}

class FontDirOverride : public BrokenMap {
  protected:
    void TearDown() override {
        ::unsetenv("CORVENDI_MUSIC_FONT_DIR");
        std::filesystem::remove_all(mDir);
        BrokenMap::TearDown();
    }
    std::string mDir = (std::filesystem::temp_directory_path() / "corvendi-font-dir").string();
};

TEST_F(FontDirOverride, TheEnvironmentChoosesTheFolderOfTheEngravingFonts) {
    const std::string installed = cairoimpl::MusicFontDir();
    ASSERT_FALSE(installed.empty()) << "lilypond-fonts is not installed";
    EXPECT_TRUE(std::filesystem::exists(installed + "/emmentaler-20.otf"));
    // A folder holding only the 20-point design serves every size.
    std::filesystem::create_directories(mDir);
    std::filesystem::copy_file(installed + "/emmentaler-20.otf", mDir + "/emmentaler-20.otf");
    ::setenv("CORVENDI_MUSIC_FONT_DIR", mDir.c_str(), 1);
    EXPECT_EQ(cairoimpl::MusicFontDir(), mDir);
    Write("font emm lilypond emmentaler-{size}.otf sizes=20\nchar 38\n  glyph emm clefs.G\n");
    CairoImageSurface surface(2880, 2880, 15);
    surface.Cls();
    surface.SetFont(FontSpec{"Quavrix", 28.8f});
    surface.DrawTextAt(300, 300, "&");
    EXPECT_FALSE(MeasureInk(surface).Empty());
    EXPECT_TRUE(MusicFontDiagnostics().empty());
    // An empty folder (read with the next map): nothing to draw the clef with, and it is said.
    const std::string emptyDir = mDir + "/empty";
    std::filesystem::create_directories(emptyDir);
    ::setenv("CORVENDI_MUSIC_FONT_DIR", emptyDir.c_str(), 1);
    Write("font emm lilypond emmentaler-{size}.otf sizes=20\nchar 38\n  glyph emm clefs.G\n", ".2");
    CairoImageSurface empty(2880, 2880, 15);
    empty.Cls();
    empty.SetFont(FontSpec{"Quavrix", 28.8f});
    empty.DrawTextAt(300, 300, "&");
    EXPECT_TRUE(MeasureInk(empty).Empty());
    EXPECT_FALSE(MusicFontDiagnostics().empty());
}

}  // namespace
}  // namespace corvendi::test
