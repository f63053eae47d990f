#include "render/ChordSpelling.h"

#include <algorithm>
#include <array>

#include "common/Arith.h"

namespace corvendi {

namespace {

constexpr std::string_view kLetters = "CDEFGAB";
constexpr std::array<int32_t, 7> kNaturalPitch = {0, 2, 4, 5, 7, 9, 11};
// The order in which a key signature adds its sharps and its flats.
constexpr std::string_view kSharpOrder = "FCGDAEB";
constexpr std::string_view kFlatOrder = "BEADGCF";

constexpr std::array<std::string_view, 12> kSharpNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                          "F#", "G",  "G#", "A",  "A#", "B"};
constexpr std::array<std::string_view, 12> kFlatNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                         "Gb", "G",  "Ab", "A",  "Bb", "B"};
constexpr std::array<std::string_view, 12> kPlainNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                          "F#", "G",  "Ab", "A",  "Bb", "B"};

// The key with the fewest accidentals on each tonic (F# rather than Gb).
constexpr int32_t kKeyOfTonic[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};

int32_t ClampKey(int32_t key) { return std::clamp(key, -7, 7); }

// -1, 0 or +1: how the key's signature alters the letter.
int32_t SignatureAlteration(char letter, int32_t key) {
    if (key > 0)
        return kSharpOrder.substr(0, static_cast<size_t>(key)).find(letter) !=
                       std::string_view::npos
                   ? 1
                   : 0;
    if (key < 0)
        return kFlatOrder.substr(0, static_cast<size_t>(-key)).find(letter) !=
                       std::string_view::npos
                   ? -1
                   : 0;
    return 0;
}

int32_t TonicOf(int32_t key) { return PitchClassOf(key * 7); }

}  // namespace

int32_t PitchClassOf(int32_t semitones) { return semitones - FloorDiv(semitones, 12) * 12; }

std::string SpellPitchClass(int32_t pitchClass, int32_t key) {
    const int32_t pc = PitchClassOf(pitchClass);
    key = ClampKey(key);
    for (size_t i = 0; i < kLetters.size(); ++i) {
        const int32_t alteration = SignatureAlteration(kLetters[i], key);
        if (PitchClassOf(kNaturalPitch[i] + alteration) != pc) continue;
        std::string name(1, kLetters[i]);
        if (alteration > 0) name += '#';
        if (alteration < 0) name += 'b';
        return name;
    }
    const auto& names = key > 0 ? kSharpNames : key < 0 ? kFlatNames : kPlainNames;
    return std::string(names[static_cast<size_t>(pc)]);
}

int32_t TransposeKey(int32_t key, int32_t semitones) {
    key = ClampKey(key);
    if (PitchClassOf(semitones) == 0) return key;
    const int32_t tonic = PitchClassOf(TonicOf(key) + PitchClassOf(semitones));
    return kKeyOfTonic[tonic];
}

std::optional<int32_t> ReadRoot(std::string_view text, bool withAccidental, size_t& length) {
    length = 0;
    if (text.empty()) return std::nullopt;
    char letter = text[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    const size_t index = kLetters.find(letter);
    if (index == std::string_view::npos) return std::nullopt;
    int32_t pc = kNaturalPitch[index];
    length = 1;
    if (withAccidental && text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        length = 2;
    }
    return PitchClassOf(pc);
}

}  // namespace corvendi
