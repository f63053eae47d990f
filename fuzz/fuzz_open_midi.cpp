// Feeds arbitrary bytes to Score::OpenFile as a MIDI file ("MThd" is put in front of inputs that
// do not start with it). A score that imports is exported again, both as a file and as the
// playback file, and the export is imported once more, so that whatever the reader makes also
// goes through the writer. The imported score's MIDI event stream is drained (up to a bound) and
// the playback file's timing read back.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzScratch.h"
#include "corvendi/Enums.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/MIDIEvent.h"
#include "corvendi/MidiFileTiming.h"
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

volatile int32_t sink;

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
        const std::string play = (ScratchFolder() / "play.mid").string();
        if (corvendi::SaveMidiFile(*score, play, true)) {
            const auto timing = corvendi::MidiFileTiming::ReadFile(play);
            if (timing) sink = static_cast<int32_t>(timing->DurationMicroseconds() & 1);
        }
        constexpr int32_t kMostEvents = 100'000;  // a long import need not be heard to the end
        int32_t events = score->GetMIDIEvent(0) ? 1 : 0;
        while (events < kMostEvents && score->GetMIDIEvent()) ++events;
        if (score->SaveFile(copy, corvendi::fmtMIDI)) {
            auto again = corvendi::Score::Create();
            again->OpenFile(copy);
        }
    }
    sink = score->Staffs() + static_cast<int32_t>(score->Title().size());
    return 0;
}
