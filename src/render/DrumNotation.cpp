#include "render/DrumNotation.h"

#include <array>
#include <cstddef>

namespace corvendi {

namespace {

constexpr int32_t kFirstDrumKey = 35;

// Positions on the staff, in line spacings above the bottom line (negative).
constexpr float kBelowStaff = 0.5f;
constexpr float kBottomSpace = -0.5f;
constexpr float kSecondLine = -1.0f;
constexpr float kSecondSpace = -1.5f;
constexpr float kMiddleLine = -2.0f;
constexpr float kThirdSpace = -2.5f;
constexpr float kFourthLine = -3.0f;
constexpr float kFourthSpace = -3.5f;
constexpr float kTopLine = -4.0f;
constexpr float kAboveStaff = -4.5f;
constexpr float kFirstLedgerLine = -5.0f;
constexpr float kAboveFirstLedger = -5.5f;

constexpr bool kCross = true;
constexpr bool kHead = false;

// General MIDI keys 35..81 in order.
constexpr std::array<DrumNotation, 47> kDrumTable = {{
    {kBottomSpace, kHead},        // 35 acoustic bass drum
    {kBottomSpace, kHead},        // 36 bass drum 1
    {kThirdSpace, kCross},        // 37 side stick
    {kThirdSpace, kHead},         // 38 acoustic snare
    {kThirdSpace, kCross},        // 39 hand clap
    {kThirdSpace, kHead},         // 40 electric snare
    {kSecondLine, kHead},         // 41 low floor tom
    {kAboveStaff, kCross},        // 42 closed hi-hat
    {kSecondSpace, kHead},        // 43 high floor tom
    {kBelowStaff, kCross},        // 44 pedal hi-hat
    {kMiddleLine, kHead},         // 45 low tom
    {kAboveStaff, kCross},        // 46 open hi-hat
    {kFourthLine, kHead},         // 47 low-mid tom
    {kFourthLine, kHead},         // 48 hi-mid tom
    {kFirstLedgerLine, kCross},   // 49 crash cymbal 1
    {kFourthSpace, kHead},        // 50 high tom
    {kTopLine, kCross},           // 51 ride cymbal 1
    {kFirstLedgerLine, kCross},   // 52 Chinese cymbal
    {kTopLine, kCross},           // 53 ride bell
    {kFourthSpace, kCross},       // 54 tambourine
    {kFirstLedgerLine, kCross},   // 55 splash cymbal
    {kFourthSpace, kHead},        // 56 cowbell
    {kAboveFirstLedger, kCross},  // 57 crash cymbal 2
    {kSecondLine, kCross},        // 58 vibraslap
    {kTopLine, kCross},           // 59 ride cymbal 2
    {kFourthLine, kHead},         // 60 hi bongo
    {kThirdSpace, kHead},         // 61 low bongo
    {kMiddleLine, kCross},        // 62 mute hi conga
    {kMiddleLine, kHead},         // 63 open hi conga
    {kSecondSpace, kHead},        // 64 low conga
    {kFourthLine, kHead},         // 65 high timbale
    {kMiddleLine, kHead},         // 66 low timbale
    {kTopLine, kHead},            // 67 high agogo
    {kFourthSpace, kHead},        // 68 low agogo
    {kSecondSpace, kCross},       // 69 cabasa
    {kMiddleLine, kCross},        // 70 maracas
    {kAboveStaff, kHead},         // 71 short whistle
    {kAboveStaff, kHead},         // 72 long whistle
    {kThirdSpace, kCross},        // 73 short guiro
    {kThirdSpace, kCross},        // 74 long guiro
    {kFourthLine, kCross},        // 75 claves
    {kFourthLine, kHead},         // 76 hi wood block
    {kThirdSpace, kHead},         // 77 low wood block
    {kFourthLine, kCross},        // 78 mute cuica
    {kThirdSpace, kCross},        // 79 open cuica
    {kAboveStaff, kCross},        // 80 mute triangle
    {kAboveStaff, kCross},        // 81 open triangle
}};

}  // namespace

DrumNotation DrumNotationOf(int32_t key) {
    const int32_t index = key - kFirstDrumKey;
    if (index < 0 || index >= static_cast<int32_t>(kDrumTable.size())) return {};
    return kDrumTable[static_cast<std::size_t>(index)];
}

}  // namespace corvendi
