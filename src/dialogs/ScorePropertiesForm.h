// The fixed contents of the Score Properties form: its lists, option tags and captions, and the
// small conversions between what a control shows and what the score holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "corvendi/Enums.h"

namespace corvendi::score_form {

constexpr int32_t kFormWidth = 7920;
constexpr int32_t kFormHeight = 5760;

// The time options: the time value each stands for; the last is the free entry.
constexpr int32_t kTimeOptions = 10;
constexpr int32_t kFreeTimeOption = 9;
constexpr std::array<int32_t, kTimeOptions> kTimeTags = {0,   1,   528, 272,  400,
                                                         656, 392, 776, 1160, -1};
constexpr std::array<const char*, kTimeOptions> kTimeCaptions = {
    "Common", "Cut", "4/4", "2/4", "3/4", "5/4", "3/8", "6/8", "9/8", "Other"};

constexpr int32_t kNumberPositions = 6;
// How far apart numbered measures may be.
constexpr int32_t kMostMeasuresPerNumber = 999;

constexpr int32_t kMarginCount = 4;
constexpr std::array<const char*, kMarginCount> kMarginLabels = {
    "Top:", "Bottom:", "Left:", "Right:"};
constexpr int32_t kDimensionCount = 3;
constexpr std::array<const char*, kDimensionCount> kDimensionLabels = {
    "Staff Height:", "Spacing:", "System Spacing:"};

// Lengths a page can have, in inches: anything beyond is taken as a typing slip.
constexpr float kLongestLengthIn = 100.0f;

// A free time signature: 1..16 beats of a whole, half, quarter, eighth or sixteenth note.
constexpr int32_t kMostFreeBeats = 16;
constexpr int32_t kFallbackBeats = 4;
constexpr int32_t kFallbackBeatNote = 4;

// How the fingering box reads its frets.
constexpr const char* kFretsHint = "Low E to high E: x muted, 0 open, or the fret (\"x32010\")";

// Key list entry i stands for the key i - 7.
constexpr int32_t kKeyListOffset = 7;

inline const std::vector<std::string>& MajorKeys() {
    static const std::vector<std::string> keys{
        "Cb - 7 flats", "Gb - 6 flats",  "Db - 5 flats", "Ab - 4 flats",
        "Eb - 3 flats", "Bb - 2 flats",  "F - 1 flat",   "C",
        "G - 1 sharp",  "D - 2 sharps",  "A - 3 sharps", "E - 4 sharps",
        "B - 5 sharps", "F# - 6 sharps", "C# - 7 sharps"};
    return keys;
}

inline const std::vector<std::string>& MinorKeys() {
    static const std::vector<std::string> keys{
        "Ab - 7 flats",  "Eb - 6 flats",  "Bb - 5 flats",  "F - 4 flats",
        "C - 3 flats",   "G - 2 flats",   "D - 1 flat",    "A",
        "E - 1 sharp",   "B - 2 sharps",  "F# - 3 sharps", "C# - 4 sharps",
        "G# - 5 sharps", "D# - 6 sharps", "A# - 7 sharps"};
    return keys;
}

// List index = PageSizes value.
inline const std::vector<std::string>& PageSizeTexts() {
    static const std::vector<std::string> sizes{"Leter (8.5 x 11)",        "Legal (8.5 x 14)",
                                                "Executive (7.25 x 10.5)", "A4 (8.27 x 11.69)",
                                                "A5 (5.83 x 8.27)",        "Custom"};
    return sizes;
}

// The width and height in inches a size entry names between "(", "x" and ")".
inline std::pair<float, float> PaperInches(std::string_view entry) {
    const size_t open = entry.find('(');
    const size_t by = entry.find('x', open == std::string_view::npos ? 0 : open);
    if (open == std::string_view::npos || by == std::string_view::npos) return {0.0f, 0.0f};
    return {static_cast<float>(LeadingNumber(entry.substr(open + 1, by - open - 1))),
            static_cast<float>(LeadingNumber(entry.substr(by + 1)))};
}

// "txtMargin(2)" for ("txtMargin", 2), and back.
inline std::string Indexed(std::string_view name, int32_t index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}
inline int32_t IndexOf(std::string_view name) {
    const size_t open = name.find('(');
    return open == std::string_view::npos ? -1 : NInt(LeadingNumber(name.substr(open + 1)));
}

// The tempo note: "e" eighth, "q" quarter, "h" half, "w" whole; clicking cycles q h w e.
inline std::string TempoTagOfBeat(int32_t beat) {
    switch (beat) {
        case durEighth: return "e";
        case durHalf: return "h";
        case durWhole: return "w";
        default: return "q";
    }
}
inline int32_t BeatOfTempoTag(std::string_view tag) {
    if (tag == "e") return durEighth;
    if (tag == "h") return durHalf;
    if (tag == "w") return durWhole;
    return durQuarter;
}
inline std::string NextTempoTag(std::string_view tag) {
    if (tag == "q") return "h";
    if (tag == "h") return "w";
    if (tag == "w") return "e";
    return "q";
}

// The beat note a beat length in ticks is written with (4 a sixteenth ... 64 a whole).
inline int32_t BeatNoteOfLength(int32_t ticks) {
    switch (ticks) {
        case 4: return 16;
        case 8: return 8;
        case 32: return 2;
        case 64: return 1;
        default: return 4;
    }
}
// The beat length of a beat note; 0 for a note the dialog does not offer.
inline int32_t LengthOfBeatNote(int32_t note) {
    switch (note) {
        case 1: return 64;
        case 2: return 32;
        case 4: return 16;
        case 8: return 8;
        case 16: return 4;
        default: return 0;
    }
}

}  // namespace corvendi::score_form
