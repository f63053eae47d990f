// Loads the sound module (corvendi-sound.so) when a command needs it: beside the program in
// a build folder, else in <libdir>/corvendi of the prefix the program was installed into.
#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Sound.h"

namespace corvendi::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kModuleName = "corvendi-sound.so";

std::vector<fs::path> ModuleCandidates() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const fs::path folder = program.parent_path();
    return {folder / kModuleName, folder / CORVENDI_SOUND_MODULE_FROM_BIN / kModuleName};
}

// The module's entry point `name`; null, with one line on standard error, when there is no
// module or it cannot be loaded.
CorvendiSoundEntry SoundEntry(const char* name) {
    std::string why = "this corvendi was built without sound (libfluidsynth)";
    for (const fs::path& candidate : ModuleCandidates()) {
        std::error_code error;
        if (!fs::exists(candidate, error)) continue;
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* text = dlerror();
            why = "sound is not available: " + std::string(text ? text : candidate.string());
            break;
        }
        if (auto entry = reinterpret_cast<CorvendiSoundEntry>(dlsym(module, name))) return entry;
        why = "sound is not available: " + candidate.string() + " has no " + name;
        break;
    }
    std::fprintf(stderr, "corvendi: %s\n", why.c_str());
    return nullptr;
}

}  // namespace

bool IsAudioOutput(const std::string& output) {
    std::string extension = fs::path(output).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".wav" || extension == ".flac" || extension == ".ogg" ||
           extension == ".oga";
}

int RunPlay(const CommandLine& line) {
    const auto entry = SoundEntry("corvendi_sound_play");
    return entry ? entry(&line) : kExitFile;
}

int RunRenderAudio(const CommandLine& line) {
    const auto entry = SoundEntry("corvendi_sound_render");
    return entry ? entry(&line) : kExitFile;
}

}  // namespace corvendi::cli
