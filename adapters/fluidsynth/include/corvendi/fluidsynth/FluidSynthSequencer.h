// A sequencer (corvendi/Sequencer.h) that plays through libfluidsynth's MIDI player with a
// General MIDI soundfont, to the audio output FluidSynth chooses on the desktop (PipeWire or
// PulseAudio, else ALSA). FluidSynth's own log is silenced; what failed is told by LastError.
//
// FluidSynth plays on its audio thread. The completion notice is taken to the score's thread by
// a platform timer that looks every 50 ms whether the player has finished.
#pragma once

#include <corvendi/MidiFileTiming.h>
#include <corvendi/Platform.h>
#include <corvendi/Sequencer.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace corvendi::fluidsynth {

class FluidSynthSequencer : public Sequencer {
  public:
    // Plays with `soundFont` (a path; see FindSoundFont in SoundFont.h).
    explicit FluidSynthSequencer(std::string soundFont);
    ~FluidSynthSequencer() override;

    bool Open(const std::string& path) override;
    bool SetTimeFormat() override;
    bool Play(int32_t fromTick, bool notifyWhenDone) override;
    int32_t Position() const override;
    void Stop() override;
    void Close() override;

    // What made the last failing call fail, in one line; empty after a success.
    const std::string& LastError() const { return mLastError; }
    // Whether the player has reached the end of the file.
    bool Finished() const;

  private:
    struct Output;
    void StartWatching();
    void StopWatching();
    void Watch();
    bool Fail(std::string error);

    std::string mSoundFont;
    std::unique_ptr<Output> mOutput;
    std::optional<MidiFileTiming> mTiming;
    bool mSongPointer = false;
    bool mNotify = false;
    std::shared_ptr<Platform> mWatchHost;
    int32_t mWatchTimer = 0;
    std::string mLastError;
};

}  // namespace corvendi::fluidsynth
