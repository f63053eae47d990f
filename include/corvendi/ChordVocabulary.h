// The chords the chord mapper knows: chord qualities on twelve roots, their one-byte codes and
// names, and guitar fingerings for some of them.
//
// A quality has a number 0..20, a suffix ("m7", "" for the major chord) and its tones in
// semitones above the root. The chord of quality q on root r (0 = C ... 11 = B) has the code
// q × 12 + r + 1, the byte a chord event stores; code 0 is no chord. Codes therefore fit a byte
// and stay unique however many qualities a vocabulary lists.
//
// The vocabulary is read from the text of the data file Chords.txt (that file documents its own
// format). Reading is tolerant: a line that breaks a rule is skipped and the rest is read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

struct CORVENDI_API ChordQuality {
    int32_t Number = 0;              // 0..20
    std::string Suffix;              // UTF-8; empty for the major chord
    std::vector<int32_t> Intervals;  // semitones above the root, as listed

    bool operator==(const ChordQuality&) const = default;
};

// Six strings from low E to high E: kMutedString, 0 (open) or the fret held (1..kMaxFret).
using ChordFrets = std::array<int8_t, 6>;
constexpr int8_t kMutedString = -1;

class CORVENDI_API ChordVocabulary {
  public:
    static constexpr int32_t kMaxQualityNumber = 20;
    static constexpr int32_t kMaxFret = 24;
    static constexpr int32_t kMaxInterval = 48;
    static constexpr size_t kMaxSuffixBytes = 16;

    // --- reading ----------------------------------------------------------------------------
    // Replaces the vocabulary with what UTF-8 data-file text lists.
    void Read(std::string_view text);
    void Clear();
    bool Empty() const { return mQualities.empty(); }

    // --- codes ------------------------------------------------------------------------------
    static int32_t CodeOf(int32_t qualityNumber, int32_t root);
    // Root (0..11) and quality number of a code 1..255; -1 for code 0 and other numbers.
    static int32_t RootOf(int32_t code);
    static int32_t QualityNumberOf(int32_t code);

    // --- the chords -------------------------------------------------------------------------
    // The qualities in number order.
    const std::vector<ChordQuality>& Qualities() const { return mQualities; }
    const ChordQuality* Quality(int32_t number) const;
    // Twelve chords per quality, listed root by root (C, Cm, C7 ... then Db, Dbm ...).
    int32_t ChordCount() const { return static_cast<int32_t>(mQualities.size()) * 12; }
    // The code of chord `index` (0-based); 0 outside 0..ChordCount()-1.
    int32_t CodeAt(int32_t index) const;
    bool HasChord(int32_t code) const { return QualityOfCode(code) != nullptr; }
    // The chord's name with its root spelled for `key` (-7..7); "" for an unknown code.
    std::string Name(int32_t code, int32_t key) const;
    // The code of a chord name such as "F#m7" or "Bb"; nothing when no chord has that name.
    std::optional<int32_t> CodeOfName(std::string_view name) const;

    // --- fingerings -------------------------------------------------------------------------
    const ChordFrets* Fingering(int32_t code) const;
    // Sets or replaces the fingering of a known chord; false for an unknown code or bad frets.
    bool SetFingering(int32_t code, const ChordFrets& frets);
    void RemoveFingering(int32_t code);
    int32_t FingeringCount() const;
    // Frets as the data file writes them: six characters of "x" and 0..9, or six comma-separated
    // words ("x" or 0..24); blanks around words are allowed.
    static std::optional<ChordFrets> ParseFrets(std::string_view text);
    // Frets written back as ParseFrets reads them: six characters when every fret is below 10
    // ("x32010"), else six comma-separated words ("x,10,12,12,12,10").
    static std::string FretsText(const ChordFrets& frets);
    static bool ValidFrets(const ChordFrets& frets);

  private:
    const ChordQuality* QualityOfCode(int32_t code) const;
    bool AddQuality(ChordQuality quality);
    void AddFingeringLine(std::string_view name, std::string_view frets);

    std::vector<ChordQuality> mQualities;
    std::array<std::optional<ChordFrets>, 256> mFingerings{};
};

}  // namespace corvendi
