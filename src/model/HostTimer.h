// A timer object on the host's thread with the usual interval/enabled pair, backed by the
// platform's timers. While enabled with an interval above 0 it calls its handler every interval;
// the handler may disable the timer (a one-shot) or destroy it.
#pragma once

#include <corvendi/Platform.h>

#include <cstdint>
#include <memory>

namespace corvendi {

class HostTimer {
  public:
    HostTimer() = default;
    explicit HostTimer(TimerCallback onTick) : mOnTick(std::move(onTick)) {}
    ~HostTimer();
    HostTimer(const HostTimer&) = delete;
    HostTimer& operator=(const HostTimer&) = delete;

    void SetHandler(TimerCallback onTick) { mOnTick = std::move(onTick); }

    int32_t Interval() const { return mIntervalMs; }
    // Negative intervals are ignored. While enabled, a new interval starts a new period.
    void SetInterval(int32_t intervalMs);

    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool enabled);

    // Whether a platform timer is running for this object.
    bool Armed() const { return mTimerId != 0; }

  private:
    void Rearm();
    void Disarm();
    void Tick();

    TimerCallback mOnTick;
    int32_t mIntervalMs = 0;
    bool mEnabled = false;
    std::shared_ptr<Platform> mHost;  // the platform that runs mTimerId
    int32_t mTimerId = 0;
};

}  // namespace corvendi
