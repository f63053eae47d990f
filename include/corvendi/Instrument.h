// The sound and notation profile a voice plays with: MIDI program and channel, category, default
// clef, pitch range and transposition, and for drum instruments a map of up to eight drum sounds.
// Instruments are made by Instruments::Add from an entry of the instrument catalogue.
//
// Transposition: Pitch and Offset both say how far the written part lies above the sounding
// one. Pitch counts key-signature steps (the staff shows the score key plus Pitch, so a B-flat
// clarinet has +2: concert C major is written in D major); Offset counts semitones (+2 for the
// clarinet, +7 for a horn in F, +12 for a guitar written an octave above its sound).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "corvendi/DocumentOwner.h"
#include "corvendi/Export.h"
#include "corvendi/Range.h"

namespace corvendi {

namespace detail {
struct InstrumentAccess;
}  // namespace detail

class CORVENDI_API Instrument {
  public:
    static constexpr int32_t kDrumSlots = 8;

    int32_t Category() const { return mCategory; }
    // MIDI channel 0..15.
    int16_t Channel() const { return mChannel; }
    int32_t DefaultClef() const { return mDefaultClef; }
    const std::string& Description() const { return mDescription; }
    // Catalogue number and MIDI program, 0..127.
    int16_t Value() const { return mValue; }
    // Written minus sounding pitch, in semitones.
    int16_t Offset() const { return mOffset; }
    // Written minus sounding key, in key-signature steps (sharps positive).
    int16_t Pitch() const { return mPitch; }
    // The playable range as MIDI note numbers; made (0..0) on first use.
    std::shared_ptr<corvendi::Range> Range() const;
    // The GroupTypes value of the category (bracketing of staffs).
    int32_t Group() const;

    // Drum map, slots 1..8: DrumCode is the catalogue entry naming the sound, DrumValue the MIDI
    // key it plays. Other slots read 0 and ignore writes.
    int16_t DrumCode(int32_t index) const;
    void SetDrumCode(int32_t index, int16_t value);
    int16_t DrumValue(int32_t index) const;
    void SetDrumValue(int32_t index, int16_t value);

    // The key of the instrument in the score's instruments.
    const std::string& ID() const { return mID; }

  private:
    friend struct detail::InstrumentAccess;

    bool IsDrumSlot(int32_t index) const { return index >= 1 && index <= kDrumSlots; }

    int32_t mCategory = 0;
    int16_t mChannel = 0;
    int32_t mDefaultClef = 0;
    std::string mDescription;
    std::array<int16_t, kDrumSlots> mDrumCode{};
    std::array<int16_t, kDrumSlots> mDrumValue{};
    std::string mID;
    int16_t mOffset = 0;
    DocumentOwner* mParent = nullptr;
    int16_t mPitch = 0;
    mutable std::shared_ptr<corvendi::Range> mRange;
    int16_t mValue = 0;
};

}  // namespace corvendi
