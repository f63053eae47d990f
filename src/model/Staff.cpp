#include "corvendi/Staff.h"

#include "model/ModelAccess.h"

#include "common/Arith.h"
#include "corvendi/DocumentOwner.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "model/SharedRoutines.h"

#include <algorithm>

namespace corvendi {

namespace {

constexpr uint8_t kRepeatMeasureMark = 64;

std::shared_ptr<Instrument> InstrumentOf(const std::shared_ptr<Voice>& voice) {
    return voice ? voice->Instrument() : nullptr;
}

}  // namespace

Staff::Staff() : mGlobals(std::make_shared<corvendi::GlobalEvents>()) {}

void Staff::SetFlags(int16_t flags) {
    const auto kept = static_cast<int16_t>(IMod(flags, 32));
    if (kept != mFlags) mFlags = kept;
}

void Staff::SetGlobalEvents(std::shared_ptr<corvendi::GlobalEvents> events) {
    if (events) mGlobals = std::move(events);
}

int32_t Staff::GroupID() const {
    if (mGroupID < 0) {
        if (auto instrument = InstrumentOf(Voice(1))) return instrument->Group();
    }
    return mGroupID;
}

int32_t Staff::GroupType() const {
    auto instrument = InstrumentOf(Voice(1));
    return instrument ? instrument->Value() : 0;
}

void Staff::SetScalePct(int32_t pct) { mScalePct = std::clamp(pct, 25, 100); }

void Staff::SetSelected(bool selected) {
    if (selected && mParent) {
        if (auto staffs = mParent->AllStaffs()) {
            for (const auto& staff : *staffs) {
                if (staff) staff->mSelected = false;
            }
        }
    }
    mSelected = selected;
}

std::shared_ptr<corvendi::Voice> Staff::AddVoice(
    const std::shared_ptr<corvendi::Instrument>& instrument, const std::string& id) {
    if (Voices() >= kMaxVoices || !instrument || !mParent) return nullptr;
    auto voices = mParent->AllVoices();
    if (!voices) return nullptr;
    const bool idFree = !id.empty() && !voices->Item(id);
    auto voice = voices->Add(idFree ? id : voices->NewID(), instrument, "New Voice");
    if (!voice) return nullptr;
    mVoiceIDs.push_back(voice->ID());
    if (Voices() == 1) mDefaultClef = instrument->DefaultClef();
    return voice;
}

std::shared_ptr<corvendi::Voice> Staff::Voice(int32_t index) const {
    if (index < 1 || index > Voices() || !mParent) return nullptr;
    auto voices = mParent->AllVoices();
    return voices ? voices->Item(mVoiceIDs[static_cast<size_t>(index - 1)]) : nullptr;
}

bool Staff::ValidVoice(const std::string& id) const {
    return std::find(mVoiceIDs.begin(), mVoiceIDs.end(), id) != mVoiceIDs.end();
}

void Staff::Clear() { mVoiceIDs.clear(); }

int32_t Staff::CurClef(int32_t atTime) {
    auto event = mGlobals->Find(atTime, evtClefChange, false, 0);
    if (!event) {
        mClefIx = 1;
        return mDefaultClef;
    }
    mClefIx = event->Index();
    return event->Value1();
}

int32_t Staff::CurKey(int32_t atTime) const {
    auto event = mGlobals->Find(atTime, evtKeyChange, false, 0);
    int32_t key = 0;
    if (event) {
        key = KeyFromByte(event->Value1());
    } else if (mParent) {
        key = mParent->Key();
    }
    if (auto instrument = InstrumentOf(Voice(1))) {
        key += instrument->Pitch();
        if (key > 7) key -= 8;
        if (key < -7) key += 8;
    }
    return key;
}

int32_t Staff::NextChange(int32_t duration) {
    const int32_t count = mGlobals->Count();
    if (mClefIx < 1 || mClefIx > count) return -1;
    auto from = mGlobals->ByIndex(mClefIx);
    if (!from) return -1;
    const int64_t limit = static_cast<int64_t>(duration) + from->EventTime();
    while (true) {
        ++mClefIx;
        if (mClefIx > count) return -1;
        auto event = mGlobals->ByIndex(mClefIx);
        if (!event || event->EventTime() > limit) return -1;
        if (event->EventType() == evtClefChange) return event->EventTime();
    }
}

bool Staff::SameAsLast(int32_t atTime) const {
    // The exact search gives the first section event at atTime; later ones at the same time
    // follow it in the list.
    auto event = mGlobals->Find(atTime, evtSectionDefine, true, 0);
    if (!event) return false;
    for (int32_t i = event->Index(); i <= mGlobals->Count(); ++i) {
        auto candidate = mGlobals->ByIndex(i);
        if (!candidate || candidate->EventTime() != atTime) break;
        if (candidate->EventType() == evtSectionDefine && candidate->Value1() == kRepeatMeasureMark)
            return true;
    }
    return false;
}

int32_t Staff::ForceFlag(int32_t startTime, int32_t stopTime, int32_t curVoice) const {
    if (Voices() < 2) return 0;
    const bool onOddVoice = curVoice == 1 || curVoice == 3;
    const int32_t firstOther = onOddVoice ? 2 : 1;
    for (int32_t other = firstOther; other <= kMaxVoices; other += 2) {
        auto voice = Voice(other);
        if (!voice) continue;
        auto notes = voice->Notes();
        if (!notes) continue;
        auto note = notes->Item(stopTime, true, false);
        if (note && note->NoteTime() >= startTime) return onOddVoice ? stmForceUp : stmForceDown;
    }
    return 0;
}

}  // namespace corvendi
