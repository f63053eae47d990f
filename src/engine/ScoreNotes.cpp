// Notes placed by numbers, the end of the music, and the note-editing members (NoteEditor does
// the work).
#include <algorithm>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/EditStep.h"
#include "engine/NoteEditor.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "engine/SelectionEditor.h"
#include "render/PageLayout.h"

namespace corvendi {

std::shared_ptr<Note> Score::AddNote(int32_t Voice, int32_t Time, uint8_t Value, int32_t Duration,
                                     int32_t Flags) {
    if (Voice < 1 || Voice > mVoices->Count()) return nullptr;
    if (mVoice > 1) mState->DrawFlags |= kDrawMultiVoice;
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

void Score::AddNoteByHit(int32_t X, int32_t Y, int32_t Duration, int32_t Flags, int32_t Snap) {
    detail::EditStep step(*this);
    NoteEditor(*this).AddNoteByHit(X, Y, Duration, Flags, Snap);
}

bool Score::OnNote(int32_t X, int32_t Y, int32_t& NoteTime, int32_t& NoteDur) {
    return NoteEditor(*this).OnNote(X, Y, NoteTime, NoteDur);
}

int32_t Score::GetNoteValueByHit(int32_t X, int32_t Y) {
    return NoteEditor(*this).GetNoteValueByHit(X, Y);
}

void Score::AddOrnamentByHit(int32_t X, int32_t Y, int32_t Ornament) {
    detail::EditStep step(*this);
    NoteEditor(*this).AddOrnamentByHit(X, Y, Ornament);
}

bool Score::ChangeLast(int32_t Value, bool Alignment) {
    detail::EditStep step(*this);
    return NoteEditor(*this).ChangeLast(Value, Alignment);
}

int32_t Score::ChangeSel(int32_t NewDur, int32_t NewValue, int32_t StemDir, int32_t Ornaments,
                         bool Del, bool Tie) {
    detail::EditStep step(*this);
    if (Del) return SelectionEditor(*this).DeleteSelected();
    if (Tie) return SelectionEditor(*this).TieSelected();
    return NoteEditor(*this).ChangeSel(NewDur, NewValue, StemDir, Ornaments);
}

void Score::DelNote(int32_t AtTime, int32_t Voice, int32_t Staff) {
    detail::EditStep step(*this);
    NoteEditor(*this).DelNote(AtTime, Voice, Staff);
}

void detail::ScoreAccess::RepaintSystem(Score& s, int32_t regionIndex, bool toEndOfPage,
                                        int32_t measureIndex, int32_t setBits, int32_t clearBits) {
    Layout(s).RepaintSystem(regionIndex, toEndOfPage, measureIndex, setBits, clearBits);
}

void detail::ScoreAccess::RepaintAround(Score& s, int32_t regionIndex, int32_t fromTime,
                                        int32_t toTime, std::span<const uint8_t> gone) {
    Layout(s).RepaintAround(regionIndex, fromTime, toTime, gone);
}

}  // namespace corvendi
