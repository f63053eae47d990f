// Where a pitch sits on a staff and which accidental it needs.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace corvendi {

// A pitch spelled for a key: its letter (1 = C ... 7 = B), octave and alteration (-1 flat,
// 0 natural, +1 sharp).
struct SpelledPitch {
    int32_t Letter = 1;
    int32_t Octave = 0;
    int32_t Alteration = 0;
    // Steps of the diatonic scale from C of octave 0.
    int32_t Diatonic() const { return Octave * 7 + Letter - 1; }
};

// Spells a MIDI value in a key (-7 flats ... +7 sharps): the key's own altered letters first,
// then sharps in sharp keys and C major, flats in flat keys.
SpelledPitch SpellPitch(int32_t value, int32_t key);

// How a key alters a letter (1 = C ... 7 = B): -1, 0 or +1.
int32_t KeyAlteration(int32_t key, int32_t letter);

// The alterations written so far in one measure of one staff: one entry per letter and octave.
// An alteration already written applies to later notes of the same letter and octave until the
// measure ends.
class MeasureAccidentals {
  public:
    void Clear() { mEntries.clear(); }
    // The sign the note needs ("", "b", "#" or "n"); updates the list.
    std::string_view SignFor(const SpelledPitch& pitch, int32_t key);

  private:
    struct Entry {
        int32_t Diatonic;
        int32_t Alteration;
    };
    std::vector<Entry> mEntries;
};

// The diatonic number of the bottom line of a clef (E4 treble, G2 bass, F3 alto, D3 tenor).
int32_t ClefBase(int32_t clef);

}  // namespace corvendi
