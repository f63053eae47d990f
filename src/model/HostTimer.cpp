#include "model/HostTimer.h"

namespace corvendi {

HostTimer::~HostTimer() { Disarm(); }

void HostTimer::SetInterval(int32_t intervalMs) {
    if (intervalMs < 0) return;
    mIntervalMs = intervalMs;
    Rearm();
}

void HostTimer::SetEnabled(bool enabled) {
    if (enabled == mEnabled) return;
    mEnabled = enabled;
    Rearm();
}

void HostTimer::Rearm() {
    Disarm();
    if (!mEnabled || mIntervalMs <= 0) return;
    mHost = CurrentPlatformPtr();
    mTimerId = mHost->StartTimer(mIntervalMs, [this] { Tick(); });
    if (mTimerId == 0) mHost.reset();
}

void HostTimer::Disarm() {
    if (mTimerId != 0 && mHost) mHost->StopTimer(mTimerId);
    mTimerId = 0;
    mHost.reset();
}

void HostTimer::Tick() {
    if (!mOnTick) return;
    // The handler may destroy this object; run a copy and touch nothing afterwards.
    TimerCallback onTick = mOnTick;
    onTick();
}

}  // namespace corvendi
