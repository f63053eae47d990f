// One rhythmic event of a voice: a single note, a chord (several pitches sharing one duration) or
// a rest (no pitch values). Notes are created and timed by their voice's `Notes` collection.
#pragma once

#include <cstdint>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

namespace detail {
struct NoteAccess;
}  // namespace detail

class CORVENDI_API Note {
  public:
    Note();

    // Adds a pitch to the chord, keeping the values in ascending order, and returns its index.
    // A value already present is not added again: its index is returned. Values are stored as
    // given (not limited to 0..127). A chord holds at most 255 values; adding to a full chord
    // changes nothing and returns -1.
    int16_t AddValue(uint8_t value);
    // Removes the first value equal to `value`, closing the gap. True if one was removed.
    bool RemoveValue(uint8_t value);
    // Keeps only the first value (a rest becomes a one-value note).
    void SetSingleValue();

    // The value at `index` (0-based); 0 outside 0..ValueCount()-1.
    uint8_t Value(int32_t index) const;
    // Stores `value` AND 127 at an existing index; ignored outside. The order is not restored.
    void SetValue(int32_t index, int32_t value);
    uint8_t ValueCount() const { return mValueCount; }

    int16_t Duration() const { return mDuration; }
    int32_t Flags() const { return mFlags; }
    int32_t NoteTime() const { return mNoteTime; }

    // Stem direction as laid out.
    bool Up() const { return (mBits & kUpBit) != 0; }
    void SetUp(bool up) { SetBit(kUpBit, up); }
    // The note shares its staff position with a note of another voice.
    bool MultiVoice() const { return (mBits & kMultiVoiceBit) != 0; }
    void SetMultiVoice(bool multiVoice) { SetBit(kMultiVoiceBit, multiVoice); }

    // Drawing position recorded by layout, in twips.
    int16_t X() const { return mX; }
    void SetX(int16_t x) { mX = x; }
    int16_t Y() const { return mY; }
    void SetY(int16_t y) { mY = y; }

  private:
    friend struct detail::NoteAccess;

    static constexpr uint8_t kUpBit = 1;
    static constexpr uint8_t kMultiVoiceBit = 2;
    // Room for three values at first; a chord grows two entries at a time.
    static constexpr uint8_t kInitialUpperBound = 2;
    static constexpr uint8_t kGrowStep = 2;

    void SetBit(uint8_t bit, bool on);
    int16_t IndexOfLast(uint8_t value) const;
    int16_t InsertFromTop(uint8_t value);

    int16_t mDuration = 0;
    int32_t mFlags = 0;
    int32_t mNoteTime = 0;
    uint8_t mBits = 0;
    // mValues has mValueUB + 1 entries; only the first mValueCount are in use. Entries past the
    // count keep whatever they held, as the slots are reused rather than cleared.
    std::vector<uint8_t> mValues;
    uint8_t mValueCount = 0;
    uint8_t mValueUB = kInitialUpperBound;
    int16_t mX = 0;
    int16_t mY = 0;
};

}  // namespace corvendi
