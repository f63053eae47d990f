#include "corvendi/Voice.h"

#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "model/ModelAccess.h"

namespace corvendi {

Voice::Voice() { Adopt(std::make_shared<corvendi::Notes>()); }

Voice::~Voice() { Release(); }

void Voice::Adopt(const std::shared_ptr<corvendi::Notes>& notes) {
    mNotes = notes;
    detail::NotesAccess::SetParent(*mNotes, this);
}

// The notes may outlive the voice in a host's hands; they must not point back to it then.
void Voice::Release() {
    if (mNotes && detail::NotesAccess::Parent(*mNotes) == this)
        detail::NotesAccess::SetParent(*mNotes, nullptr);
}

void Voice::SetNotes(std::shared_ptr<corvendi::Notes> notes) {
    if (!notes || notes == mNotes) return;
    Release();
    Adopt(notes);
}

void detail::VoiceAccess::Clear(Voice& v) {
    v.Release();
    v.Adopt(std::make_shared<corvendi::Notes>());
}

void detail::VoiceAccess::SetParent(Voice& v, DocumentOwner* parent) {
    v.mParent = parent;
    NotesAccess::SetParent(*v.mNotes, &v);
}

std::shared_ptr<Instrument> Voice::Instrument() const {
    if (mInstrumentID.empty() || !mParent) return nullptr;
    const auto instruments = mParent->AllInstruments();
    return instruments ? instruments->Item(mInstrumentID) : nullptr;
}

void Voice::GetInit(int32_t startTime) {
    mProgramPending = true;
    if (const auto first = mNotes->Item(startTime)) {
        mNextTime = first->NoteTime();
        mNextIx = detail::NotesAccess::CurIndex(*mNotes);
    } else {
        mNextTime = -1;
    }
}

std::shared_ptr<Note> Voice::GetNext() {
    if (mNextTime == -1) return nullptr;
    auto note = mNotes->ByIndex(mNextIx);
    ++mNextIx;
    const auto following = mNotes->ByIndex(mNextIx);
    mNextTime = (note && following) ? following->NoteTime() : -1;
    return note;
}

}  // namespace corvendi
