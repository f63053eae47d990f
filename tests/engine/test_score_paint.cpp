#include "engine/ScoreAccess.h"
#include "engine/ScoreTestSupport.h"

#include "corvendi/GlobalEvents.h"
#include "model/PaginationTimer.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using ScorePaint = ScoreTest;

TEST_F(ScorePaint, AWindowIsPreparedSizedAndPaginated) {
    NewScore();
    score->CreateDefault();
    events->log.clear();
    auto surface = std::make_shared<RecordingSurface>(SurfaceKind::Window);
    score->SetWindow(surface);

    EXPECT_EQ(score->Window(), surface);
    EXPECT_EQ(surface->Calls().front().Name, "Cls");
    EXPECT_TRUE(surface->AutoRedraw());
    EXPECT_DOUBLE_EQ(surface->Height(), 15840.0);
    EXPECT_DOUBLE_EQ(surface->Width(), 12240.0);
    // The paint waited for pagination, which the virtual clock ran at once.
    EXPECT_FALSE(score->Paginating());
    EXPECT_EQ(score->LastPage(), 1);
    EXPECT_FALSE(PaginationTimerRunning());
    EXPECT_EQ(events->log, (std::vector<std::string>{"WindowCleared", "ActiveMeasure 1"}));
    EXPECT_EQ(surface->Count("Cls"), 2u);
    EXPECT_EQ(surface->CallsNamed("SetForeColor").front().Numbers[0], 0.0);
}

TEST_F(ScorePaint, APrinterSurfaceIsNotAWindow) {
    NewScore();
    auto printer = std::make_shared<RecordingSurface>(SurfaceKind::Printer);
    score->SetWindow(printer);
    EXPECT_EQ(score->Window(), nullptr);
    EXPECT_TRUE(printer->Calls().empty());

    auto window = Attach();
    score->SetWindow(printer);
    EXPECT_EQ(score->Window(), window);
    score->SetWindow(nullptr);
    EXPECT_EQ(score->Window(), nullptr);
    EXPECT_TRUE(window->Calls().empty());
}

TEST_F(ScorePaint, RedrawOffDefersPaintAndLayoutUntilItIsOnAgain) {
    NewScore();
    score->CreateDefault();
    auto surface = Attach();
    score->SetRedraw(false);
    const uint32_t generation = detail::ScoreAccess::PaginationGeneration(*score);
    score->SetTitle("One");
    score->SetSubTitle("Two");
    score->SetUseChords(true);
    EXPECT_TRUE(surface->Calls().empty());
    EXPECT_TRUE(detail::ScoreAccess::LayoutPending(*score));
    EXPECT_TRUE(detail::ScoreAccess::PaintPending(*score));
    EXPECT_EQ(detail::ScoreAccess::PaginationGeneration(*score), generation);

    score->SetRedraw(true);
    EXPECT_EQ(detail::ScoreAccess::PaginationGeneration(*score), generation + 1);
    EXPECT_EQ(surface->Count("Cls"), 1u);
    EXPECT_EQ(events->Count("WindowCleared"), 1u);
    EXPECT_FALSE(detail::ScoreAccess::LayoutPending(*score));
    EXPECT_FALSE(detail::ScoreAccess::PaintPending(*score));
    EXPECT_EQ(score->LastPage(), 1);

    score->SetRedraw(true);
    EXPECT_EQ(surface->Count("Cls"), 1u);
}

TEST_F(ScorePaint, WithoutAWindowPaintingClearsThePendingPaintAndPaginationOnlyReadsTheGroupMark) {
    NewScore();
    score->SetRedraw(false);
    score->PaintWindow();
    EXPECT_TRUE(detail::ScoreAccess::PaintPending(*score));
    score->SetRedraw(true);
    EXPECT_FALSE(detail::ScoreAccess::PaintPending(*score));
    EXPECT_TRUE(events->log.empty());

    // Pagination without a window only reads the group mark.
    score->CreateDefault();
    score->AllGlobals()->Add(0, evtGroupMark);
    detail::ScoreAccess::StartPagination(*score);
    EXPECT_TRUE(detail::ScoreAccess::HasGroupMark(*score));
    EXPECT_FALSE(score->Paginating());
    EXPECT_FALSE(PaginationTimerRunning());
}

TEST_F(ScorePaint, PaginationRestartsFromTheCurrentPageWhenAsked) {
    NewScore();
    score->CreateDefault();
    Attach();
    detail::ScoreAccess::CurTimeSet(*score, 128);
    const int64_t before = Headless().VirtualTimeMs();
    detail::ScoreAccess::StartPagination(*score, true);
    EXPECT_TRUE(score->Paginating());
    EXPECT_EQ(score->LastPage(), 0);
    EXPECT_EQ(detail::ScoreAccess::LayoutFromPage(*score), 1);
    EXPECT_EQ(detail::ScoreAccess::LayoutFromTime(*score), 128);
    Headless().ProcessPendingEvents();
    EXPECT_EQ(Headless().VirtualTimeMs() - before, 180);
    EXPECT_FALSE(score->Paginating());
    EXPECT_EQ(score->LastPage(), 1);
}

