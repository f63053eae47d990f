#include "corvendi/Voice.h"

#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"

namespace corvendi {

Voice::Voice() { Adopt(std::make_shared<corvendi::Notes>()); }

Voice::~Voice() { Release(); }

void Voice::Adopt(const std::shared_ptr<corvendi::Notes>& notes) {
    mNotes = notes;
    mNotes->SetParent(this);
}

// The notes may outlive the voice in a host's hands; they must not point back to it then.
void Voice::Release() {
    if (mNotes && mNotes->Parent() == this) mNotes->SetParent(nullptr);
}

void Voice::SetNotes(std::shared_ptr<corvendi::Notes> notes) {
    if (!notes || notes == mNotes) return;
    Release();
    Adopt(notes);
}

void Voice::Clear() {
    Release();
    Adopt(std::make_shared<corvendi::Notes>());
}

void Voice::SetParent(DocumentOwner* parent) {
    mParent = parent;
    mNotes->SetParent(this);
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
        mNextIx = mNotes->CurIndex();
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
