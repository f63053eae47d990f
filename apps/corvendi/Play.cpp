// corvendi play IN: the score on the sound card through FluidSynth, the measure now sounding
// shown on the terminal, stopped cleanly by Ctrl-C.
#include <corvendi/GlobalEvents.h>
#include <corvendi/ScoreEvents.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "Host.h"
#include "Sound.h"

#include <corvendi/fluidsynth/FluidSynthSequencer.h>
#include <corvendi/fluidsynth/SoundFont.h>

namespace corvendi::cli {

namespace {

constexpr auto kLookEvery = std::chrono::milliseconds(50);

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) { gInterrupted = true; }

// Ctrl-C and a termination request end the playing loop instead of the program.
class InterruptGuard {
  public:
    InterruptGuard() {
        gInterrupted = false;
        mOldInt = std::signal(SIGINT, OnInterrupt);
        mOldTerm = std::signal(SIGTERM, OnInterrupt);
    }
    ~InterruptGuard() {
        std::signal(SIGINT, mOldInt);
        std::signal(SIGTERM, mOldTerm);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

  private:
    void (*mOldInt)(int) = nullptr;
    void (*mOldTerm)(int) = nullptr;
};

struct PlayListener : ScoreEvents {
    bool Done = false;
    void PlayDone() override { Done = true; }
};

int32_t MeasureOf(Score& score, int32_t tick) {
    return score.AllGlobals()->MeasureInfo(std::max(tick, 0)).Number;
}

}  // namespace

int PlayOnSoundCard(const CommandLine& line) {
    Host host(HostOptions{15, line.Quiet, line.FixedClock});
    const std::string soundFont = SoundFontFor(host, line);
    if (soundFont.empty()) return kExitFile;
    auto score = host.NewScore();
    if (!host.Open(*score, line.Operands[0])) return kExitFile;

    const int32_t measures = MeasureOf(*score, score->HighTime());
    const int32_t from = line.FromMeasure.value_or(1);
    if (from > measures) {
        std::fprintf(stderr, "corvendi: --from %d: the score has %d measure%s\n", from, measures,
                     measures == 1 ? "" : "s");
        return kExitUsage;
    }

    fluidsynth::FluidSynthSequencer* sequencer = nullptr;
    host.Platform()->SetSequencerFactory([&] {
        auto made = std::make_unique<fluidsynth::FluidSynthSequencer>(soundFont);
        sequencer = made.get();
        return made;
    });
    auto listener = std::make_shared<PlayListener>();
    score->SetEvents(listener);
    InterruptGuard interruptGuard;
    score->PlayScore(false, true, 0, score->AllGlobals()->MeasureTime(from));
    if (!score->Playing()) {
        const std::string why = sequencer ? sequencer->LastError() : std::string();
        host.Error(why.empty() ? "the score could not be played" : why);
        return kExitFile;
    }

    int32_t shown = 0;
    while (!listener->Done && !gInterrupted) {
        std::this_thread::sleep_for(kLookEvery);
        host.Platform()->ProcessPendingEvents();
        const int32_t measure = MeasureOf(*score, score->PlayPosition());
        if (measure != shown) {
            shown = measure;
            host.Progress("playing " + score->Title() + ": measure " + std::to_string(measure) +
                          " of " + std::to_string(measures));
        }
    }
    score->PlayScore(true);
    host.EndProgress();
    if (gInterrupted) std::printf("stopped at measure %d of %d\n", shown, measures);
    return kExitOk;
}

}  // namespace corvendi::cli

extern "C" __attribute__((visibility("default"))) int corvendi_sound_play(
    const corvendi::cli::CommandLine* line) {
    return corvendi::cli::PlayOnSoundCard(*line);
}
