// Notes placed by numbers, and the end of the music.
#include <algorithm>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"

namespace corvendi {

namespace {

// Layout flag: voices beyond the first hold notes.
constexpr int32_t kDrawFlagMultiVoice = 4;

}  // namespace

std::shared_ptr<Note> Score::AddNote(int32_t Voice, int32_t Time, uint8_t Value, int32_t Duration,
                                     int32_t Flags) {
    if (Voice < 1 || Voice > mVoices->Count()) return nullptr;
    if (mVoice > 1) mState->DrawFlags |= kDrawFlagMultiVoice;
    auto voice = mVoices->Item(Voice);
    auto notes = voice ? voice->Notes() : nullptr;
    if (!notes) return nullptr;
    auto note = notes->Add(Time, Value, Duration, Flags);
    detail::ScoreAccess::RaiseHighNoteTime(*this, Time);
    SetChanged(true);
    return note;
}

int32_t Score::HighTime() const {
    if (mVoices->Count() == 0) return 0;
    int32_t high = INT32_MIN;
    for (const auto& voice : *mVoices) {
        auto notes = voice ? voice->Notes() : nullptr;
        // A voice without notes counts as time 0.
        auto last = notes ? notes->ByIndex(notes->Count()) : nullptr;
        high = std::max(high, last ? last->NoteTime() : 0);
    }
    return high;
}

}  // namespace corvendi