TEST_F(ScorePaint, StartingOneScoresPaginationStopsAnothersAndItsPaintDoesNotWaitForever) {
    NewScore();
    score->CreateDefault();
    auto surface = Attach();
    auto other = Score::Create();
    other->SetWindow(std::make_shared<RecordingSurface>());

    detail::ScoreAccess::StartPagination(*score);
    detail::ScoreAccess::StartPagination(*other);
    EXPECT_TRUE(score->Paginating());  // its timer was taken over
    score->PaintWindow();
    EXPECT_EQ(surface->Count("Cls"), 1u);
    EXPECT_TRUE(score->Paginating());
}

TEST_F(ScorePaint, APaintRequestedFromInsideAPaintIsIgnored) {
    struct RepaintsOnClear : EventLog {
        Score* target = nullptr;
        void WindowCleared() override {
            EventLog::WindowCleared();
            target->PaintWindow();
            target->SetTitle("Changed while painting");
        }
    };
    NewScore();
    score->CreateDefault();
    auto listener = std::make_shared<RepaintsOnClear>();
    listener->target = score.get();
    score->SetEvents(listener);
    auto surface = std::make_shared<RecordingSurface>();
    score->SetWindow(surface);
    EXPECT_EQ(listener->Count("WindowCleared"), 1u);
    // The title's relayout started inside the paint keeps running after it.
    EXPECT_TRUE(score->Paginating());
    Headless().ProcessPendingEvents();
    EXPECT_FALSE(score->Paginating());
    EXPECT_FALSE(detail::ScoreAccess::Painting(*score));
}

TEST_F(ScorePaint, PageSizesAndOrientation) {
    NewScore();
    auto surface = Attach();
    score->SetPageSize(pgsA4);
    EXPECT_EQ(detail::ScoreAccess::PageHeightTw(*score), 16834);
    EXPECT_DOUBLE_EQ(surface->Width(), 11909.0);

    score->SetPageOrientation(pgeLandscape);
    EXPECT_FLOAT_EQ(score->PageHeight(), 8.27f);
    EXPECT_FLOAT_EQ(score->PageWidth(), 11.69f);
    EXPECT_EQ(detail::ScoreAccess::PageHeightTw(*score),
              16834);  // the paper is stored in the portrait sense
    // The window shows the turned sheet.
    EXPECT_EQ(score->SheetWidthTw(), 16834);
    EXPECT_DOUBLE_EQ(surface->Width(), 16834.0);
    EXPECT_DOUBLE_EQ(surface->Height(), 11909.0);

    // In landscape the height setter addresses the paper's short side, the sheet's height.
    score->SetPageHeight(5.83f);
    EXPECT_EQ(detail::ScoreAccess::PageWidthTw(*score), 8395);
    EXPECT_DOUBLE_EQ(surface->Height(), 8395.0);
    EXPECT_EQ(score->PageSize(), pgsCustom);
    score->SetPageWidth(8.27f);
    EXPECT_EQ(detail::ScoreAccess::PageHeightTw(*score), 11909);
    EXPECT_EQ(score->PageSize(), pgsA5);

    score->SetPageOrientation(pgePortrait);
    score->SetPageWidth(8.5f);
    score->SetPageHeight(14.0f);
    EXPECT_EQ(score->PageSize(), pgsLegal);

    score->SetPageSize(pgsCustom);
    EXPECT_EQ(score->PageSize(), pgsCustom);
    EXPECT_EQ(detail::ScoreAccess::PageHeightTw(*score), 20160);
    score->SetPageSize(6);
    score->SetPageSize(-1);
    EXPECT_EQ(score->PageSize(), pgsCustom);
    EXPECT_FLOAT_EQ(score->Margins(4), 0.0f);
    score->SetMargins(4, 3.0f);
    EXPECT_EQ(detail::ScoreAccess::MarginsTw(*score, 4), 0);
}

TEST_F(ScorePaint, ASmallStaffHeightUsesFewerBeamLines) {
    NewScore();
    score->SetStaffHeight(0.39f);
    EXPECT_EQ(detail::ScoreAccess::StaffHeightTw(*score), 562);
    EXPECT_EQ(detail::ScoreAccess::BeamLines(*score), 3);
    EXPECT_EQ(detail::ScoreAccess::BeamGap(*score), 90);
    score->SetStaffHeight(0.4f);
    EXPECT_EQ(detail::ScoreAccess::BeamLines(*score), 4);
}

TEST_F(ScorePaint, SetColorsUpdatesScoreAndModuleDefaults) {
    NewScore();
    auto surface = Attach();
    score->SetColors(1, 2, PackRGB(100, 200, 10), 4, 5);
    EXPECT_EQ(detail::ScoreAccess::DrawColors(*score).Bars, 2);
    EXPECT_EQ(detail::ScoreAccess::DrawColors(*score).NotesAlt, PackRGB(140, 255, 14));
    EXPECT_EQ(Process().gColorNotesAlt, PackRGB(140, 255, 14));
    EXPECT_EQ(Process().gColorChords, 5);
    EXPECT_EQ(surface->Count("Cls"), 1u);
    EXPECT_EQ(surface->CallsNamed("SetForeColor").back().Numbers[0], 1.0);

    // A window attached later takes the module's colours.
    auto other = Score::Create();  // creation resets the module defaults
    EXPECT_EQ(Process().gColorBars, PackRGB(48, 48, 192));
    EXPECT_EQ(detail::ScoreAccess::DrawColors(*score).Bars, 2);
}

}  // namespace
}  // namespace corvendi::test
