// Pitch spelling and staff positions.
#include "render/StaffPosition.h"

#include <algorithm>
#include <array>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Letters in the order keys add sharps (flats run the other way).
constexpr std::array<int32_t, 7> kSharpOrder = {4, 1, 5, 2, 6, 3, 7};  // F C G D A E B
// Semitone of each natural letter above C.
constexpr std::array<int32_t, 8> kNaturalSemitone = {0, 0, 2, 4, 5, 7, 9, 11};

std::string_view SignOf(int32_t alteration) {
    if (alteration < 0) return "b";
    if (alteration > 0) return "#";
    return "n";
}

}  // namespace

int32_t KeyAlteration(int32_t key, int32_t letter) {
    key = std::clamp(key, -7, 7);
    for (int32_t i = 0; i < std::abs(key); ++i) {
        const int32_t altered =
            key > 0 ? kSharpOrder[static_cast<size_t>(i)] : kSharpOrder[static_cast<size_t>(6 - i)];
        if (altered == letter) return key > 0 ? 1 : -1;
    }
    return 0;
}

SpelledPitch SpellPitch(int32_t value, int32_t key) {
    const int32_t pitchClass = IMod(value, 12);
    SpelledPitch pitch;
    pitch.Octave = IDiv(value, 12);
    // A letter the key alters spells the pitch when it lands on it (Cb, E#, B#, Fb included).
    for (int32_t letter = 1; letter <= 7; ++letter) {
        const int32_t alteration = KeyAlteration(key, letter);
        if (alteration == 0) continue;
        const int32_t semitone = kNaturalSemitone[static_cast<size_t>(letter)] + alteration;
        if (IMod(semitone + 12, 12) != pitchClass) continue;
        pitch.Letter = letter;
        pitch.Alteration = alteration;
        if (semitone < 0) pitch.Octave += 1;    // Cb sounds in the octave below its letter
        if (semitone >= 12) pitch.Octave -= 1;  // B# sounds in the octave above
        return pitch;
    }
    for (int32_t letter = 1; letter <= 7; ++letter) {
        if (kNaturalSemitone[static_cast<size_t>(letter)] == pitchClass) {
            pitch.Letter = letter;
            return pitch;
        }
    }
    // A black key the key does not name: sharp of the letter below, or flat of the one above.
    if (key < 0) {
        pitch.Letter = 1;
        while (kNaturalSemitone[static_cast<size_t>(pitch.Letter)] != pitchClass + 1)
            ++pitch.Letter;
        pitch.Alteration = -1;
    } else {
        pitch.Letter = 1;
        while (kNaturalSemitone[static_cast<size_t>(pitch.Letter)] != pitchClass - 1)
            ++pitch.Letter;
        pitch.Alteration = 1;
    }
    return pitch;
}

std::string_view MeasureAccidentals::SignFor(const SpelledPitch& pitch, int32_t key) {
    const int32_t inKey = KeyAlteration(key, pitch.Letter);
    const int32_t diatonic = pitch.Diatonic();
    const auto entry = std::find_if(mEntries.begin(), mEntries.end(),
                                    [&](const Entry& e) { return e.Diatonic == diatonic; });
    if (entry == mEntries.end()) {
        if (pitch.Alteration == inKey) return "";
        mEntries.push_back({diatonic, pitch.Alteration});
        return SignOf(pitch.Alteration);
    }
    if (entry->Alteration == pitch.Alteration) return "";
    if (pitch.Alteration == inKey) {
        mEntries.erase(entry);
        return SignOf(inKey);
    }
    entry->Alteration = pitch.Alteration;
    return SignOf(pitch.Alteration);
}

int32_t ClefBase(int32_t clef) {
    switch (clef) {
        case clfBass: return 25;
        case clfAlto: return 31;
        case clfTenor: return 29;
        default: return 37;
    }
}

float PageLayout::StaffPosition(int32_t value, int32_t clef, int32_t key,
                                MeasureAccidentals* accidentals, std::string_view* sign) {
    const SpelledPitch pitch = SpellPitch(value, key);
    if (sign) *sign = accidentals ? accidentals->SignFor(pitch, key) : std::string_view{};
    const int32_t p = ClefBase(clef) - pitch.Diatonic();
    return static_cast<float>(p) / 2.0f;
}

}  // namespace corvendi
