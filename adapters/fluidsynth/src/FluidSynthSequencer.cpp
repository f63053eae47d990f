#include "corvendi/fluidsynth/FluidSynthSequencer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <utility>

#include "FluidLog.h"
#include "SynthInstance.h"

namespace corvendi::fluidsynth {

namespace {

constexpr int32_t kWatchPeriodMs = 50;

}  // namespace

// The synthesizer, the sound card's driver and the player of one open file. The driver goes
// first: it stops the audio thread before what it plays from is taken away.
struct FluidSynthSequencer::Output {
    std::unique_ptr<SynthInstance> Instance;
    fluid_audio_driver_t* Driver = nullptr;
    fluid_player_t* Player = nullptr;

    ~Output() {
        if (Driver) delete_fluid_audio_driver(Driver);
        if (Player) {
            fluid_player_stop(Player);
            delete_fluid_player(Player);
        }
    }
};

FluidSynthSequencer::FluidSynthSequencer(std::string soundFont)
    : mSoundFont(std::move(soundFont)) {}

FluidSynthSequencer::~FluidSynthSequencer() { Close(); }

bool FluidSynthSequencer::Fail(std::string error) {
    mLastError = std::move(error);
    mOutput.reset();
    mTiming.reset();
    return false;
}

bool FluidSynthSequencer::Open(const std::string& path) {
    Close();
    mLastError.clear();
    mTiming = MidiFileTiming::ReadFile(path);
    if (!mTiming) return Fail(path + ": not a MIDI file that can be read");
    auto output = std::make_unique<Output>();
    std::string error;
    output->Instance = SynthInstance::Create(mSoundFont, {}, error);
    if (!output->Instance) return Fail(error);
    output->Player = new_fluid_player(output->Instance->Synth());
    if (!output->Player || fluid_player_add(output->Player, path.c_str()) != FLUID_OK) {
        return Fail(path + ": FluidSynth could not read the MIDI file");
    }
    output->Driver =
        new_fluid_audio_driver(output->Instance->Settings(), output->Instance->Synth());
    if (!output->Driver) {
        const std::string reason = TakeFluidError();
        return Fail("no audio device could be opened" +
                    (reason.empty() ? "" : " (" + reason + ")"));
    }
    mOutput = std::move(output);
    mSongPointer = false;
    return true;
}

bool FluidSynthSequencer::SetTimeFormat() {
    if (!mOutput) return false;
    mSongPointer = true;
    return true;
}

bool FluidSynthSequencer::Play(int32_t fromTick, bool notifyWhenDone) {
    if (!mOutput) return false;
    const int64_t fileTick = mSongPointer ? mTiming->FromScoreTicks(fromTick)
                                          : mTiming->TickAt(int64_t{fromTick} * 1000);
    const auto start = static_cast<int>(std::clamp<int64_t>(fileTick, 0, mTiming->EndTick()));
    if (fluid_player_play(mOutput->Player) != FLUID_OK) {
        mLastError = "FluidSynth could not start playing";
        return false;
    }
    if (start > 0) fluid_player_seek(mOutput->Player, start);
    mNotify = notifyWhenDone;
    if (mNotify) StartWatching();
    return true;
}

int32_t FluidSynthSequencer::Position() const {
    if (!mOutput) return -1;
    const int64_t tick = Finished() ? mTiming->EndTick()
                                    : std::max(0, fluid_player_get_current_tick(mOutput->Player));
    const int64_t position =
        mSongPointer ? mTiming->ToScoreTicks(tick) : mTiming->MicrosecondsAt(tick) / 1000;
    return static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX));
}

bool FluidSynthSequencer::Finished() const {
    return mOutput && fluid_player_get_status(mOutput->Player) == FLUID_PLAYER_DONE;
}

void FluidSynthSequencer::Stop() {
    StopWatching();
    if (mOutput) fluid_player_stop(mOutput->Player);
}

void FluidSynthSequencer::Close() {
    StopWatching();
    mOutput.reset();
    mTiming.reset();
}

void FluidSynthSequencer::StartWatching() {
    StopWatching();
    mWatchHost = CurrentPlatformPtr();
    mWatchTimer = mWatchHost->StartTimer(kWatchPeriodMs, [this] { Watch(); });
}

void FluidSynthSequencer::StopWatching() {
    if (mWatchTimer != 0 && mWatchHost) mWatchHost->StopTimer(mWatchTimer);
    mWatchTimer = 0;
    mWatchHost.reset();
}

void FluidSynthSequencer::Watch() {
    if (!Finished()) return;
    StopWatching();
    // The handler may destroy this sequencer: nothing after it.
    NotifyDone();
}

}  // namespace corvendi::fluidsynth
