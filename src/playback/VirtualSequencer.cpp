#include "playback/VirtualSequencer.h"

#include <algorithm>

#include "corvendi/HeadlessPlatform.h"

namespace corvendi {

VirtualSequencer::VirtualSequencer(std::weak_ptr<HeadlessPlatform> platform)
    : mPlatform(std::move(platform)) {}

VirtualSequencer::~VirtualSequencer() { StopTimer(); }

bool VirtualSequencer::Open(const std::string& path) {
    Close();
    mTiming = MidiFileTiming::ReadFile(path);
    if (!mTiming) return false;
    mPath = path;
    mSongPointer = false;
    mStoppedMicroseconds = 0;
    return true;
}

bool VirtualSequencer::SetTimeFormat() {
    if (!mTiming) return false;
    mSongPointer = true;
    return true;
}

bool VirtualSequencer::Play(int32_t fromTick, bool notifyWhenDone) {
    const auto platform = mPlatform.lock();
    if (!mTiming || !platform) return false;
    StopTimer();
    const int64_t fileTick = mSongPointer ? mTiming->FromScoreTicks(fromTick)
                                          : mTiming->TickAt(int64_t{fromTick} * 1000);
    const int64_t duration = mTiming->DurationMicroseconds();
    mStartMicroseconds = std::clamp<int64_t>(mTiming->MicrosecondsAt(fileTick), 0, duration);
    mStoppedMicroseconds = mStartMicroseconds;
    mStartMs = platform->VirtualTimeMs();
    mNotify = notifyWhenDone;
    // Whole milliseconds, rounded up so that the end is reached when the timer fires.
    const int64_t remainingMs = (duration - mStartMicroseconds + 999) / 1000;
    mTimerId = platform->StartTimer(
        static_cast<int32_t>(std::clamp<int64_t>(remainingMs, 1, INT32_MAX)), [this] { Finish(); });
    return mTimerId != 0;
}

int64_t VirtualSequencer::NowMs() const {
    const auto platform = mPlatform.lock();
    return platform ? platform->VirtualTimeMs() : mStartMs;
}

int64_t VirtualSequencer::SoundingMicroseconds() const {
    if (!IsPlaying()) return mStoppedMicroseconds;
    const int64_t sounding = mStartMicroseconds + (NowMs() - mStartMs) * 1000;
    return std::min(sounding, mTiming->DurationMicroseconds());
}

int32_t VirtualSequencer::Position() const {
    if (!mTiming) return -1;
    const int64_t microseconds = SoundingMicroseconds();
    const int64_t position =
        mSongPointer ? mTiming->ToScoreTicks(mTiming->TickAt(microseconds)) : microseconds / 1000;
    return static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX));
}

void VirtualSequencer::Stop() {
    if (!IsPlaying()) return;
    mStoppedMicroseconds = SoundingMicroseconds();
    StopTimer();
}

void VirtualSequencer::Close() {
    StopTimer();
    mTiming.reset();
    mPath.clear();
}

void VirtualSequencer::StopTimer() {
    if (mTimerId == 0) return;
    if (const auto platform = mPlatform.lock()) platform->StopTimer(mTimerId);
    mTimerId = 0;
}

void VirtualSequencer::Finish() {
    mStoppedMicroseconds = mTiming ? mTiming->DurationMicroseconds() : 0;
    StopTimer();
    // The handler may destroy this sequencer: nothing after it.
    if (mNotify) NotifyDone();
}

}  // namespace corvendi
