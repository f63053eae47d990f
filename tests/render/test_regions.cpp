// Hit regions recorded while a page is drawn, hit testing, measure flags, and the brackets and
// braces drawn beside the regions' staffs.
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

TEST_F(Regions, AGrandStaffIsOneSplitRegionOverBothStaffs) {
    auto surface = DefaultScore();
    score->Staff(1)->SetDefaultClef(clfGrand);
    Relayout(*surface);
    const Region& r = *detail::ScoreAccess::Regions(*score)[0];
    EXPECT_TRUE(r.Split);
    EXPECT_EQ(r.Top, 1440);
    // Upper staff 1800..2376, four spacings of gap, lower staff 2952..3528, then the pad.
    EXPECT_EQ(r.Bottom, 3885);
    EXPECT_EQ(StaffLinesOf(*surface)[5].Y1, 2952.0);
    EXPECT_EQ(score->InRegion(2000, 2700), detail::ScoreAccess::Regions(*score)[0]);
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

TEST_F(Regions, OnlyDrawingAPageMakesRegionsAndPaginationLeavesThemAlone) {
    NewScore();
    score->CreateDefault();
    events->log.clear();
    EXPECT_TRUE(detail::ScoreAccess::Regions(*score).empty());
    EXPECT_EQ(score->InRegion(2000, 2000), nullptr);
    EXPECT_FALSE(score->HitTest(2000.0f, 2000.0f, true));
    EXPECT_TRUE(events->log.empty());

    auto surface = DefaultScore();
    const auto before = detail::ScoreAccess::Regions(*score);
    NoteInMeasure(80);
    detail::ScoreAccess::StartPagination(*score);
    Paginate();
    EXPECT_EQ(detail::ScoreAccess::Regions(*score), before);
}

TEST_F(Regions, HitTestSelectsTheStaffOnlyWhenAsked) {
    auto surface = DefaultScore();
    AddStaff();
    Relayout(*surface);
    const Region& second = *detail::ScoreAccess::Regions(*score)[1];
    const float x = 3000.0f;
    const auto y = static_cast<float>(second.Top + 10);

    EXPECT_TRUE(score->HitTest(x, y));
    EXPECT_TRUE(score->Staff(1)->Selected());
    EXPECT_EQ(log->Count("ActiveStaff 2"), 0u);

    EXPECT_TRUE(score->HitTest(x, y, true));
    EXPECT_TRUE(score->Staff(2)->Selected());
    EXPECT_FALSE(score->Staff(1)->Selected());
    EXPECT_EQ(log->Count("ActiveStaff 2"), 1u);
    EXPECT_EQ(log->lastStaff, score->Staff(2));
}

TEST_F(Regions, MeasureFlagsCombineTheMarksAtTheMeasureStart) {
    auto surface = DefaultScore();
    auto globals = score->AllGlobals();
    globals->Add(64, evtRepeatBegin);
    globals->Add(64, evtSectionDefine, sctEnding1);
    globals->Add(128, evtRepeatEnd);
    globals->Add(128, evtSectionEnd);
    globals->Add(128, evtScoreEnd);
    globals->Add(130, evtRepeatBegin);  // not at a measure start
    EXPECT_EQ(score->MeasureFlags(64), 17);
    EXPECT_EQ(score->MeasureFlags(128), 2 + 4 + 8);
    EXPECT_EQ(score->MeasureFlags(0), 0);
    EXPECT_EQ(score->MeasureFlags(129), 0);

    score->PaintWindow();
    const Region& first = *detail::ScoreAccess::Regions(*score)[0];
    EXPECT_EQ(first.MeasureFlag(1), 17);
    EXPECT_EQ(first.MeasureFlag(2), 14);
    EXPECT_EQ(first.MeasureFlag(3), 0);
}

TEST(RegionRecord, MeasuresReallocateOnlyWhenTheCountChanges) {
    Region region;
    EXPECT_EQ(region.Measures(), 0);
    EXPECT_EQ(region.Measure(0), nullptr);
    region.SetMeasures(3);
    ASSERT_EQ(region.Measures(), 3);
    EXPECT_NE(region.Measure(0), region.Measure(1));
    detail::RangeAccess::LowSet(*region.Measure(2), 500);
    region.SetMeasurePad(2, 40);
    region.SetMeasureFlag(2, 17);
    EXPECT_EQ(region.Measure(3), nullptr);
    EXPECT_EQ(region.MeasureFlag(-1), 0);
    region.SetMeasureFlag(3, 1);

    region.SetMeasures(3);
    EXPECT_EQ(region.Measure(2)->Low(), 500);
    EXPECT_EQ(region.MeasureFlag(2), 17);

    auto replacement = std::make_shared<Range>();
    region.SetMeasure(1, replacement);
    EXPECT_EQ(region.Measure(1), replacement);

    region.SetMeasures(2);
    EXPECT_EQ(region.Measures(), 2);
    EXPECT_NE(region.Measure(1), replacement);
    EXPECT_EQ(region.Measure(1)->Low(), 0);
    EXPECT_EQ(region.MeasurePad(1), 0);
    region.SetMeasures(-1);
    EXPECT_EQ(region.Measures(), 2);
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
