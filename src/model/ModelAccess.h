// The engine's way into the document model: the members the collections, the file readers, the
// layout and playback set and read that a host may not. Each public model class names its
// accessor a friend; every engine file that needs such a member goes through these static
// functions. This header is not installed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/MIDIEvent.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"

namespace corvendi::detail {

// Everything a note stores but the drawing position the layout records.
struct NoteValues {
    int32_t Time = 0;
    int16_t Duration = 0;
    int32_t Flags = 0;
    uint8_t Bits = 0;
    std::vector<uint8_t> Values;
    uint8_t ValueCount = 0;
    uint8_t ValueUB = 0;

    bool operator==(const NoteValues&) const = default;
};

// Set by the owning Notes only.
struct NoteAccess {
    static void DurationSet(Note& n, uint8_t duration) { n.mDuration = duration; }
    static void FlagsSet(Note& n, int32_t flags) { n.mFlags = flags; }
    static void NoteTimeSet(Note& n, int32_t noteTime) { n.mNoteTime = noteTime; }
    static NoteValues Values(const Note& n) {
        return {n.mNoteTime, n.mDuration, n.mFlags, n.mBits, n.mValues, n.mValueCount, n.mValueUB};
    }
    static void SwapValues(Note& n, NoteValues& v) {
        std::swap(n.mNoteTime, v.Time);
        std::swap(n.mDuration, v.Duration);
        std::swap(n.mFlags, v.Flags);
        std::swap(n.mBits, v.Bits);
        std::swap(n.mValues, v.Values);
        std::swap(n.mValueCount, v.ValueCount);
        std::swap(n.mValueUB, v.ValueUB);
    }
};

// Used by the owning voice, the file readers and the editor.
struct NotesAccess {
    static void Clear(Notes& n) {
        n.mList.clear();
        n.mCursor = 0;
    }
    static int32_t CurIndex(const Notes& n) { return n.mCursor; }
    static Voice* Parent(const Notes& n) { return n.mParent; }
    static void SetParent(Notes& n, Voice* parent) { n.mParent = parent; }
    // Puts `note` in place of the note starting exactly at `atTime`; `note` takes that time.
    // False, with nothing changed, when no note starts at `atTime`, `note` is null or `note` is
    // already in this list.
    static bool SetItem(Notes& n, int32_t atTime, const std::shared_ptr<Note>& note);
    // Moves every note starting at or after `fromTime` later by `span` ticks (an empty span
    // inserted there). The caller keeps the moved times within 32 bits.
    static void InsertSpan(Notes& n, int32_t fromTime, int32_t span);
    // For taking edits back: puts notes (ascending times) into the list where their times
    // belong, skipping one whose time is taken; takes these very notes out of the list; moves
    // every note starting at or after `fromTime` by `delta` ticks.
    static void PutIn(Notes& n, const std::vector<std::shared_ptr<Note>>& block);
    static void TakeOut(Notes& n, const std::vector<std::shared_ptr<Note>>& block);
    static void Shift(Notes& n, int32_t fromTime, int32_t delta);
};

// What a voice stores as part of the document.
struct VoiceValues {
    std::string Description;
    std::string ID;
    std::string InstrumentID;
    int32_t Track = 0;
    std::shared_ptr<corvendi::Notes> Notes;

