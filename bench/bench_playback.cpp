// Playback at scale:
// - the whole MIDI event stream of a 250,000-note score (16 staffs over 2,000 measures of 4/4,
//   every third beat in sixteenths, the others quarters, one chord of three keys per measure)
//   drained through GetMIDIEvent;
// - the bundled example rendered to a WAV file through FluidSynth with TimGM6mb (when the
//   adapter is built and the soundfont installed); the counter `x_realtime` is the music's
//   length over the CPU time the render took.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

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

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 2000;
constexpr int32_t kNotesPerStaff = 250'000 / kStaffs;

std::shared_ptr<Score> SyntheticScore() {
    ResetProcessState();
    auto score = Score::Create();
    score->AllGlobals()->Add(0, evtTimeChange, 4, 16);
    const auto staffs = score->AllStaffs();
    const auto instruments = score->AllInstruments();
    for (int32_t s = 0; s < kStaffs; ++s) {
        auto staff =
            staffs->Add(staffs->NewID(), "Staff " + std::to_string(s + 1), std::nullopt, true);
        auto notes = staff->AddVoice(instruments->Add(instruments->NewID(), 40 + s))->Notes();
        int32_t count = 0;
        for (int32_t beat = 0; beat < kMeasures * 4 && count < kNotesPerStaff; ++beat) {
            const bool sixteenths = beat % 3 == 0;
            const int32_t step = sixteenths ? durSixteenth : durQuarter;
            for (int32_t t = 0; t < durQuarter && count < kNotesPerStaff; t += step, ++count) {
                const auto key = static_cast<uint8_t>(48 + (beat + s) % 24);
                notes->Add(beat * durQuarter + t, key, step, 0);
                if (beat % 4 == 1) notes->Add(beat * durQuarter + t, key + 4, step, 0);
            }
        }
    }
    return score;
}

void BM_DrainEventStream(benchmark::State& state) {
    const auto score = SyntheticScore();
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
