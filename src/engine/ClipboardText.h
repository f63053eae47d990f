// The text form of copied notes on the clipboard, which is also what a user sees when pasting
// it into a text editor. In selection order, for each note:
//   - when its staff differs from the previous note's (and for the first note): the staff ID;
//   - when its voice differs: ":" and the voice ID;
//   - for the first note only: "@" and the start time of the measure holding it;
//   - "#time#duration#flags#" and its pitches separated by "|".
// For example "S102030:V102030@64#64#16#0#60#80#16#0#62". Numbers are plain decimal.
//
// Reading accepts text that starts with "S", a digit, and holds a ":". It stops quietly at the
// first token it does not understand (a missing number, a number past 2,147,483,647, a stray
// character) and keeps what it read before; the second staff of the text ends it too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvendi::detail {

struct CopiedNote {
    std::string StaffID;
    std::string VoiceID;
    int32_t Time = 0;
    int32_t Duration = 0;
    int32_t Flags = 0;
    std::vector<uint8_t> Values;
};

// One pitch to paste: a chord is several with the same time.
struct PastedValue {
    int32_t Time = 0;         // as copied
    int32_t SourceStart = 0;  // the start of the measure it was copied from
    int32_t Duration = 0;
    int32_t Flags = 0;
    uint8_t Value = 0;
};

// The text of `notes`; the first note's measure starts at `firstMeasureStart`. Empty for none.
std::string WriteNoteText(const std::vector<CopiedNote>& notes, int32_t firstMeasureStart);

// Whether the text looks like copied notes at all.
bool IsNoteText(std::string_view text);
// The pitches of the first staff of the text, values outside 0..127 left out.
std::vector<PastedValue> ReadNoteText(std::string_view text);

}  // namespace corvendi::detail
