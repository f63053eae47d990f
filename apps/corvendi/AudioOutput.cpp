// corvendi render IN -o song.wav: the score's playback MIDI file rendered offline.
#include <cstdio>
#include <filesystem>

#include "Host.h"
#include "Sound.h"

#include <corvendi/fluidsynth/AudioRender.h>
#include <corvendi/fluidsynth/SoundFont.h>

namespace corvendi::cli {

std::string SoundFontFor(const Host& host, const CommandLine& line) {
    std::string lookedFor;
    const std::string soundFont = fluidsynth::FindSoundFont(line.SoundFont, lookedFor);
    if (soundFont.empty()) host.Error("no soundfont found: looked for " + lookedFor);
    return soundFont;
}

int RenderToAudioFile(const CommandLine& line) {
    Host host(HostOptions{15, line.Quiet, line.FixedClock});
    const std::string soundFont = SoundFontFor(host, line);
    if (soundFont.empty()) return kExitFile;
    auto score = host.NewScore();
    if (!host.Open(*score, line.Operands[0])) return kExitFile;
    host.Progress("rendering " + line.Output);
    const fluidsynth::RenderResult result = fluidsynth::RenderScore(*score, line.Output, soundFont);
    host.EndProgress();
    if (!result.Ok) {
        host.Error(result.Error);
        return kExitFile;
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(line.Output, error);
    std::printf("wrote %s (%.1f s)\n", error ? line.Output.c_str() : absolute.c_str(),
                static_cast<double>(result.Frames) / result.SampleRate);
    return kExitOk;
}

}  // namespace corvendi::cli

extern "C" __attribute__((visibility("default"))) int corvendi_sound_render(
    const corvendi::cli::CommandLine* line) {
    return corvendi::cli::RenderToAudioFile(*line);
}
