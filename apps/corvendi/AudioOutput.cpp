// corvendi render IN -o song.wav: the score's playback MIDI file rendered offline.
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "Host.h"
#include "Sound.h"

#ifdef CORVENDI_WITH_FLUIDSYNTH
#include <corvendi/fluidsynth/AudioRender.h>
#include <corvendi/fluidsynth/SoundFont.h>
#endif

namespace corvendi::cli {

bool IsAudioOutput(const std::string& output) {
    std::string extension = std::filesystem::path(output).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".wav" || extension == ".flac" || extension == ".ogg" ||
           extension == ".oga";
}

#ifdef CORVENDI_WITH_FLUIDSYNTH

std::string SoundFontFor(const Host& host, const CommandLine& line) {
    std::string lookedFor;
    const std::string soundFont = fluidsynth::FindSoundFont(line.SoundFont, lookedFor);
    if (soundFont.empty()) host.Error("no soundfont found: looked for " + lookedFor);
    return soundFont;
}

int RunRenderAudio(const CommandLine& line) {
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

#else

int RunRenderAudio(const CommandLine& line) {
    Host host(HostOptions{15, line.Quiet, line.FixedClock});
    host.Error(line.Output + ": this corvendi was built without sound (libfluidsynth)");
    return kExitFile;
}

#endif

}  // namespace corvendi::cli
