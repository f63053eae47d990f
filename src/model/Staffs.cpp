#include "corvendi/Staffs.h"

#include "corvendi/DocumentOwner.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "model/ModelAccess.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace corvendi {

namespace {

// The instrument a new score's first staff plays.
constexpr int16_t kFirstStaffCatalogueEntry = 74;

// Slots of the measure map: one per tick of the longest measure.
constexpr int32_t kMeasureSlots = 96;

// Marks in the measure map.
constexpr uint8_t kSlotFree = 0;
constexpr uint8_t kSlotSounding = 1;
constexpr uint8_t kSlotNoteStart = 2;

using MeasureMap = std::array<uint8_t, kMeasureSlots>;

void MarkNotesOfVoice(const std::shared_ptr<Voice>& voice, int32_t atTime, int32_t span,
                      MeasureMap& map) {
    auto notes = voice ? voice->Notes() : nullptr;
    if (!notes) return;
    const int64_t end = static_cast<int64_t>(atTime) + span;
    for (auto note = notes->Item(atTime, false, false); note && note->NoteTime() < end;
         note = notes->NextItem()) {
        const int64_t offset = static_cast<int64_t>(note->NoteTime()) - atTime;
        if (offset < 0 || offset >= span) continue;
        const int64_t stop = std::min<int64_t>(offset + note->Duration(), span);
        map[static_cast<size_t>(offset)] = kSlotNoteStart;
        for (int64_t k = offset + 1; k < stop; ++k) {
            auto& slot = map[static_cast<size_t>(k)];
            if (slot == kSlotFree) slot = kSlotSounding;
        }
    }
}

// Counts the note starts, plus one slot for a free tick that precedes (in time) a note start,
// possibly with sounding ticks in between.
int32_t CountSlots(const MeasureMap& map, int32_t span) {
    constexpr int32_t kAfterNoteStart = 3;
    int32_t count = 0;
    int32_t carry = 0;
    for (int32_t k = span - 1; k >= 0; --k) {
        const int32_t slot = map[static_cast<size_t>(k)];
        if (slot == kSlotNoteStart) {
            ++count;
            carry = kAfterNoteStart;
        } else if (carry + slot == kAfterNoteStart) {
            ++count;
            carry = 0;
        }
    }
    return count;
}

int32_t Magnitude(int32_t key) {
    return static_cast<int32_t>(std::min<int64_t>(std::abs(static_cast<int64_t>(key)),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

Staffs::Staffs(DocumentOwner* parent) : mParent(parent) {}

Staffs::~Staffs() {
    for (const auto& staff : mList) detail::StaffAccess::SetParent(*staff, nullptr);
}

std::shared_ptr<Staff> Staffs::Item(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return mList[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Staff> Staffs::Item(const std::string& id) const {
    const int32_t position = PositionOf(id);
    return position < 0 ? nullptr : mList[static_cast<size_t>(position)];
}

int32_t Staffs::ItemCount(int32_t atTime, int32_t duration) const {
    const int32_t span = std::clamp(duration, 0, kMeasureSlots);
    MeasureMap map{};
    for (const auto& staff : mList) {
        for (int32_t v = 1; v <= staff->Voices(); ++v)
            MarkNotesOfVoice(staff->Voice(v), atTime, span, map);
    }
    int32_t count = std::max(CountSlots(map, span), 5);
    return count - count % 2;
}

int32_t Staffs::KeyCount(int32_t atTime, int32_t duration) const {
    const int64_t lastTick = static_cast<int64_t>(atTime) + duration - 1;
    const auto at = static_cast<int32_t>(std::clamp<int64_t>(
        lastTick, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    int32_t largest = mParent ? Magnitude(mParent->Key()) : 0;
    for (const auto& staff : mList) largest = std::max(largest, Magnitude(staff->CurKey(at)));
    return largest;
}

std::shared_ptr<Staff> detail::StaffsAccess::Add(Staffs& s, const std::string& id,
                                                 const std::string& description,
                                                 std::optional<int32_t> index, bool noVoice) {
    if (s.PositionOf(id) >= 0) return nullptr;
    const int32_t position =
        s.mList.empty() ? 1 : std::clamp(index.value_or(s.Count() + 1), 1, s.Count() + 1);

    std::shared_ptr<Instrument> instrument;
    if (!noVoice) {
        if (s.mList.empty()) {
            auto instruments = s.mParent ? s.mParent->AllInstruments() : nullptr;
            if (instruments)
                instrument = instruments->Add(instruments->NewID(), kFirstStaffCatalogueEntry);
        } else {
            const auto& neighbour = s.mList[static_cast<size_t>(position == 1 ? 0 : position - 2)];
            if (auto voice = neighbour->Voice(1)) instrument = voice->Instrument();
        }
    }

    auto staff = std::make_shared<Staff>();
    StaffAccess::SetParent(*staff, s.mParent);
    StaffAccess::IDSet(*staff, id);
    StaffAccess::IndexSet(*staff, position);
    staff->SetDescription(description);
    if (!noVoice) staff->AddVoice(instrument);

    s.mList.insert(s.mList.begin() + (position - 1), staff);
    s.Renumber();
    return s.mList[static_cast<size_t>(position - 1)];
}

std::string Staffs::NewID() const {
    const auto now = CurrentPlatform().Now();
    // "hhnnss" read as a number: the hour's leading zero is lost.
    int64_t n = static_cast<int64_t>(now.Hour) * 10000 + static_cast<int64_t>(now.Minute) * 100 +
                now.Second;
    std::string candidate = "S" + std::to_string(n);
    while (PositionOf(candidate) >= 0) candidate = "S" + std::to_string(++n);
    return candidate;
}

int32_t Staffs::PositionOf(const std::string& id) const {
    for (size_t i = 0; i < mList.size(); ++i) {
        if (mList[i]->ID() == id) return static_cast<int32_t>(i);
    }
    return -1;
}

void Staffs::RemoveAt(int32_t position) {
    const auto it = mList.begin() + position;
    detail::StaffAccess::SetParent(*(*it), nullptr);
    mList.erase(it);
    Renumber();
}

void Staffs::ReplaceAt(int32_t position, const std::shared_ptr<Staff>& staff) {
    if (!staff) return;
    const int32_t holder = PositionOf(staff->ID());
    if (holder >= 0 && holder != position) return;
    auto& slot = mList[static_cast<size_t>(position)];
    if (slot != staff) detail::StaffAccess::SetParent(*slot, nullptr);
    slot = staff;
    detail::StaffAccess::SetParent(*staff, mParent);
    detail::StaffAccess::IndexSet(*staff, position + 1);
}

void Staffs::Renumber() {
    for (size_t i = 0; i < mList.size(); ++i)
        detail::StaffAccess::IndexSet(*mList[i], static_cast<int32_t>(i + 1));
}

}  // namespace corvendi
