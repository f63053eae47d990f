#include "corvendi/ChordVocabulary.h"

#include <algorithm>
#include <string>

#include "render/ChordSpelling.h"

namespace corvendi {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// Splits off the first blank-separated word; `rest` keeps what follows, trimmed.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    const size_t end = rest.find_first_of(kBlanks);
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : Trim(rest.substr(end));
    return word;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// A number of at most three decimal digits within 0..limit.
std::optional<int32_t> SmallNumber(std::string_view text, int32_t limit) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > limit) return std::nullopt;
    return value;
}

// Comma-separated words, each trimmed; an empty text gives no words.
std::vector<std::string_view> CommaWords(std::string_view text) {
    std::vector<std::string_view> words;
    if (Trim(text).empty()) return words;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        words.push_back(Trim(text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return words;
}

std::optional<int8_t> FretWord(std::string_view word) {
    if (word == "x" || word == "X") return kMutedString;
    const auto fret = SmallNumber(word, ChordVocabulary::kMaxFret);
    if (!fret) return std::nullopt;
    return static_cast<int8_t>(*fret);
}

std::optional<ChordQuality> QualityLine(std::string_view rest) {
    const auto number = SmallNumber(NextWord(rest), ChordVocabulary::kMaxQualityNumber);
    const std::string_view suffix = NextWord(rest);
    if (!number || suffix.empty() || suffix.size() > ChordVocabulary::kMaxSuffixBytes) {
        return std::nullopt;
    }
    ChordQuality quality;
    quality.Number = *number;
    if (suffix != "-") quality.Suffix = std::string(suffix);
    const auto words = CommaWords(rest);
    if (words.empty()) return std::nullopt;
    for (std::string_view word : words) {
        const auto interval = SmallNumber(word, ChordVocabulary::kMaxInterval);
        if (!interval) return std::nullopt;
        quality.Intervals.push_back(*interval);
    }
    return quality;
}

}  // namespace

void ChordVocabulary::Clear() {
    mQualities.clear();
    mFingerings.fill(std::nullopt);
}

void ChordVocabulary::Read(std::string_view text) {
    Clear();
    // Fingerings name their chord by suffix, so they are resolved once every quality is known.
    std::vector<std::pair<std::string_view, std::string_view>> fingeringLines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        line = line.substr(0, line.find(';'));
        const std::string_view keyword = NextWord(line);
        if (EqualsIgnoringCase(keyword, "quality")) {
            if (auto quality = QualityLine(line)) AddQuality(std::move(*quality));
        } else if (EqualsIgnoringCase(keyword, "fingering")) {
            const std::string_view name = NextWord(line);
            fingeringLines.emplace_back(name, line);
        }
    }
    for (const auto& [name, frets] : fingeringLines) AddFingeringLine(name, frets);
}

bool ChordVocabulary::AddQuality(ChordQuality quality) {
    for (const auto& known : mQualities) {
        if (known.Number == quality.Number || known.Suffix == quality.Suffix) return false;
    }
    const auto at = std::find_if(mQualities.begin(), mQualities.end(),
                                 [&](const ChordQuality& q) { return q.Number > quality.Number; });
    mQualities.insert(at, std::move(quality));
    return true;
}

void ChordVocabulary::AddFingeringLine(std::string_view name, std::string_view frets) {
    const auto code = CodeOfName(name);
    const auto parsed = ParseFrets(frets);
    if (!code || !parsed || mFingerings[static_cast<size_t>(*code)]) return;
    mFingerings[static_cast<size_t>(*code)] = *parsed;
}

int32_t ChordVocabulary::CodeOf(int32_t qualityNumber, int32_t root) {
    if (qualityNumber < 0 || qualityNumber > kMaxQualityNumber) return 0;
    return qualityNumber * 12 + PitchClassOf(root) + 1;
}

int32_t ChordVocabulary::RootOf(int32_t code) {
    if (code < 1 || code > 255) return -1;
    return (code - 1) % 12;
}

