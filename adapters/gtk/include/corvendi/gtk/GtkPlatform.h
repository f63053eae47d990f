// The engine's platform on GTK and GLib, for desktop hosts.
//
// - Timers run on the thread's default GLib main context, so the engine's pagination and event
//   stream tick while the host's main loop runs.
// - ProcessPendingEvents runs one iteration of that context. While an engine timer is armed (and
//   not inside its own callback) it blocks until something is dispatched, so the engine's waits
//   make progress; otherwise it only dispatches what is ready and returns false when that was
//   nothing.
// - Message boxes and dialogs are modal for the engine: they run a nested main loop until the
//   user closes them, and timers keep ticking meanwhile. Each message box is also recorded, as
//   on the headless platform. Without a display they are recorded only and dialogs are
//   cancelled.
// - Recent documents go to GTK's recent-files manager.
// - The clipboard is the desktop clipboard (text); a read waits at most two seconds.
#pragma once

#include <corvendi/HeadlessPlatform.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace Gtk {
class Window;
}

namespace corvendi::gtk {

class GtkPlatform : public HeadlessPlatform {
  public:
    GtkPlatform();
    ~GtkPlatform() override;

    // The first monitor's size, when there is a display.
    int32_t ScreenWidthTw() const override;
    int32_t ScreenHeightTw() const override;

    int32_t StartTimer(int32_t periodMs, TimerCallback callback) override;
    void StopTimer(int32_t timerId) override;
    bool ProcessPendingEvents() override;
    // Timers armed now, including one whose callback is running.
    int32_t EngineTimerCount() const { return static_cast<int32_t>(mTimers.size()); }

    void AddToRecentDocs(const std::string& path) override;
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;

    // The desktop clipboard as text. A read waits for the text in a nested main loop and gives
    // up after two seconds (an owner that does not answer), with "" as the text. Without a
    // display they keep to the headless platform's clipboard.
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void ClearClipboard() override;

    // The window message boxes and dialogs belong to; nullptr for none.
    void SetParentWindow(std::function<Gtk::Window*()> parent);
    Gtk::Window* ParentWindow() const;

    // True when GTK has a display to show windows on.
    static bool HasDisplay();

  private:
    struct Timer;
    static int OnTick(void* data);
    bool AnyTimerCanFire() const;

    std::map<int32_t, std::unique_ptr<Timer>> mTimers;
    int32_t mLastTimerId = 0;
    std::function<Gtk::Window*()> mParent;
};

// Runs the thread's default main context until `done` returns true or `timeout` has passed;
// false on time-out. Timers and input go on being dispatched meanwhile.
bool RunNestedLoopUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds::max());

}  // namespace corvendi::gtk
