// Hit regions recorded while a page is drawn, and the brackets and braces beside their staffs.
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "render/LayoutTestSupport.h"

namespace corvendi::test {
namespace {

using Regions = LayoutTest;

TEST_F(Regions, OneRegionPerVisibleStaffPerSystemInDrawingOrder) {
    auto surface = DefaultScore();
    AddStaff();
    AddStaff();
    score->Staff(2)->SetVisible(false);
    Relayout(*surface);

    const auto& regions = detail::ScoreAccess::Regions(*score);
    ASSERT_EQ(regions.size(), 2u * 4u);  // two staffs, four systems of 2580 twips
    for (size_t i = 0; i < regions.size(); ++i) {
        const Region& r = *regions[i];
        EXPECT_EQ(r.Index, static_cast<int16_t>(i + 1));
        EXPECT_EQ(r.First, i % 2 == 0);
        EXPECT_EQ(r.Staff, i % 2 == 0 ? 1 : 3);
        EXPECT_EQ(r.Time, regions[i - i % 2]->Time);
        EXPECT_EQ(r.Left, 1080);
        EXPECT_EQ(r.Right, 11520);
        EXPECT_EQ(r.IncY, 144);
        EXPECT_EQ(r.Measures(), 4);
        EXPECT_FALSE(r.Split);
    }
    // The band: half the staff space above the top line and below the bottom line, snapped.
    EXPECT_EQ(regions[0]->Top, 1440);
    EXPECT_EQ(regions[0]->PadTop, 360);
    EXPECT_EQ(regions[0]->PadBottom, 360);
    EXPECT_EQ(regions[0]->Bottom, 2730);
    EXPECT_EQ(regions[1]->Top, 2730);
    EXPECT_EQ(regions[1]->Bottom, 4020);
    EXPECT_EQ(regions[2]->Top, 4230);
    EXPECT_EQ(regions[2]->Time, 4 * 64);
    // The first measure's notes start after the clef and the time signature.
    EXPECT_EQ(regions[0]->MeasurePad(0), 576 + 403 + 144 + 72);
    EXPECT_EQ(regions[0]->MeasurePad(1), 288);
    EXPECT_EQ(regions[2]->MeasurePad(0), 576 + 144 + 72);
}

TEST_F(Regions, BoundsAreInclusiveAndLyricLinesAndGapsAreOutside) {
    auto surface = DefaultScore();
    AddStaff();
    detail::StaffAccess::VersesSet(*score->Staff(1), 2);
    Relayout(*surface);
    const auto& regions = detail::ScoreAccess::Regions(*score);
    const auto first = regions[0];
    const auto second = regions[1];
    ASSERT_EQ(second->Top, first->Bottom + 2 * 225);

    EXPECT_EQ(score->InRegion(first->Left, first->Top), first);
    EXPECT_EQ(score->InRegion(first->Right, first->Bottom), first);
    EXPECT_EQ(score->InRegion(first->Left - 1, first->Top), nullptr);
    EXPECT_EQ(score->InRegion(first->Right + 1, first->Top), nullptr);
    EXPECT_EQ(score->InRegion(first->Left, first->Top - 1), nullptr);
    EXPECT_EQ(score->InRegion(5000, first->Bottom + 1), nullptr);  // lyric lines
    EXPECT_EQ(score->InRegion(5000, second->Top - 1), nullptr);
    EXPECT_EQ(score->InRegion(5000, second->Top), second);
    EXPECT_EQ(score->InRegion(5000, regions[2]->Top - 1), nullptr);  // between systems
    EXPECT_TRUE(score->HitTest(static_cast<float>(first->Right), static_cast<float>(first->Top)));
    EXPECT_FALSE(score->HitTest(static_cast<float>(first->Right) + 0.5f, 2000.0f));
}

// --- brackets and braces ------------------------------------------------------------------------

TEST_F(Regions, AGroupMarkDrawsBracketsWithASubBracketForARunOfOneInstrument) {
    auto surface = DefaultScore();
    AddStaff();
    AddStaff();
    detail::StaffAccess::GroupIDSet(*score->Staff(1), 1);
    detail::StaffAccess::GroupIDSet(*score->Staff(2), 1);
    detail::StaffAccess::GroupIDSet(*score->Staff(3), 0);
    score->AllGlobals()->Add(0, evtGroupMark);
    Relayout(*surface);
    ASSERT_TRUE(detail::ScoreAccess::HasGroupMark(*score));

    // Bracket inset SnapX(144 + 36) = 180, rise 216; staff top lines at 1800 and 3090.
    const auto texts = TextsOf(*surface);
    auto top = FindText(texts, "\xC3\x82");
    auto bottom = FindText(texts, "L");
    ASSERT_TRUE(top);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(top->X, 900 / 15);
    EXPECT_EQ(top->Y, (1800 - 216) / 15);
    EXPECT_EQ(bottom->Y, (3090 - 216) / 15);

    const int32_t bars = PackRGB(48, 48, 192);
    const auto lines = LinesOf(*surface);
    auto has = [&](double x1, double y1, double x2, double y2, LineFill fill) {
        for (const auto& l : lines) {
            if (l.X1 == x1 && l.Y1 == y1 && l.X2 == x2 && l.Y2 == y2 && l.Fill == fill &&
                l.Color == bars) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(has(900, 1800, 900 + 65, 3090 - 216 + 792, LineFill::FilledBox));
    // The two staffs play the same instrument: a square bracket 2 S wide.
    EXPECT_TRUE(has(1080 - 288, 1800, 1080, 1800, LineFill::None));
    EXPECT_TRUE(has(1080 - 288, 3090 + 576, 1080, 3090 + 576, LineFill::None));
    EXPECT_TRUE(has(1080 - 288, 1800, 1080 - 288, 3090 + 576, LineFill::None));

    // Without the mark nothing of it is drawn.
    score->AllGlobals()->Remove(0, evtGroupMark);
    Relayout(*surface);
    EXPECT_FALSE(FindText(TextsOf(*surface), "\xC3\x82"));
}

TEST_F(Regions, ABraceJoinsItsStaffsAndCarriesTheFirstStaffsDescription) {
    auto surface = DefaultScore();
    AddStaff("Left");
    score->Staff(1)->SetDescription("Piano");
    score->Staff(1)->SetFlags(stfShowStaffDesc);
    score->Staff(2)->SetFlags(stfShowStaffDesc);
    detail::StaffAccess::BraceSet(*score->Staff(1), 2);
    Relayout(*surface);

    // The description column: "Piano" (400 twips) and "xxx" (240).
    const int32_t musicLeft = 1080 + 640;
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[0]->Left, musicLeft);
    // Staff lines 1800..2376 and 3090..3666: half = 933, the music font at 23.325 points.
    const auto texts = TextsOf(*surface);
    auto upper = FindText(texts, "\xC2\xA7");
    auto lower = FindText(texts, "\xC3\xAA");
    ASSERT_TRUE(upper);
    ASSERT_TRUE(lower);
    EXPECT_EQ(upper->X, (musicLeft - 233) / 15);
    EXPECT_EQ(upper->Y, (1800 - 159) / 15);
    EXPECT_EQ(lower->Y, (1800 - 159 + 933) / 15);
    auto piano = FindText(texts, "Piano");
    ASSERT_TRUE(piano);
    EXPECT_EQ(piano->X, 1080 / 15);
    EXPECT_EQ(piano->Y, (1800 + 933 - 96) / 15);
    EXPECT_FALSE(FindText(texts, "Left"));

    // Descriptions show on the first system of page 1 only.
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[2]->Left, 1080);
}

}  // namespace
}  // namespace corvendi::test
