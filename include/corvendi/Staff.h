// One staff of the score: up to four voices (kept by ID in the owner's voices), display
// settings, and its own list of staff events (clef and key changes, repeat-measure signs).
// It answers layout questions: the clef and key in force at a time, the next clef change,
// and whether stems must be forced because another voice sounds at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

class DocumentOwner;
class GlobalEvents;
class Instrument;
class Voice;

namespace detail {
struct StaffAccess;
}  // namespace detail

class CORVENDI_API Staff {
  public:
    static constexpr int32_t kMaxVoices = 4;

    Staff();

    int32_t Brace() const { return mBrace; }

    int32_t DefaultClef() const { return mDefaultClef; }
    void SetDefaultClef(int32_t clef) { mDefaultClef = clef; }

    const std::string& Description() const { return mDescription; }
    void SetDescription(std::string description) { mDescription = std::move(description); }

    // StaffFlags bits. Setting keeps the value mod 32 with the sign of the value.
    int16_t Flags() const { return mFlags; }
    void SetFlags(int16_t flags);

    std::shared_ptr<corvendi::GlobalEvents> GlobalEvents() const { return mGlobals; }
    // A null list is ignored: the staff always has an event list.
    void SetGlobalEvents(std::shared_ptr<corvendi::GlobalEvents> events);

    // The group of voice 1's instrument unless a group was set explicitly.
    int32_t GroupID() const;
    // The catalogue number of voice 1's instrument; 0 without voices.
    int32_t GroupType() const;

    int32_t Index() const { return mIndex; }
    int32_t LyricOffset() const { return mLyricOffset; }

    bool Mute() const { return mMute; }
    void SetMute(bool mute) { mMute = mute; }

    // Percent scale, kept within 25..100.
    int32_t ScalePct() const { return mScalePct; }
    void SetScalePct(int32_t pct);

    // Selecting a staff deselects every other staff of the owner: at most one is selected.
    bool Selected() const { return mSelected; }
    void SetSelected(bool selected);

    int16_t Verses() const { return mVerses; }

    bool Visible() const { return mVisible; }
    void SetVisible(bool visible) { mVisible = visible; }

    // Number of voices in use (0..4).
    int32_t Voices() const { return static_cast<int32_t>(mVoiceIDs.size()); }

    // Adds a new voice playing `instrument` to the owner's voices and to this staff. Nothing
    // when the staff is full, has no owner, or no instrument is given. The first voice sets the
    // default clef from its instrument.
    // With `id` the voice takes that identifier, unless one of the owner's voices has it.
    std::shared_ptr<corvendi::Voice> AddVoice(
        const std::shared_ptr<corvendi::Instrument>& instrument, const std::string& id = {});
    // Voice 1..Voices(); nothing otherwise.
    std::shared_ptr<corvendi::Voice> Voice(int32_t index) const;
    bool ValidVoice(const std::string& id) const;
    // Forgets the staff's voices; they stay in the owner's voices.
    void Clear();

    // Clef in force at `atTime`; remembers the clef event for NextChange.
    int32_t CurClef(int32_t atTime);
    // Key in force at `atTime` (staff key change, else the owner's key), transposed by voice 1's
    // instrument.
    int32_t CurKey(int32_t atTime) const;
    // Time of the next clef change within `duration` after the clef found by the last CurClef
    // (or the last NextChange), -1 when there is none.
    int32_t NextChange(int32_t duration);
    // True when a repeat-measure sign starts at exactly `atTime`.
    bool SameAsLast(int32_t atTime) const;
    // Stem direction to force for `curVoice` when a voice of the other parity has a note
    // sounding in [startTime, stopTime]: stmForceUp (1), stmForceDown (2), or 0.
    int32_t ForceFlag(int32_t startTime, int32_t stopTime, int32_t curVoice) const;

    // The key of the staff in the score's staffs.
    const std::string& ID() const { return mID; }

  private:
    friend struct detail::StaffAccess;

    int32_t mBrace = 0;
    int32_t mDefaultClef = 0;
    std::string mDescription;
    int16_t mFlags = 29;
    std::shared_ptr<corvendi::GlobalEvents> mGlobals;
    int32_t mGroupID = -1;
    bool mLayoutMark = false;
    std::string mID;
    int32_t mIndex = 0;
    bool mMute = false;
    int32_t mLyricOffset = 0;
    DocumentOwner* mParent = nullptr;
    int32_t mScalePct = 100;
    bool mSelected = false;
    bool mVisible = true;
    int16_t mVerses = 0;
    std::vector<std::string> mVoiceIDs;  // in voice order; its size is the voice count
    int32_t mClefIx = 0;
};

}  // namespace corvendi
