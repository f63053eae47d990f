// Lyric typing across page turns, and marks placed through the palette's click, on the example
// score (two pages) with the GTK platform running headless.
#include <corvendi/Enums.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Score.h>
#include <corvendi/ToJson.h>
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtest/gtest.h>

#include "LyricCursor.h"
#include "MarkPlacement.h"
#include "PlayingMeasure.h"

namespace corvendi::studio {
namespace {

class StudioScoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform = std::make_shared<gtk::GtkPlatform>();
        SetPlatform(platform);
        score = Score::Create();
        ASSERT_TRUE(score->OpenFile(std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco"));
        score->SetWindow(
            std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(), 15));
        while (score->Paginating() && platform->ProcessPendingEvents()) {
        }
    }
    void TearDown() override { SetPlatform(nullptr); }

    std::shared_ptr<gtk::GtkPlatform> platform;
    std::shared_ptr<Score> score;
};

TEST_F(StudioScoreTest, LyricsRunOnAcrossThePageTurnAndBack) {
    LyricCursor cursor(*score);
    const auto first = cursor.Start();
    ASSERT_TRUE(first);
    cursor.Store("Sun-");
    EXPECT_EQ(cursor.Spot()->Text, "Sun-");
    // Forward until the page turns: the cursor lands on page 2's first note.
    int32_t moves = 0;
    while (score->CurPage() == 1 && moves < 500) {
        ASSERT_TRUE(cursor.Next());
        ++moves;
    }
    ASSERT_EQ(score->CurPage(), 2);
    const LyricSpot firstOfPage2 = *cursor.Spot();
    cursor.Store("rise");
    // Back once: the last note of page 1, whose time comes before page 2's first.
    ASSERT_TRUE(cursor.Previous());
    EXPECT_EQ(score->CurPage(), 1);
    EXPECT_LT(cursor.Spot()->Time, firstOfPage2.Time);
    // The syllables stayed where they were typed.
    score->SetCurPage(1);
    LyricCursor again(*score);
    EXPECT_EQ(again.Start()->Text, "Sun-");
    // Past the last note of the last page the cursor stays put instead of adding a page.
    const int32_t last = score->LastPage();
    score->SetCurPage(last);
    ASSERT_TRUE(again.Start());
    for (int32_t i = 0; i < 300; ++i) again.Next();
    EXPECT_EQ(score->CurPage(), last);
    EXPECT_EQ(score->LastPage(), last);
}

TEST_F(StudioScoreTest, OctaveLinesToggleChordsLandFromTheChordRowAndNotesPlaceNoMark) {
    // A point on the first note's staff: up from its lyric line.
    LyricCursor cursor(*score);
    const auto spot = cursor.Start();
    ASSERT_TRUE(spot);
    PagePoint onStaff{spot->X + 200, spot->Y};
    while (onStaff.Y > 0 && !score->InRegion(onStaff.X, onStaff.Y)) onStaff.Y -= 30;
    ASSERT_GT(onStaff.Y, 0);
    const std::string before = ToJson(*score);
    EXPECT_FALSE(PlaceMark(*score, onStaff, MarkChoice{}));
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_TRUE(PlaceMark(*score, onStaff, MarkChoice{evtSectionDefine, sct8va, "", false}));
    EXPECT_NE(ToJson(*score), before);
    PlaceMark(*score, onStaff, MarkChoice{evtSectionDefine, sct8va, "", false});
    EXPECT_EQ(ToJson(*score), before);
    // A chord clicked above the staff, where no staff is, lands at that time.
    PagePoint above = onStaff;
    while (score->InRegion(above.X, above.Y)) above.Y -= 30;
    above.Y -= 200;
    PlaceMark(*score, above, MarkChoice{evtChord, 1, "", false});
    EXPECT_NE(ToJson(*score).find(R"("type":10,"value1":1)"), std::string::npos);
    PlaceMark(*score, onStaff, MarkChoice{evtDynamic, dynMF, "", false});
    EXPECT_NE(ToJson(*score).find(R"("type":15,"value1":70)"), std::string::npos);
}

TEST_F(StudioScoreTest, ThePlayingMeasureIsBoxedOnItsPageAndFollowedToTheNext) {
    const auto globals = score->AllGlobals();
    const PlayingMeasure second = FindPlayingMeasure(*score, globals->MeasureTime(2) + 5);
    const PlayingMeasure third = FindPlayingMeasure(*score, globals->MeasureTime(3));
    ASSERT_EQ(second.Place, MeasurePlace::OnPage);
    ASSERT_EQ(third.Place, MeasurePlace::OnPage);
    // Side by side on the first system, across all its staffs.
    EXPECT_EQ(second.Box.To.X, third.Box.From.X);
    EXPECT_EQ(second.Box.From.Y, third.Box.From.Y);
    EXPECT_LT(second.Box.From.X, second.Box.To.X);
    EXPECT_GT(second.Box.To.Y - second.Box.From.Y, 3000);
    EXPECT_EQ(FindPlayingMeasure(*score, score->HighTime() - 1).Place, MeasurePlace::LaterPage);
    score->SetCurPage(2);
    EXPECT_EQ(FindPlayingMeasure(*score, 0).Place, MeasurePlace::EarlierPage);
}

}  // namespace
}  // namespace corvendi::studio
