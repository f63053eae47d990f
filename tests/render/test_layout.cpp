// Page layout on the recording surface. The plain default score (one staff, no title block) on
// Letter paper has its music between x 1080 and 11520, its first system's region at y 1440, and
// systems 1500 twips apart; an empty measure is 2304 twips wide, the score's first 3168.
#include "engine/ScoreAccess.h"
#include "render/LayoutTestSupport.h"

#include "model/PaginationTimer.h"

namespace corvendi::test {
namespace {

using Layout = LayoutTest;

// --- page frame -----------------------------------------------------------------------------

TEST_F(Layout, StaffLinesSpanTheMarginsOfThePaperInUse) {
    auto surface = DefaultScore();
    auto lines = StaffLinesOf(*surface);
    ASSERT_EQ(lines.size(), 9u * 5u);  // nine systems of one staff
    EXPECT_EQ(lines[0].X1, 1080.0);
    EXPECT_EQ(lines[0].X2, 11520.0);
    EXPECT_EQ(lines[0].Y1, 1800.0);  // region top 1440 plus half the staff space
    EXPECT_EQ(lines[4].Y1, 1800.0 + 4 * 144);
    EXPECT_EQ(lines[5].Y1, 1800.0 + 1500);

    score->SetPageSize(pgsA4);
    lines = StaffLinesOf(*surface);
    EXPECT_EQ(lines.back().X2, 11909.0 - 720);

    // In landscape the sheet is turned: the paper's long side runs across.
    surface->ClearCalls();
    score->SetPageOrientation(pgeLandscape);
    EXPECT_EQ(StaffLinesOf(*surface).back().X2, 16834.0 - 720);
    EXPECT_DOUBLE_EQ(surface->Width(), 16834.0);
    EXPECT_DOUBLE_EQ(surface->Height(), 11909.0);
}

TEST_F(Layout, EvenPagesExchangeTheSideMarginsWithReverseEvenOdd) {
    auto surface = DefaultScore();
    NoteInMeasure(60);  // three measures to a system, 27 to a page: page 3
    score->SetRedraw(false);
    score->SetMargins(marLeft, 1.5f);
    score->SetReverseEvenOdd(true);
    score->SetRedraw(true);
    Relayout(*surface);
    ASSERT_EQ(score->LastPage(), 3);

    auto span = [&](int32_t page) {
        score->SetCurPage(page);
        const auto lines = StaffLinesOf(*surface);
        surface->ClearCalls();
        return std::pair(lines.back().X1, lines.back().X2);
    };
    EXPECT_EQ(span(2), std::pair(720.0, 12240.0 - 2160));
    EXPECT_EQ(span(3), std::pair(2160.0, 12240.0 - 720));
    EXPECT_EQ(span(1), std::pair(2160.0, 12240.0 - 720));

    score->SetReverseEvenOdd(false);
    EXPECT_EQ(span(2), std::pair(2160.0, 12240.0 - 720));
}

TEST_F(Layout, TitleBlockCentresTitlesAndRightAlignsComposerLines) {
    auto surface = DefaultScore(false);
    score->SetMetronome(false);
    const auto texts = TextsOf(*surface);
    auto title = FindText(texts, "New Score");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->X, (1080 + (10440 - 9 * 140) / 2) / 15);
    EXPECT_EQ(title->Y, 1440 / 15);
    auto composer = FindText(texts, "Composer");
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->X, (11520 - 800) / 15);
    EXPECT_EQ(composer->Y, (1440 + 336) / 15);
    auto arranger = FindText(texts, "Arranged By");
    ASSERT_TRUE(arranger);
    EXPECT_EQ(arranger->Y, (1440 + 336 + 240) / 15);
    // The heading shares the last composer line.
    auto count = FindText(texts, " = 120");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->Y, arranger->Y);
    // The staff description column is indented by the widest description and "xxx".
    EXPECT_EQ(StaffLinesOf(*surface).front().X1, 1080.0 + 240 + 240);

    // Too long: shortened from its end, one character at a time, until it fits.
    surface->ClearCalls();
    std::string longTitle;
    for (int i = 0; i < 100; ++i) longTitle += "\xC3\xA9";  // é
    score->SetTitle(longTitle);
    const auto shortTexts = TextsOf(*surface);
    const DrawnText* shortened = nullptr;
    for (const auto& t : shortTexts) {
        if (t.Text.rfind("\xC3\xA9", 0) == 0) shortened = &t;
    }
    ASSERT_TRUE(shortened);
    EXPECT_EQ(shortened->Text.size(), 2u * (10440 / 140));
    EXPECT_EQ(shortened->X, (1080 + (10440 - 74 * 140) / 2) / 15);
}

