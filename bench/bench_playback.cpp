// Playback at scale:
// - the whole MIDI event stream of a 250,000-note score (16 staffs over 2,000 measures of 4/4,
//   every third beat in sixteenths, the others quarters, one chord of two keys per measure)
//   drained through GetMIDIEvent;
// - the bundled example rendered to a WAV file through FluidSynth with TimGM6mb (when the
//   adapter is built and the soundfont installed); the counter `x_realtime` is the music's
//   length over the CPU time the render took.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "SyntheticScores.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Instruments.h"
#include "corvendi/MIDIEvent.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "model/ProcessState.h"

#ifdef CORVENDI_BENCH_FLUIDSYNTH
#include "corvendi/fluidsynth/AudioRender.h"
#endif

namespace corvendi {
namespace {

void BM_DrainEventStream(benchmark::State& state) {
    const auto score = bench::QuarterAndSixteenthScore(true);
    int64_t events = 0;
    for (auto _ : state) {
        events = score->GetMIDIEvent(0) ? 1 : 0;
        while (const auto event = score->GetMIDIEvent()) ++events;
    }
    state.counters["events"] = static_cast<double>(events);
    state.SetItemsProcessed(state.iterations() * events);
}
BENCHMARK(BM_DrainEventStream)->Unit(benchmark::kMillisecond);

#ifdef CORVENDI_BENCH_FLUIDSYNTH

void BM_RenderExampleToWav(benchmark::State& state) {
    const std::string soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!std::filesystem::exists(soundFont)) {
        state.SkipWithError("timgm6mb-soundfont is not installed");
        return;
    }
    ResetProcessState();
    auto score = Score::Create();
    score->OpenFile(std::string(CORVENDI_BENCH_DATA_DIR) + "/examples/example.sco");
    const auto out = std::filesystem::temp_directory_path() / "corvendi-bench-example.wav";
    double seconds = 0;
    for (auto _ : state) {
        const auto result = fluidsynth::RenderScore(*score, out.string(), soundFont);
        if (!result.Ok) state.SkipWithError(result.Error.c_str());
        seconds = static_cast<double>(result.Frames) / result.SampleRate;
    }
    std::filesystem::remove(out);
    state.counters["audio_s"] = seconds;
    state.counters["x_realtime"] = benchmark::Counter(
        seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderExampleToWav)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
}  // namespace corvendi
