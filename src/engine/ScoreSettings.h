// The values a score stores for its whole document: texts, tempo and chord switches, the key,
// page and spacing settings with their twips, the fonts, and which collections it owns. An edit
// step compares them before and after an edit, and taking the edit back swaps them in again
// (ScoreAccess::Settings, ScoreAccess::SwapSettings).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "corvendi/Font.h"

namespace corvendi {

class GlobalEvents;
class Instruments;
class Staffs;
class Voices;

namespace detail {

// A score font and its settings; a host may hold the object, so undo gives back both.
struct FontValues {
    std::shared_ptr<Font> Object;
    std::string Name;
    float Size = 0.0f;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const FontValues&) const = default;
};

struct ScoreSettings {
    static constexpr size_t kFonts = 7;
    // The fonts of the texts; the music and small text fonts are sized by the drawing, so only
    // which object they are counts.
    static constexpr size_t kTextFonts = 5;

    std::string Title;
    std::string SubTitle;
    std::string Heading;
    std::string Composer;
    std::string ArrangedBy;
    std::array<std::string, 2> Copyright;
    int32_t Beat = 0;
    int32_t Count = 0;
    bool Metronome = false;
    int32_t Capo = 0;
    bool UseCapo = false;
    bool UseChords = false;
    bool UseChordMaps = false;
    bool ReverseEvenOdd = false;
    int32_t Key = 0;
    int32_t MinorVal = 0;
    bool NumberMeasures = false;
    int32_t NumberMeasuresBy = 0;
    int32_t NumberPos = 0;
    int32_t PageNums = 0;
    int32_t PageOrientation = 0;
    int32_t PageSize = 0;
    float PageWidthIn = 0.0f;
    float PageHeightIn = 0.0f;
    std::array<float, 4> Margins{};
    float StaffHeight = 0.0f;
    float StaffSpace = 0.0f;
    float SystemSpace = 0.0f;
    // The twips kept beside the inches (the staff height's is worked out again: the layout
    // shrinks it for an overfull page).
    int32_t PageWidthTw = 0;
    int32_t PageHeightTw = 0;
    std::array<int32_t, 4> MarginsTw{};
    int32_t StaffSpaceTw = 0;
    int32_t SystemSpaceTw = 0;
    std::array<FontValues, kFonts> Fonts;
    std::shared_ptr<corvendi::Staffs> StaffList;
    std::shared_ptr<corvendi::Voices> VoiceList;
    std::shared_ptr<corvendi::Instruments> InstrumentList;
    std::shared_ptr<corvendi::GlobalEvents> Globals;

    bool operator==(const ScoreSettings&) const = default;
};

// What the editing operations remember between calls: the greatest note time, the layout flags
// and the last note entered. Taken back with the edit that changed it, never an edit of its own.
struct EditMemory {
    int32_t HighNoteTime = 0;
    int32_t DrawFlags = 0;
    int32_t LastStaff = 0;
    int32_t LastVoice = 0;
    int32_t LastTime = 0;
    int32_t LastValue = 0;
    int32_t LastRegionIx = 0;

    bool operator==(const EditMemory&) const = default;
};

}  // namespace detail
}  // namespace corvendi