// --- line breaking ------------------------------------------------------------------------------

// The widths line breaking gave the measures of the region's system.
std::vector<int32_t> Widths(const Region& region) {
    std::vector<int32_t> widths;
    for (int32_t j = 0; j < region.Measures(); ++j) widths.push_back(region.Measure(j)->Low());
    return widths;
}

TEST_F(Layout, TheLeftoverIsSpreadOverTheMeasuresAndEndsAtTheRightLimit) {
    DefaultScore();
    const auto& regions = detail::ScoreAccess::Regions(*score);
    ASSERT_GE(regions.size(), 2u);
    // 3168 + 3 x 2304 leave 360 twips: 90 to each, nothing left for the last.
    EXPECT_EQ(Widths(*regions[0]), (std::vector<int32_t>{3258, 2394, 2394, 2394}));
    // Later systems have no time signature: 2880 + 3 x 2304 leave 648: 150 each, 48 more last.
    EXPECT_EQ(Widths(*regions[1]), (std::vector<int32_t>{3030, 2454, 2454, 2502}));
    EXPECT_EQ(regions[1]->Measure(0)->High(), 4 * 64);
    EXPECT_EQ(regions[1]->Measure(3)->High(), 7 * 64);
}

class SmallStaffs : public LayoutTest {
  protected:
    // A line spacing of 18 twips: an empty measure is 288 wide, the first 396.
    std::shared_ptr<RecordingSurface> SmallScore() {
        auto surface = DefaultScore();
        surface->ClearCalls();
        score->SetStaffHeight(0.05f);
        return surface;
    }
};

TEST_F(SmallStaffs, MeasureSizeEventsWidenAndNarrowDownToTheMinimum) {
    auto surface = SmallScore();
    auto globals = score->AllGlobals();
    globals->Add(64, evtMeasureSize, 2, 0);
    globals->Add(128, evtMeasureSize, 0, 3);
    globals->Add(192, evtMeasureSize, 0, 10);
    Relayout(*surface);
    const Region& first = *detail::ScoreAccess::Regions(*score)[0];
    EXPECT_EQ(first.Measure(1)->Low(), 288 + 2 * 36);
    EXPECT_EQ(first.Measure(2)->Low(), 288 - 3 * 36);
    EXPECT_EQ(first.Measure(3)->Low(), 3 * 18);
}

TEST_F(SmallStaffs, LineEndBreaksBeforeItsMeasureButNotAtASystemsFirstMeasure) {
    auto surface = SmallScore();
    auto globals = score->AllGlobals();
    globals->Add(0, evtLineEnd);
    globals->Add(128, evtLineEnd);
    Relayout(*surface);
    const auto& regions = detail::ScoreAccess::Regions(*score);
    ASSERT_GE(regions.size(), 2u);
    // Two measures share the line: 9756 spare twips, 4875 to each and 6 more to the last.
    EXPECT_EQ(Widths(*regions[0]), (std::vector<int32_t>{396 + 4875, 288 + 4875 + 6}));
    // The event that ended the first system is the second system's first measure.
    EXPECT_EQ(regions[1]->Time, 128);
    EXPECT_EQ(regions[1]->Measures(), 16);
}

TEST_F(Layout, AMeasureWiderThanTheLineIsSqueezedIntoIt) {
    auto surface = DefaultScore();
    score->AllGlobals()->Add(0, evtMeasureSize, 40, 0);
    Relayout(*surface);
    const Region& first = *detail::ScoreAccess::Regions(*score)[0];
    EXPECT_EQ(Widths(first), (std::vector<int32_t>{10440}));
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[1]->Time, 64);
}

// --- overfull pages -----------------------------------------------------------------------------