    bool operator==(const VoiceValues&) const = default;
};

// Used by the voice collection, the staffs, the file readers and playback.
struct VoiceAccess {
    static VoiceValues Values(const Voice& v) {
        return {v.mDescription, v.mID, v.mInstrumentID, v.mTrack, v.mNotes};
    }
    // The notes that leave the voice no longer point back to it.
    static void SwapValues(Voice& v, VoiceValues& values) {
        std::swap(v.mDescription, values.Description);
        std::swap(v.mID, values.ID);
        std::swap(v.mInstrumentID, values.InstrumentID);
        std::swap(v.mTrack, values.Track);
        if (values.Notes == v.mNotes || !values.Notes) return;
        v.Release();
        auto notes = std::move(values.Notes);
        values.Notes = v.mNotes;
        v.Adopt(notes);
    }
    // Gives the voice a new, empty Notes.
    static void Clear(Voice& v);
    // NoteTime of the note GetNext returns next, -1 when none is left.
    static int32_t GetNextTime(const Voice& v) { return v.mNextTime; }
    static void IDSet(Voice& v, std::string id) { v.mID = std::move(id); }
    static void SetInstrumentID(Voice& v, std::string id) { v.mInstrumentID = std::move(id); }
    static DocumentOwner* Parent(const Voice& v) { return v.mParent; }
    static void SetParent(Voice& v, DocumentOwner* parent);
    // Set by GetInit; playback sends a program change first and clears it.
    static bool ProgramPending(const Voice& v) { return v.mProgramPending; }
    static void SetProgramPending(Voice& v, bool pending) { v.mProgramPending = pending; }
};

// The owning score of the voices.
struct VoicesAccess {
    static Voices::List& Items(Voices& v) { return v.mList; }
    static DocumentOwner* Parent(const Voices& v) { return v.mParent; }
    // Also becomes the owner of every voice in the collection.
    static void SetParent(Voices& v, DocumentOwner* parent) {
        v.mParent = parent;
        for (const auto& voice : v.mList) VoiceAccess::SetParent(*voice, parent);
    }
};

// What an instrument stores as part of the document; the range by its values.
struct InstrumentValues {
    int32_t Category = 0;
    int16_t Channel = 0;
    int32_t DefaultClef = 0;
    std::string Description;
    std::array<int16_t, Instrument::kDrumSlots> DrumCode{};
    std::array<int16_t, Instrument::kDrumSlots> DrumValue{};
    std::string ID;
    int16_t Offset = 0;
    int16_t Pitch = 0;
    int16_t Value = 0;
    int32_t RangeLow = 0;
    int32_t RangeHigh = 0;

    bool operator==(const InstrumentValues&) const = default;
};

// Set by Instruments::Add, the file readers and the staff dialog.
struct InstrumentAccess {
    static InstrumentValues Values(const Instrument& i) {
        return {i.mCategory,
                i.mChannel,
                i.mDefaultClef,
                i.mDescription,
                i.mDrumCode,
                i.mDrumValue,
                i.mID,
                i.mOffset,
                i.mPitch,
                i.mValue,
                i.mRange ? i.mRange->Low() : 0,
                i.mRange ? i.mRange->High() : 0};
    }
    static void SwapValues(Instrument& i, InstrumentValues& v);
    static void IDSet(Instrument& i, std::string id) { i.mID = std::move(id); }
    static DocumentOwner* Parent(const Instrument& i) { return i.mParent; }
    static void SetParent(Instrument& i, DocumentOwner* parent) { i.mParent = parent; }
    // Any value; catDrums also moves the instrument to channel 9 and empties the drum map.
    static void CategorySet(Instrument& i, int32_t category);
    static void ChannelSet(Instrument& i, int32_t channel);  // 0..15
    static void DefaultClefSet(Instrument& i, int32_t clef) { i.mDefaultClef = clef; }
    static void DescriptionSet(Instrument& i, std::string text) {
        i.mDescription = std::move(text);
    }
    static void OffsetSet(Instrument& i, int32_t semitones);  // -12..12; drums any 16-bit value
    static void PitchSet(Instrument& i, int32_t keySteps);    // -7..7
    static void ValueSet(Instrument& i, int32_t program);     // 0..127
    // A null range is ignored.
    static void SetRange(Instrument& i, std::shared_ptr<corvendi::Range> range) {
        if (range) i.mRange = std::move(range);
    }
};

// The owning score of the instruments.
struct InstrumentsAccess {
    static Instruments::List& Items(Instruments& i) { return i.mList; }
    // Like Instruments::Add, but a new instrument even when another plays the same program, so
    // that instruments read back stay as distinct as they were saved. Nothing for an ID in use,
    // an entry outside the catalogue or a full collection.
    static std::shared_ptr<Instrument> AddDistinct(Instruments& i, const std::string& id,
                                                   int32_t value);
    static DocumentOwner* Parent(const Instruments& i) { return i.mParent; }
    // Gives every instrument its channel again (after removals or category changes).
    static void AssignChannels(Instruments& i) { i.AssignChannels(); }
    // Also becomes the owner of every instrument in the collection.
    static void SetParent(Instruments& i, DocumentOwner* parent) {
        i.mParent = parent;
        for (const auto& instrument : i.mList) InstrumentAccess::SetParent(*instrument, parent);
    }
};

// What a staff stores as part of the document (not its place, selection or layout marks).
struct StaffValues {
    int32_t Brace = 0;
    int32_t DefaultClef = 0;
    std::string Description;
    int16_t Flags = 0;
    std::shared_ptr<corvendi::GlobalEvents> Globals;
    int32_t GroupID = 0;
    std::string ID;
    bool Mute = false;
    int32_t ScalePct = 0;
    bool Visible = false;
    int16_t Verses = 0;
    std::vector<std::string> VoiceIDs;

