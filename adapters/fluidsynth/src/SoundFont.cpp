#include "corvendi/fluidsynth/SoundFont.h"

#include <cstdlib>
#include <fstream>

namespace corvendi::fluidsynth {

namespace {

bool Readable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char first = 0;
    return in && in.get(first);
}

std::string Joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) text += (text.empty() ? "" : ", ") + path;
    return text;
}

}  // namespace

const std::vector<std::string>& StandardSoundFonts() {
    static const std::vector<std::string> paths = {"/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                                   "/usr/share/sounds/sf2/TimGM6mb.sf2"};
    return paths;
}

std::string FindSoundFont(const std::string& chosen, std::string& lookedFor) {
    if (!chosen.empty()) {
        lookedFor = "the soundfont " + chosen;
        return Readable(chosen) ? chosen : std::string();
    }
    const char* variable = std::getenv("CORVENDI_SOUNDFONT");
    if (variable && *variable) {
        lookedFor = "the soundfont " + std::string(variable) + " (CORVENDI_SOUNDFONT)";
        return Readable(variable) ? std::string(variable) : std::string();
    }
    lookedFor = "a General MIDI soundfont: " + Joined(StandardSoundFonts());
    for (const std::string& path : StandardSoundFonts()) {
        if (Readable(path)) return path;
    }
    return {};
}

}  // namespace corvendi::fluidsynth
