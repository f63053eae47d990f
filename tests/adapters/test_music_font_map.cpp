// The music-font map: a missing or misplaced font never takes drawing down.
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "CairoTestSupport.h"
#include "FontFiles.h"
#include "MusicFontMap.h"

namespace corvendi::test {
namespace {

using namespace corvendi::musicfont;

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

// A surface holds the music font while it stays selected: a new map counts from the next font
// selected, and a thread other than the one that found the font finds its own.
TEST_F(BrokenMap, ANewMapCountsFromTheNextFontSelectedOnEachThread) {
    Write("char 38 advance=4\n  rect 0 0 1 1\n");
    CairoImageSurface surface(2880, 2880, 15);
    surface.SetFont(FontSpec{"Quavrix", 20.0f});
    EXPECT_DOUBLE_EQ(surface.TextWidth("&"), 400.0);
    Write("char 38 advance=8\n  rect 0 0 1 1\n", ".2");
    surface.SetFont(FontSpec{"Quavrix", 20.0f});
    EXPECT_DOUBLE_EQ(surface.TextWidth("&"), 800.0);
    // The override is the setting thread's own: another thread reads the application folder's
    // map, whose treble clef is narrower than either.
    double elsewhere = 0.0;
    std::thread([&] { elsewhere = surface.TextWidth("&"); }).join();
    EXPECT_GT(elsewhere, 0.0);
    EXPECT_LT(elsewhere, 400.0);
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
