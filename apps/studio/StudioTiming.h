// Timings of the studio's own work, printed to standard error when CORVENDI_STUDIO_TIMING is
// set: start to the first page drawn, a click on the page to the end of the draw that
// shows it, and each redraw after scrolling or zooming.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace corvendi::studio {

class StudioTiming {
  public:
    using Clock = std::chrono::steady_clock;

    StudioTiming();
    bool Enabled() const { return mEnabled; }

    // A point of the start-up reached: reports the time since the program started.
    void Mark(const std::string& what);
    // Something the next draw will show; `what` names it in the report.
    void Begin(const std::string& what);
    // A part of the work begun, done: reports its time since Begin.
    void Step(const std::string& what);
    // The end of the draw handler that showed the page: reports what it showed. `drawMs` is
    // the handler's own time.
    void Drawn(double drawMs, bool pageShown);
    // The frame of that draw is on screen.
    void Painted();

  private:
    bool mEnabled = false;
    Clock::time_point mStart;
    bool mFirstPageReported = false;
    std::optional<std::pair<std::string, Clock::time_point>> mPending;
    std::optional<std::pair<std::string, Clock::time_point>> mDrawn;  // awaiting its frame
};

}  // namespace corvendi::studio
