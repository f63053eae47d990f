// Feeds arbitrary bytes to the paste of Score::GetClipboard as clipboard text ("S1:" is put in
// front of inputs that do not look like copied notes, so that the reader gets past its
// acceptance test). What pasted is then copied and pasted again, so that whatever the reader
// accepts also goes through the writer, and the paste is taken back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ClipboardText.h"
#include "engine/ScoreAccess.h"
#include "model/ProcessState.h"

namespace {

constexpr size_t kMaxCopied = 1000;

// One score for every input: a default document, undone back to empty after each paste. It is
// never destroyed: at exit the thread's engine state (its undo histories) goes before static
// objects, and a score destroyed after it would reach into that state.
corvendi::Score& Scratch() {
    static const auto* const score = new std::shared_ptr<corvendi::Score>([] {
        corvendi::ResetProcessState();
        auto& headless = dynamic_cast<corvendi::HeadlessPlatform&>(corvendi::CurrentPlatform());
        headless.SetFixedTime(corvendi::TimeOfDay{12, 0, 0});
        auto created = corvendi::Score::Create();
        created->CreateDefault();
        return created;
    }());
    return **score;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvendi::Score& score = Scratch();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string text =
        corvendi::detail::IsNoteText(input) ? std::string(input) : "S1:" + std::string(input);
    corvendi::Platform& platform = corvendi::CurrentPlatform();
    platform.SetClipboardText(text);
    score.GetClipboard();
    // Without a drawn page there is nothing to select by a rectangle: the notes are selected
    // directly.
    auto& state = corvendi::detail::ScoreAccess::State(score);
    const auto voice = score.Staff(1)->Voice(1);
    for (const auto& note : *voice->Notes()) {
        if (state.Selected.size() >= kMaxCopied) break;
        state.Selected.push_back(note);
        state.SelVoiceIDs.push_back(voice->ID());
        state.SelStaffs.push_back(1);
    }
    if (score.PutClipboard(false) > 0) score.GetClipboard();
    score.ClearSelection();
    while (score.CanUndo()) score.Undo();
    return 0;
}
