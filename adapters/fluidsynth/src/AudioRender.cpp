#include "corvendi/fluidsynth/AudioRender.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <vector>

#include "FluidLog.h"
#include "SynthInstance.h"
#include "corvendi/FileName.h"
#include "corvendi/MidiFileTiming.h"
#include "corvendi/Score.h"

namespace corvendi::fluidsynth {

namespace {

constexpr int32_t kSampleRate = 44'100;
constexpr int32_t kBlockFrames = 256;
constexpr int32_t kLongestRelease = kSampleRate;     // notes still sounding fade for at most 1 s
constexpr int32_t kShortestFile = kSampleRate / 10;  // a score without notes: 0.1 s of silence

const char* FileTypeName(AudioFormat format) {
    switch (format) {
        case AudioFormat::Wav: return "wav";
        case AudioFormat::Flac: return "flac";
        case AudioFormat::Ogg: return "oga";
        default: return nullptr;
    }
}

void CollectOption(void* data, const char*, const char* option) {
    static_cast<std::vector<std::string>*>(data)->push_back(option);
}

struct FileRendererDeleter {
    void operator()(fluid_file_renderer_t* renderer) const { delete_fluid_file_renderer(renderer); }
};
struct PlayerDeleter {
    void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
};

void ConfigureFileOutput(fluid_settings_t* settings, const std::string& outPath,
                         AudioFormat format) {
    fluid_settings_setstr(settings, "audio.file.name", outPath.c_str());
    fluid_settings_setstr(settings, "audio.file.type", FileTypeName(format));
    fluid_settings_setstr(settings, "audio.file.format", "s16");
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setint(settings, "audio.period-size", kBlockFrames);
}

RenderResult Failure(std::string error) {
    RenderResult result;
    result.Error = std::move(error);
    return result;
}

}  // namespace

AudioFormat AudioFormatOf(const std::string& path) {
    const std::string extension = FileExtension(path);
    if (extension == ".wav") return AudioFormat::Wav;
    if (extension == ".flac") return AudioFormat::Flac;
    if (extension == ".ogg" || extension == ".oga") return AudioFormat::Ogg;
    return AudioFormat::None;
}

bool AudioFormatAvailable(AudioFormat format) {
    const char* name = FileTypeName(format);
    if (!name) return false;
    SilenceFluidLog();
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return false;
    std::vector<std::string> types;
    fluid_settings_foreach_option(settings, "audio.file.type", &types, CollectOption);
    delete_fluid_settings(settings);
    return std::find(types.begin(), types.end(), name) != types.end();
}

RenderResult RenderMidiFile(const std::string& midiPath, const std::string& outPath,
                            const std::string& soundFont) {
    const AudioFormat format = AudioFormatOf(outPath);
    if (!AudioFormatAvailable(format)) {
        return Failure(outPath + ": FluidSynth cannot write this kind of audio file here");
    }
    std::string error;
    const auto instance = SynthInstance::Create(
        soundFont,
        [&](fluid_settings_t* settings) { ConfigureFileOutput(settings, outPath, format); }, error);
    if (!instance) return Failure(error);

    std::unique_ptr<fluid_player_t, PlayerDeleter> player(new_fluid_player(instance->Synth()));
    if (!player || fluid_player_add(player.get(), midiPath.c_str()) != FLUID_OK) {
        return Failure(midiPath + ": the MIDI file could not be read");
    }
    std::unique_ptr<fluid_file_renderer_t, FileRendererDeleter> renderer(
        new_fluid_file_renderer(instance->Synth()));
    if (!renderer) return Failure(outPath + ": the audio file could not be written");
    if (fluid_player_play(player.get()) != FLUID_OK) {
        return Failure(midiPath + ": the MIDI file could not be played");
    }

    // The player lingers after the last event; the file's own end is where the music stops.
    const auto timing = MidiFileTiming::ReadFile(midiPath);
    if (!timing) return Failure(midiPath + ": the MIDI file could not be read");
    const int64_t endFrames = timing->DurationMicroseconds() * kSampleRate / 1'000'000;

    RenderResult result;
    result.SampleRate = kSampleRate;
    auto renderBlock = [&] {
        if (fluid_file_renderer_process_block(renderer.get()) != FLUID_OK) return false;
        result.Frames += kBlockFrames;
        return true;
    };
    while (result.Frames < endFrames &&
           fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
        if (!renderBlock()) return Failure(outPath + ": the audio file could not be written");
    }
    for (int64_t release = 0; release < kLongestRelease; release += kBlockFrames) {
        const bool sounding = fluid_synth_get_active_voice_count(instance->Synth()) > 0;
        if (!sounding && result.Frames >= kShortestFile) break;
        if (!renderBlock()) return Failure(outPath + ": the audio file could not be written");
    }
    // Deleting the renderer completes the file's header.
    renderer.reset();
    result.Ok = true;
    return result;
}

RenderResult RenderScore(Score& score, const std::string& outPath, const std::string& soundFont) {
    const std::string midi = score.WritePlayFile();
    if (midi.empty()) return Failure("the score's MIDI file could not be written");
    return RenderMidiFile(midi, outPath, soundFont);
}

}  // namespace corvendi::fluidsynth
