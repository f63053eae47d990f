// The sequencer of the headless platform: it plays nothing. Play starts a platform timer for the
// time the file takes from the start point; positions follow the platform's virtual clock, and
// when the timer fires playing has ended and the completion notice goes out. A test or a
// headless host thus runs a whole play-and-stop cycle by processing pending events, without
// sound and without sleeping.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "corvendi/MidiFileTiming.h"
#include "corvendi/Sequencer.h"

namespace corvendi {

class HeadlessPlatform;

class VirtualSequencer : public Sequencer {
  public:
    explicit VirtualSequencer(std::weak_ptr<HeadlessPlatform> platform);
    ~VirtualSequencer() override;

    bool Open(const std::string& path) override;
    bool SetTimeFormat() override;
    bool Play(int32_t fromTick, bool notifyWhenDone) override;
    int32_t Position() const override;
    void Stop() override;
    void Close() override;

    // Whether the file is playing now (not yet at its end, not stopped).
    bool IsPlaying() const { return mTimerId != 0; }
    const std::string& OpenPath() const { return mPath; }

  private:
    int64_t NowMs() const;
    int64_t SoundingMicroseconds() const;
    void StopTimer();
    void Finish();

    std::weak_ptr<HeadlessPlatform> mPlatform;
    std::optional<MidiFileTiming> mTiming;
    std::string mPath;
    bool mSongPointer = false;
    bool mNotify = false;
    int32_t mTimerId = 0;
    int64_t mStartMicroseconds = 0;  // file time where playing started
    int64_t mStartMs = 0;            // virtual clock when it started
    int64_t mStoppedMicroseconds = 0;
};

}  // namespace corvendi