TEST_F(Layout, AnOverfullFirstSystemShrinksTheStaffsForThisAndLaterPages) {
    auto surface = DefaultScore();
    score->SetRedraw(false);
    for (int i = 0; i < 10; ++i) AddStaff();
    NoteInMeasure(20);
    score->SetRedraw(true);
    Relayout(*surface);

    // Eleven staffs of 1290 twips do not fit in 13680: the staff height becomes
    // nint((13680 - 11 x 720) / 11) = 524.
    EXPECT_EQ(detail::ScoreAccess::StaffHeightTw(*score), 524);
    EXPECT_EQ(detail::ScoreAccess::BeamLines(*score), 3);
    const auto& regions = detail::ScoreAccess::Regions(*score);
    ASSERT_EQ(regions.size(), 11u);
    EXPECT_EQ(regions[0]->IncY, 131);
    EXPECT_LE(regions.back()->Bottom, 15120);
    EXPECT_EQ(PageRange(1).High(), 4 * 64);
    EXPECT_EQ(detail::ScoreAccess::PageMetrics(*score)[0]->High(), 524);

    ASSERT_GE(score->LastPage(), 2);
    score->SetCurPage(2);
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[0]->IncY, 131);
    EXPECT_EQ(detail::ScoreAccess::StaffHeightTw(*score), 524);

    // Setting the staff height again ends the shrink.
    score->SetStaffHeight(0.2f);
    Relayout(*surface);
    EXPECT_EQ(detail::ScoreAccess::StaffHeightTw(*score), 288);
}

// --- pagination -------------------------------------------------------------------------------

TEST_F(Layout, PaginationFindsThePagesUpToTheLastNote) {
    auto surface = DefaultScore();
    EXPECT_EQ(score->LastPage(), 1);
    NoteInMeasure(80);
    Relayout(*surface);
    // 36 measures to a page: measure 80 is on page 3.
    ASSERT_EQ(score->LastPage(), 3);
    EXPECT_EQ(PageRange(1).Low(), 0);
    EXPECT_EQ(PageRange(1).High(), 36 * 64);
    EXPECT_EQ(PageRange(2).Low(), 36 * 64);
    EXPECT_EQ(PageRange(3).Low(), PageRange(2).High());
    EXPECT_EQ(PageRange(3).High(), 108 * 64);
    EXPECT_FALSE(score->Paginating());
    EXPECT_FALSE(PaginationTimerRunning());

    // A last note at the very start of a page brings that page in.
    score->AddNote(1, PageRange(3).High(), 62, 16, 0);
    Relayout(*surface);
    EXPECT_EQ(score->LastPage(), 4);
}

TEST_F(Layout, CurPageAcceptsPagesUpToOneAfterTheLast) {
    auto surface = DefaultScore();
    NoteInMeasure(40);
    Relayout(*surface);
    ASSERT_EQ(score->LastPage(), 2);
    surface->ClearCalls();

    score->SetCurPage(0);
    score->SetCurPage(4);
    score->SetCurPage(1);  // already shown
    EXPECT_EQ(score->CurPage(), 1);
    EXPECT_TRUE(surface->DrawingCalls().empty());

    score->SetCurPage(2);
    EXPECT_EQ(score->CurTime(), 36 * 64);
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[0]->Time, 36 * 64);
    EXPECT_EQ(surface->Count("Cls"), 1u);

    // One page after the last: an empty page that starts where the last one ended.
    score->SetCurPage(3);
    EXPECT_EQ(score->CurPage(), 3);
    EXPECT_EQ(score->LastPage(), 2);
    EXPECT_EQ(score->CurTime(), 72 * 64);
    EXPECT_EQ(PageRange(3).Low(), 72 * 64);
    EXPECT_EQ(detail::ScoreAccess::Regions(*score)[0]->Time, 72 * 64);
}

// Settings no one would choose must still give a page and an end to pagination.
TEST_F(Layout, DegenerateSettingsStillEndPaginationAndDraw) {
    auto surface = DefaultScore();
    NoteInMeasure(30);
    const auto settle = [&] {
        Relayout(*surface);
        EXPECT_FALSE(score->Paginating());
        EXPECT_GE(score->LastPage(), 1);
    };
    score->SetStaffHeight(0.0f);
    score->SetStaffSpace(0.0f);
    score->SetSystemSpace(0.0f);
    settle();
    score->SetStaffSpace(-3.0f);
    settle();
    score->SetStaffHeight(1.0e6f);
    score->SetStaffSpace(1.0e6f);
    score->SetSystemSpace(-1.0e6f);
    settle();
    score->SetStaffHeight(0.4f);
    score->SetStaffSpace(0.5f);
    score->SetSystemSpace(0.65f);
    score->SetMargins(marLeft, 20.0f);
    score->SetMargins(marTop, -1.0e9f);
    settle();
    score->SetMargins(marLeft, 0.75f);
    score->SetMargins(marTop, 1.0f);
    score->SetPageHeight(0.5f);
    settle();
    score->SetPageHeight(11.0f);
    score->Fonts(fntTitle)->SetSize(1.0e30f);
    score->SetTitle("Huge");
    settle();
    EXPECT_FALSE(FindText(TextsOf(*surface), "Huge"));
}

}  // namespace
}  // namespace corvendi::test