    bool operator==(const StaffValues&) const = default;
};

// Set by the owning collection, the layout and the file readers.
struct StaffAccess {
    static StaffValues Values(const Staff& s) {
        return {s.mBrace, s.mDefaultClef, s.mDescription, s.mFlags,   s.mGlobals, s.mGroupID,
                s.mID,    s.mMute,        s.mScalePct,    s.mVisible, s.mVerses,  s.mVoiceIDs};
    }
    static void SwapValues(Staff& s, StaffValues& v) {
        std::swap(s.mBrace, v.Brace);
        std::swap(s.mDefaultClef, v.DefaultClef);
        std::swap(s.mDescription, v.Description);
        std::swap(s.mFlags, v.Flags);
        std::swap(s.mGlobals, v.Globals);
        std::swap(s.mGroupID, v.GroupID);
        std::swap(s.mID, v.ID);
        std::swap(s.mMute, v.Mute);
        std::swap(s.mScalePct, v.ScalePct);
        std::swap(s.mVisible, v.Visible);
        std::swap(s.mVerses, v.Verses);
        std::swap(s.mVoiceIDs, v.VoiceIDs);
    }
    static void BraceSet(Staff& s, int32_t brace) { s.mBrace = brace; }
    static void GroupIDSet(Staff& s, int32_t groupID) { s.mGroupID = groupID; }
    static bool LayoutMark(const Staff& s) { return s.mLayoutMark; }
    static void SetLayoutMark(Staff& s, bool mark) { s.mLayoutMark = mark; }
    static void IDSet(Staff& s, std::string id) { s.mID = std::move(id); }
    static void IndexSet(Staff& s, int32_t index) { s.mIndex = index; }
    static void LyricOffsetSet(Staff& s, int32_t offset) { s.mLyricOffset = offset; }
    static void VersesSet(Staff& s, uint8_t verses) { s.mVerses = verses; }
    static DocumentOwner* Parent(const Staff& s) { return s.mParent; }
    static void SetParent(Staff& s, DocumentOwner* parent) { s.mParent = parent; }
    // The staff keeps its first `count` voices; the others stay in the owner's voices.
    static void KeepVoices(Staff& s, int32_t count) {
        if (count >= 0 && count < s.Voices()) s.mVoiceIDs.resize(static_cast<size_t>(count));
    }
};

// Used by the score when it creates or loads a document.
struct StaffsAccess {
    static Staffs::List& Items(Staffs& s) { return s.mList; }
    // After the list was replaced: every staff in it belongs to the collection's owner and has
    // its position as index.
    static void Adopt(Staffs& s) {
        for (const auto& staff : s.mList) StaffAccess::SetParent(*staff, s.mParent);
        s.Renumber();
    }
    // Creates a staff under `id` at `index` (clamped to 1..Count + 1; appended when missing).
    // Unless `noVoice`, the staff gets one voice: the first staff of a score plays a new
    // instrument from catalogue entry 74, later staffs the instrument of the neighbour's voice
    // 1. Nothing when a staff with this ID exists.
    static std::shared_ptr<Staff> Add(Staffs& s, const std::string& id,
                                      const std::string& description,
                                      std::optional<int32_t> index = std::nullopt,
                                      bool noVoice = false);
    static void Clear(Staffs& s) {
        for (const auto& staff : s.mList) StaffAccess::SetParent(*staff, nullptr);
        s.mList.clear();
    }
    static DocumentOwner* Parent(const Staffs& s) { return s.mParent; }
    // Also becomes the owner of every staff in the collection.
    static void SetParent(Staffs& s, DocumentOwner* parent) {
        s.mParent = parent;
        for (const auto& staff : s.mList) StaffAccess::SetParent(*staff, parent);
    }
    // Removes by position or ID (absent ones are ignored) and renumbers the rest.
    static void Remove(Staffs& s, int32_t index) {
        if (index >= 1 && index <= s.Count()) s.RemoveAt(index - 1);
    }
    static void Remove(Staffs& s, const std::string& id) {
        const int32_t position = s.PositionOf(id);
        if (position >= 0) s.RemoveAt(position);
    }
    // Puts `staff` in place of the staff at that position or ID, under its own ID. Ignored when
    // the place is absent, `staff` is null, or another staff of the collection has its ID.
    static void SetItem(Staffs& s, int32_t index, const std::shared_ptr<Staff>& staff) {
        if (index >= 1 && index <= s.Count()) s.ReplaceAt(index - 1, staff);
    }
    static void SetItem(Staffs& s, const std::string& id, const std::shared_ptr<Staff>& staff) {
        const int32_t position = s.PositionOf(id);
        if (position >= 0) s.ReplaceAt(position, staff);
    }
};

// Used by the score and its editing operations.
struct GlobalEventsAccess {
    // Chooses events that an edit of the time line leaves where they are.
    using EventFilter = std::function<bool(const GlobalEvent&)>;

