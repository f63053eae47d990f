// Pieces of the Standard MIDI File import that are worth checking on their own. The import
// itself is OpenMidiFile (MidiFiles.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace corvendi {

// A sounding length in ticks as the note value that shows it: a base duration and the flags
// nteDot or nteTriplet.
struct NoteValue {
    int32_t Duration = 0;
    int32_t Flags = 0;
};
NoteValue NoteValueOfLength(int64_t ticks);

// Field `field` (1-based) of the "|"-separated fields of `text` that begin at the 1-based
// position `start`, read as a number; `fallback` when the field is missing or not above 0.
// Throws ReadFailure for a value too large for a single.
float FieldValue(std::string_view text, int32_t start, int32_t field, float fallback);

}  // namespace corvendi
