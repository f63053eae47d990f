#include "StudioTiming.h"

#include <cstdio>
#include <cstdlib>

namespace corvendi::studio {

namespace {
// Taken while the program's statics are set up, before main: the start of the program.
const StudioTiming::Clock::time_point kProgramStart = StudioTiming::Clock::now();

double MillisecondsSince(StudioTiming::Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(StudioTiming::Clock::now() - from).count();
}
}  // namespace

StudioTiming::StudioTiming()
    : mEnabled(std::getenv("CORVENDI_STUDIO_TIMING") != nullptr), mStart(kProgramStart) {}

void StudioTiming::Mark(const std::string& what) {
    if (mEnabled)
        std::fprintf(stderr, "timing: %s %.1f ms after start\n", what.c_str(),
                     MillisecondsSince(mStart));
}

void StudioTiming::Begin(const std::string& what) {
    if (mEnabled) mPending.emplace(what, Clock::now());
}

void StudioTiming::Step(const std::string& what) {
    if (mEnabled && mPending) {
        std::fprintf(stderr, "timing:   %s done after %.2f ms\n", what.c_str(),
                     MillisecondsSince(mPending->second));
    }
}

void StudioTiming::Drawn(double drawMs, bool pageShown) {
    if (!mEnabled) return;
    if (pageShown && !mFirstPageReported) {
        mFirstPageReported = true;
        std::fprintf(stderr, "timing: start to first page drawn %.1f ms (draw %.2f ms)\n",
                     MillisecondsSince(mStart), drawMs);
    }
    if (mPending) {
        std::fprintf(stderr, "timing: %s to the end of the draw handler %.2f ms (draw %.2f ms)\n",
                     mPending->first.c_str(), MillisecondsSince(mPending->second), drawMs);
        mDrawn = mPending;
        mPending.reset();
    }
}

void StudioTiming::Painted() {
    if (!mEnabled || !mDrawn) return;
    std::fprintf(stderr, "timing: %s to the frame on screen %.2f ms\n", mDrawn->first.c_str(),
                 MillisecondsSince(mDrawn->second));
    mDrawn.reset();
}

}  // namespace corvendi::studio