    // Removes the span FromTime <= t < ToTime from both lists and moves later events back by
    // its length. Events `keep` chooses stay where they are, wherever they stand.
    static void RemoveRange(GlobalEvents& g, int32_t fromTime, int32_t toTime,
                            const EventFilter& keep = {});
    // Moves every event at or after `fromTime` later by `span` ticks, except those `keep`
    // chooses. The caller keeps the moved times within 32 bits.
    static void InsertSpan(GlobalEvents& g, int32_t fromTime, int32_t span,
                           const EventFilter& keep = {});
    // Removes every event `drop` chooses.
    static void RemoveWhere(GlobalEvents& g, const EventFilter& drop);
    // Creates an event and stores it after every event of its list at its time or earlier, so
    // events read back in their stored order keep that order.
    static std::shared_ptr<GlobalEvent> AddLast(GlobalEvents& g, int32_t atTime, int32_t eventType,
                                                uint8_t value1, uint8_t value2, std::string text);
    // Removes exactly this stored event (where several of a type share its time); nothing when
    // it is not stored here.
    static void RemoveEvent(GlobalEvents& g, const std::shared_ptr<GlobalEvent>& event);
    static DocumentOwner* Parent(const GlobalEvents& g) { return g.mParent; }
    static GlobalEvents::List& TimeItems(GlobalEvents& g) { return g.mTimeList; }
    static GlobalEvents::List& OtherItems(GlobalEvents& g) { return g.mOtherList; }
    // Each event's Index becomes its position in its list again.
    static void Renumber(GlobalEvents& g);
    // The pulse as stored (0 while it is not known yet), without working it out.
    static int32_t StoredPulse(const GlobalEvents& g) { return g.mPulse; }
    static void StoredPulseSet(GlobalEvents& g, int32_t pulse) { g.mPulse = pulse; }
    static void SetParent(GlobalEvents& g, DocumentOwner* owner) { g.mParent = owner; }
};

// Hosts read a range, the engine fills it. Negative values are ignored.
struct RangeAccess {
    static void LowSet(Range& r, int32_t value) {
        if (value >= 0) r.mLow = value;
    }
    static void HighSet(Range& r, int32_t value) {
        if (value >= 0) r.mHigh = value;
    }
};

// The score fills these.
struct MIDIEventAccess {
    static void ChannelSet(MIDIEvent& e, int32_t channel) { e.mChannel = channel; }
    static void TextSet(MIDIEvent& e, std::string text) { e.mText = std::move(text); }
    // Indexes other than 0 and 1 are ignored.
    static void ValueSet(MIDIEvent& e, int32_t index, int32_t value) {
        if (index == 0 || index == 1) e.mValues[static_cast<size_t>(index)] = value;
    }
};

}  // namespace corvendi::detail
