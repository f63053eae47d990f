// The engine's platform on GLib, without a display: engine timers tick on the main context, the
// engine's waits block there only while a timer can fire, and a score paginates and paints
// through it as it would in the studio.
#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Score.h>
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace corvendi::gtk {
namespace {

class GtkPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform = std::make_shared<GtkPlatform>();
        platform->SetAppFolder(CORVENDI_TEST_DATA_DIR);
        SetPlatform(platform);
    }
    void TearDown() override { SetPlatform(nullptr); }

    std::shared_ptr<GtkPlatform> platform;
};

TEST_F(GtkPlatformTest, TimersTickOnTheMainContextUntilStopped) {
    int32_t ticks = 0;
    int32_t id = 0;
    id = platform->StartTimer(5, [&] {
        // Stopping its own timer from inside the callback ends it.
        if (++ticks == 3) platform->StopTimer(id);
    });
    EXPECT_GT(id, 0);
    const auto start = std::chrono::steady_clock::now();
    // Blocks while the timer is armed, so three ticks come without spinning.
    int32_t calls = 0;
    while (platform->EngineTimerCount() > 0 && calls < 100) {
        EXPECT_TRUE(platform->ProcessPendingEvents());
        ++calls;
    }
    EXPECT_EQ(ticks, 3);
    EXPECT_LT(calls, 10);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(14));
    // Nothing armed and nothing pending: the engine's waits give up.
    while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
    EXPECT_FALSE(platform->ProcessPendingEvents());
    EXPECT_EQ(platform->StartTimer(5, {}), 0);
}

TEST_F(GtkPlatformTest, AWaitInsideATimersOwnCallbackDoesNotBlock) {
    bool returned = false;
    int32_t id = 0;
    id = platform->StartTimer(1, [&] {
        // Only this timer is armed and it is firing: nothing could wake a blocking wait.
        g_timeout_add(
            0, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr);
        while (platform->ProcessPendingEvents()) {
        }
        returned = true;
        platform->StopTimer(id);
    });
    RunNestedLoopUntil([&] { return returned; }, std::chrono::milliseconds(2000));
    EXPECT_TRUE(returned);
}

TEST_F(GtkPlatformTest, NestedLoopsEndWhenDoneOrAtTheirTimeOut) {
    bool done = false;
    g_timeout_add(
        10,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &done);
    EXPECT_TRUE(RunNestedLoopUntil([&] { return done; }));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunNestedLoopUntil([] { return false; }, std::chrono::milliseconds(30)));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(30));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
}

TEST_F(GtkPlatformTest, AScorePaginatesAndPaintsOnTheMainLoop) {
    auto score = Score::Create();
    ASSERT_TRUE(score->OpenFile(std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco"));
    auto window =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(), 15);
    score->SetWindow(window);
    // The paint waited for page 1 in real time; the rest is laid out in the background.
    const auto pixels = window->Pixels();
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](int32_t c) { return c != 0xFFFFFF; }),
              10000);
    while (score->Paginating() && platform->ProcessPendingEvents()) {
    }
    EXPECT_FALSE(score->Paginating());
    EXPECT_GE(score->LastPage(), 2);
    // Without a display, message boxes are recorded and dialogs cancelled ...
    EXPECT_FALSE(score->OpenFile("/nonexistent/score.sco"));
    ASSERT_EQ(platform->Messages().size(), 1u);
    EXPECT_EQ(platform->Messages()[0].Title, "Open");
    const int32_t before = score->HighTime();
    score->AddMeasure(1, false, true);
    EXPECT_EQ(score->HighTime(), before);
    // ... and the clipboard is the headless one.
    platform->SetClipboardText("S1:V1@0#0#16#0#60");
    EXPECT_EQ(platform->ClipboardText(), "S1:V1@0#0#16#0#60");
    platform->ClearClipboard();
    EXPECT_EQ(platform->ClipboardText(), "");
}

}  // namespace
}  // namespace corvendi::gtk
