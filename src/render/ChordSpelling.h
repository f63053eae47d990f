// Spelling chord roots by key and moving keys by semitones.
//
// Roots are pitch classes, 0 = C ... 11 = B. They are written with plain-text accidentals, "#"
// for a sharp and "b" for a flat, so that every text font can show them. A root that belongs to
// the key's major scale gets the scale's letter (so E# in F# major, Cb in Gb major); any other
// root is written with sharps in sharp keys and with flats in flat keys. C major uses the common
// chart spelling Db, Eb, F#, Ab, Bb.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvendi {

// Any number of semitones as a pitch class 0..11.
int32_t PitchClassOf(int32_t semitones);

// The root's name in a key (-7 flats ... +7 sharps; keys beyond count as seven).
std::string SpellPitchClass(int32_t pitchClass, int32_t key);

// The key whose tonic lies `semitones` above the tonic of `key`, with as few accidentals as
// possible; on the tonic six semitones from C that is F# major, the guitarist's reading. A move
// by whole octaves keeps `key` as it is.
int32_t TransposeKey(int32_t key, int32_t semitones);

// Reads a root at the start of `text`: a letter A..G (either case), then, when `withAccidental`
// is true, one optional "#" or "b". Gives the pitch class and sets `length` to the characters
// read; nothing when the text does not start with a letter.
std::optional<int32_t> ReadRoot(std::string_view text, bool withAccidental, size_t& length);

}  // namespace corvendi
