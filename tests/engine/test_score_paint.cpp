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

TEST_F(ScorePaint, ANewResolutionLaysTheScoreOutAsIfItHadStartedWithIt) {
    auto zoomedPage = [this](bool startZoomed) {
        Headless().SetTwipsPerPixel(startZoomed ? 6 : 15, startZoomed ? 6 : 15);
        NewScore();
        score->CreateDefault();
        for (int32_t t = 0; t < 256; t += 16) score->AddNote(1, t, uint8_t(60 + t / 16), 16, 0);
        auto surface = Attach();
        if (!startZoomed) {
            score->SetTwipsPerPixel(0, 6);  // ignored
            EXPECT_EQ(score->TwipsToPixelsX(60), 4);
            score->SetTwipsPerPixel(6, 6);
            EXPECT_FALSE(score->Paginating());
            EXPECT_GT(surface->Count("Cls"), 0u);
        }
        surface->ClearCalls();
        score->PaintWindow();
        EXPECT_EQ(score->TwipsToPixelsX(60), 10);
        EXPECT_EQ(Process().gTwipsPerPixelY, 6);
        return surface->Transcript();
    };
    const std::string zoomed = zoomedPage(false);
    EXPECT_EQ(zoomed, zoomedPage(true));
}

TEST_F(ScorePaint, APaintLaysOutThePagesBeforeItsOwnAtOnceInsteadOfATickApart) {
    NewScore();
    score->CreateDefault();
    for (int32_t t = 0; t < 64 * 256; t += 16) score->AddNote(1, t, 60, 16, 0);
    auto surface = Attach();
    while (score->Paginating() && Headless().ProcessPendingEvents()) {
    }
    ASSERT_GE(score->LastPage(), 3);
    auto lines = [&surface] {
        std::vector<std::vector<double>> drawn;
        for (const auto& call : surface->CallsNamed("Line")) drawn.push_back(call.Numbers);
        return drawn;
    };
    surface->ClearCalls();
    score->SetCurPage(3);
    const auto settled = lines();

    detail::ScoreAccess::StartPagination(*score, false);
    surface->ClearCalls();
    const int64_t before = Headless().VirtualTimeMs();
    score->PaintWindow();
    EXPECT_EQ(Headless().VirtualTimeMs(), before);
    EXPECT_TRUE(score->Paginating());
    EXPECT_EQ(detail::ScoreAccess::LayoutFromPage(*score), 4);
    EXPECT_EQ(lines(), settled);
}

}  // namespace
}  // namespace corvendi::test
