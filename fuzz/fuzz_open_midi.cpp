// Feeds arbitrary bytes to Score::OpenFile as a MIDI file ("MThd" is put in front of inputs that
// do not start with it). A score that imports is exported again, both as a file and as the
// playback file, and the export is imported once more, so that whatever the reader makes also
// goes through the writer.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzScratch.h"
#include "corvendi/Enums.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "io/MidiFiles.h"
#include "model/ProcessState.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = corvendi::fuzz::MakeScratchFolder("open-midi");
    return folder;
}

using corvendi::fuzz::WriteFile;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvendi::ResetProcessState();
    if (auto* headless = dynamic_cast<corvendi::HeadlessPlatform*>(&corvendi::CurrentPlatform())) {
        headless->SetFixedTime(corvendi::TimeOfDay{12, 0, 0});
    }

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string file =
        input.substr(0, 4) == "MThd" ? std::string(input) : "MThd" + std::string(input);
    const std::filesystem::path path = ScratchFolder() / "input.mid";
    WriteFile(path, file);

    auto score = corvendi::Score::Create();
    if (score->OpenFile(path.string())) {
        const std::string copy = (ScratchFolder() / "copy.mid").string();
        corvendi::SaveMidiFile(*score, (ScratchFolder() / "play.mid").string(), true);
        if (score->SaveFile(copy, corvendi::fmtMIDI)) {
            auto again = corvendi::Score::Create();
            again->OpenFile(copy);
        }
    }
    static volatile int32_t sink;
    sink = score->Staffs() + static_cast<int32_t>(score->Title().size());
    return 0;
}