int32_t ChordVocabulary::QualityNumberOf(int32_t code) {
    if (code < 1 || code > 255) return -1;
    return (code - 1) / 12;
}

const ChordQuality* ChordVocabulary::Quality(int32_t number) const {
    for (const auto& quality : mQualities) {
        if (quality.Number == number) return &quality;
    }
    return nullptr;
}

const ChordQuality* ChordVocabulary::QualityOfCode(int32_t code) const {
    const int32_t number = QualityNumberOf(code);
    return number < 0 ? nullptr : Quality(number);
}

int32_t ChordVocabulary::CodeAt(int32_t index) const {
    if (index < 0 || index >= ChordCount()) return 0;
    const int32_t qualities = static_cast<int32_t>(mQualities.size());
    return CodeOf(mQualities[static_cast<size_t>(index % qualities)].Number, index / qualities);
}

std::string ChordVocabulary::Name(int32_t code, int32_t key) const {
    const ChordQuality* quality = QualityOfCode(code);
    if (!quality) return {};
    return SpellPitchClass(RootOf(code), key) + quality->Suffix;
}

std::optional<int32_t> ChordVocabulary::CodeOfName(std::string_view name) const {
    // "Cb5" may be Cb with suffix "5" or C with suffix "b5": the root with its accidental is
    // tried first.
    for (bool withAccidental : {true, false}) {
        size_t length = 0;
        const auto root = ReadRoot(name, withAccidental, length);
        if (!root) return std::nullopt;
        const std::string_view suffix = name.substr(length);
        for (const auto& quality : mQualities) {
            if (quality.Suffix == suffix) return CodeOf(quality.Number, *root);
        }
    }
    return std::nullopt;
}

const ChordFrets* ChordVocabulary::Fingering(int32_t code) const {
    if (code < 0 || code > 255 || !HasChord(code)) return nullptr;
    const auto& frets = mFingerings[static_cast<size_t>(code)];
    return frets ? &*frets : nullptr;
}

bool ChordVocabulary::SetFingering(int32_t code, const ChordFrets& frets) {
    if (!HasChord(code) || !ValidFrets(frets)) return false;
    mFingerings[static_cast<size_t>(code)] = frets;
    return true;
}

void ChordVocabulary::RemoveFingering(int32_t code) {
    if (code >= 0 && code <= 255) mFingerings[static_cast<size_t>(code)].reset();
}

int32_t ChordVocabulary::FingeringCount() const {
    int32_t count = 0;
    for (int32_t code = 1; code <= 255; ++code) count += Fingering(code) ? 1 : 0;
    return count;
}

std::string ChordVocabulary::FretsText(const ChordFrets& frets) {
    const bool shortForm =
        std::all_of(frets.begin(), frets.end(), [](int8_t fret) { return fret < 10; });
    std::string text;
    for (const int8_t fret : frets) {
        if (!shortForm && !text.empty()) text += ',';
        text += fret == kMutedString ? std::string("x") : std::to_string(fret);
    }
    return text;
}

std::optional<ChordFrets> ChordVocabulary::ParseFrets(std::string_view text) {
    text = Trim(text);
    ChordFrets frets{};
    if (text.size() == frets.size() && text.find(',') == std::string_view::npos) {
        for (size_t i = 0; i < frets.size(); ++i) {
            const auto fret = FretWord(text.substr(i, 1));
            if (!fret) return std::nullopt;
            frets[i] = *fret;
        }
        return frets;
    }
    const auto words = CommaWords(text);
    if (words.size() != frets.size()) return std::nullopt;
    for (size_t i = 0; i < frets.size(); ++i) {
        const auto fret = FretWord(words[i]);
        if (!fret) return std::nullopt;
        frets[i] = *fret;
    }
    return frets;
}

bool ChordVocabulary::ValidFrets(const ChordFrets& frets) {
    return std::all_of(frets.begin(), frets.end(), [](int8_t fret) {
        return fret == kMutedString || (fret >= 0 && fret <= kMaxFret);
    });
}

}  // namespace corvendi
