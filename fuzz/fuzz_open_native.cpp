// Feeds arbitrary bytes to Score::OpenFile as a score file ("Qx00" is put in front of inputs
// that do not start with it). A score that loads is saved and opened again, so that whatever
// the reader accepts also goes through the writer.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "FuzzScratch.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "model/InstrumentCatalog.h"
#include "model/ProcessState.h"

namespace {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = corvendi::fuzz::MakeScratchFolder("open-native");
    return folder;
}

using corvendi::fuzz::WriteFile;

// The instrument catalogue is read once; new scores then find no data folder, which keeps a
// score's creation cheap (the catalogue stays as read, the chord mapper knows no chords).
void SetUpOnce() {
    static const bool done = [] {
        corvendi::ResetProcessState();
        auto& headless = dynamic_cast<corvendi::HeadlessPlatform&>(corvendi::CurrentPlatform());
        corvendi::ReadInstrumentCatalog(headless.AppFolder());
        const auto empty = ScratchFolder() / "no-data";
        std::filesystem::create_directories(empty);
        headless.SetAppFolder(empty.string());
        headless.SetFixedTime(corvendi::TimeOfDay{12, 0, 0});
        return true;
    }();
    (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetUpOnce();
    auto& headless = dynamic_cast<corvendi::HeadlessPlatform&>(corvendi::CurrentPlatform());
    headless.ClearMessages();

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string file =
        input.substr(0, 4) == "Qx00" ? std::string(input) : "Qx00" + std::string(input);
    const std::filesystem::path path = ScratchFolder() / "input.sco";
    WriteFile(path, file);

    auto score = corvendi::Score::Create();
    if (score->OpenFile(path.string())) {
        const std::string copy = (ScratchFolder() / "copy.sco").string();
        if (score->SaveFile(copy)) {
            auto again = corvendi::Score::Create();
            again->OpenFile(copy);
        }
    }
    static volatile int32_t sink;
    sink = score->Staffs() + static_cast<int32_t>(score->Title().size());
    return 0;
}
