// The FluidSynth adapter for real: the example rendered to WAV and analysed; soundfont look-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "corvendi/GlobalEvents.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/MidiFileTiming.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "corvendi/fluidsynth/AudioRender.h"
#include "corvendi/fluidsynth/SoundFont.h"
#include "model/ProcessState.h"

namespace corvendi::test {
namespace {

namespace fs = std::filesystem;
using namespace corvendi::fluidsynth;

const std::string kTimGM = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The samples of a 16-bit PCM WAV file, channels interleaved.
struct Wav {
    int32_t Channels = 0;
    int32_t SampleRate = 0;
    std::vector<int16_t> Samples;

    double Seconds() const {
        return Channels ? static_cast<double>(Samples.size()) / Channels / SampleRate : 0;
    }
};

uint32_t Little(const std::string& bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;) value = value * 256 + static_cast<uint8_t>(bytes[at + i]);
    return value;
}

Wav ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Wav wav;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return wav;
    }
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t length = std::min<size_t>(Little(bytes, at + 4, 4), bytes.size() - at - 8);
        if (id == "fmt " && length >= 16) {
            wav.Channels = static_cast<int32_t>(Little(bytes, at + 10, 2));
            wav.SampleRate = static_cast<int32_t>(Little(bytes, at + 12, 4));
            EXPECT_EQ(Little(bytes, at + 22, 2), 16u);
        } else if (id == "data") {
            wav.Samples.resize(length / 2);
            for (size_t i = 0; i < wav.Samples.size(); ++i) {
                wav.Samples[i] = static_cast<int16_t>(Little(bytes, at + 8 + 2 * i, 2));
            }
        }
        at += 8 + length + (length & 1);
    }
    return wav;
}

// Loudness (RMS of both channels) in windows of 10 ms.
std::vector<double> Envelope(const Wav& wav) {
    const size_t window = static_cast<size_t>(wav.SampleRate / 100) * wav.Channels;
    std::vector<double> envelope;
    for (size_t start = 0; start + window <= wav.Samples.size(); start += window) {
        double sum = 0;
        for (size_t i = start; i < start + window; ++i)
            sum += double(wav.Samples[i]) * wav.Samples[i];
        envelope.push_back(std::sqrt(sum / window));
    }
    return envelope;
}

class FluidSynthAdapter : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        dynamic_cast<HeadlessPlatform&>(CurrentPlatform()).SetAppFolder(CORVENDI_TEST_DATA_DIR);
        folder = fs::temp_directory_path() / ("corvendi-fluidsynth-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        score.reset();
        fs::remove_all(folder);
        ResetProcessState();
    }

    std::shared_ptr<Score> score;
    fs::path folder;
};

TEST_F(FluidSynthAdapter, TheExampleRendersToAWavAsLongAsItsMidiFileWithOnsetsAtItsNotes) {
    if (!fs::exists(kTimGM)) GTEST_SKIP() << "timgm6mb-soundfont is not installed";
    score = Score::Create();
    ASSERT_TRUE(score->OpenFile(std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco"));
    const std::string out = (folder / "example.wav").string();
    const RenderResult result = RenderScore(*score, out, kTimGM);
    ASSERT_TRUE(result.Ok) << result.Error;

    const Wav wav = ReadWav(out);
    ASSERT_EQ(wav.Channels, 2);
    ASSERT_EQ(wav.SampleRate, 44100);
    EXPECT_EQ(static_cast<int64_t>(wav.Samples.size()) / 2, result.Frames);
    // The length: the exported file's own duration (by its tempo events) plus at most 1 s.
    const auto timing = MidiFileTiming::ReadFile(score->PlayFile());
    ASSERT_TRUE(timing);
    const double midiSeconds = timing->DurationMicroseconds() / 1e6;
    EXPECT_GE(wav.Seconds(), midiSeconds - 0.02);
    EXPECT_LE(wav.Seconds(), midiSeconds + 1.02);

    const std::vector<double> envelope = Envelope(wav);
    EXPECT_GT(*std::max_element(envelope.begin(), envelope.end()), 1000.0);  // not silent

    // The onsets of the first two measures against their note starts. The synthesizer
    // answers a note-on within about 30 ms; a loud voice can hide a quiet voice's note, so
    // most starts (not all) must show a rise, and every steep rise must follow a start.
    std::set<int32_t> starts;
    const int32_t twoMeasures = score->AllGlobals()->MeasureTime(3);
    for (const auto& voice : *score->AllVoices()) {
        for (const auto& note : *voice->Notes()) {
            if (note->NoteTime() < twoMeasures) starts.insert(note->NoteTime());
        }
    }
    ASSERT_GE(starts.size(), 4u);
    auto windowAt = [&](int32_t scoreTick) {
        const int64_t us = timing->MicrosecondsAt(timing->FromScoreTicks(scoreTick));
        return static_cast<size_t>(us / 10'000);
    };
    constexpr size_t kAnswer = 6;   // windows of 10 ms in which a started note is heard
    constexpr size_t kAttack = 10;  // windows in which its attack may still be rising
    std::vector<bool> nearStart(windowAt(twoMeasures) + 1, false);
    size_t heard = 0;
    for (const int32_t start : starts) {
        const size_t at = windowAt(start);
        ASSERT_LT(at + kAnswer, envelope.size());
        for (size_t i = at; i < std::min(at + kAttack, nearStart.size()); ++i) nearStart[i] = true;
        const double after =
            *std::max_element(envelope.begin() + at + 1, envelope.begin() + at + kAnswer);
        if (after > envelope[at] * 1.15 + 50) ++heard;
    }
    EXPECT_GE(heard * 3, starts.size() * 2) << heard << " of " << starts.size() << " starts heard";
    for (size_t i = 3; i < nearStart.size(); ++i) {
        const bool steepRise = envelope[i] > envelope[i - 3] * 1.5 + 100;
        EXPECT_TRUE(!steepRise || nearStart[i]) << "a rise at " << i * 10 << " ms without a note";
    }
}

TEST_F(FluidSynthAdapter, AMissingSoundFontIsReportedNotLoaded) {
    score = Score::Create();
    score->CreateDefault();
    std::string lookedFor;
    const std::string missing = (folder / "none.sf2").string();
    EXPECT_EQ(FindSoundFont(missing, lookedFor), "");
    EXPECT_EQ(lookedFor, "the soundfont " + missing);
    const RenderResult result = RenderScore(*score, (folder / "x.wav").string(), missing);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error.find('\n'), std::string::npos);
    EXPECT_NE(result.Error.find(missing), std::string::npos);

    setenv("CORVENDI_SOUNDFONT", missing.c_str(), 1);
    EXPECT_EQ(FindSoundFont("", lookedFor), "");
    EXPECT_NE(lookedFor.find("CORVENDI_SOUNDFONT"), std::string::npos);
    unsetenv("CORVENDI_SOUNDFONT");
    const std::string standard = FindSoundFont("", lookedFor);
    if (!standard.empty()) {
        EXPECT_NE(std::find(StandardSoundFonts().begin(), StandardSoundFonts().end(), standard),
                  StandardSoundFonts().end());
    }
}

}  // namespace
}  // namespace corvendi::test
