#include "model/InstrumentCatalog.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "common/Cp1252.h"
#include "common/ParsedFileCache.h"

namespace corvendi {

namespace {

using Catalog = std::array<CatalogEntry, kCatalogEntries>;
// The lines of a catalogue file that fill entries: (entry, what it holds), in file order.
using CatalogLines = std::vector<std::pair<size_t, CatalogEntry>>;

struct ThreadCatalogState {
    Catalog Entries{};
    // Catalogue files named since the entries were last asked for, in order. A score reads the
    // catalogue when it is made, but most runs never look at it: the files are parsed (once per
    // process, see ParsedFileCache) only when an entry is asked for.
    std::vector<std::string> Pending;
};

ThreadCatalogState& ThreadState() {
    thread_local ThreadCatalogState state;
    return state;
}

ParsedFileCache<CatalogLines>& ParsedCatalogs() {
    static ParsedFileCache<CatalogLines> cache;
    return cache;
}

constexpr size_t kFieldsPerLine = 8;

struct Field {
    std::string_view text;
    bool quoted = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits a line at commas the way sequential text input does: a field that starts with a quote
// runs to the closing quote (commas inside belong to it) and only blanks may follow it.
std::optional<std::vector<Field>> SplitFields(std::string_view line) {
    std::vector<Field> fields;
    size_t pos = 0;
    while (true) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos < line.size() && line[pos] == '"') {
            const size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) return std::nullopt;
            fields.push_back({line.substr(pos + 1, close - pos - 1), true});
            pos = close + 1;
            while (pos < line.size() && IsBlank(line[pos])) ++pos;
            if (pos < line.size() && line[pos] != ',') return std::nullopt;
        } else {
            const size_t comma = std::min(line.find(',', pos), line.size());
            fields.push_back({TrimBlanks(line.substr(pos, comma - pos)), false});
            pos = comma;
        }
        if (pos >= line.size()) break;
        ++pos;  // past the comma
        if (fields.size() > kFieldsPerLine) return std::nullopt;
    }
    return fields;
}

// A whole number that fits 16 bits: optional sign, then digits. An empty field reads 0.
std::optional<int16_t> ParseInt16(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return int16_t{0};
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(value);
}

struct CatalogLine {
    int16_t number = 0;
    CatalogEntry entry;
};

std::optional<CatalogLine> ParseLine(std::string_view line) {
    const auto fields = SplitFields(line);
    if (!fields || fields->size() != kFieldsPerLine) return std::nullopt;
    std::array<int16_t, kFieldsPerLine> numbers{};
    for (size_t i = 0; i < kFieldsPerLine; ++i) {
        if (i == 2) continue;  // the description
        const auto n = ParseInt16((*fields)[i].text);
        if (!n) return std::nullopt;
        numbers[i] = *n;
    }
    CatalogLine result;
    result.number = numbers[1];
    result.entry.Category = numbers[0];
    result.entry.Number = static_cast<int16_t>(numbers[1] - 1);
    result.entry.Description = Cp1252ToUtf8((*fields)[2].text);
    result.entry.DefaultClef = numbers[3];
    result.entry.RangeLow = numbers[4];
    result.entry.RangeHigh = numbers[5];
    result.entry.Pitch = numbers[6];
    result.entry.Offset = numbers[7];
    return result;
}

// The next line of the text (without its CR, LF or CR LF end); nothing at the end of the text.
std::optional<std::string_view> NextLine(std::string_view text, size_t& pos) {
    if (pos >= text.size()) return std::nullopt;
    const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    return line;
}

CatalogLines ParseCatalogLines(std::string_view fileBytes) {
    CatalogLines lines;
    size_t pos = 0;
    for (int32_t lineNo = 0; lineNo < kCatalogLinesRead; ++lineNo) {
        const auto line = NextLine(fileBytes, pos);
        if (!line) break;
        auto parsed = ParseLine(*line);
        if (!parsed) break;
        if (parsed->number >= 1 && parsed->number <= kCatalogEntries - 1)
            lines.emplace_back(static_cast<size_t>(parsed->number - 1), std::move(parsed->entry));
    }
    return lines;
}

void Apply(const CatalogLines& lines, Catalog& catalog) {
    for (const auto& [index, entry] : lines) catalog[index] = entry;
}

// The thread's catalogue with every file named so far read into it.
Catalog& ThreadCatalog() {
    ThreadCatalogState& state = ThreadState();
    for (const std::string& path : state.Pending) {
        if (const auto lines = ParsedCatalogs().Get(path, ParseCatalogLines))
            Apply(*lines, state.Entries);
    }
    state.Pending.clear();
    return state.Entries;
}

}  // namespace

const CatalogEntry& InstrumentCatalogEntry(int32_t entry) {
    static const CatalogEntry kEmpty{};
    if (entry < 0 || entry >= kCatalogEntries) return kEmpty;
    return ThreadCatalog()[static_cast<size_t>(entry)];
}

void ReadInstrumentCatalogText(std::string_view fileBytes) {
    Apply(ParseCatalogLines(fileBytes), ThreadCatalog());
}

bool ReadInstrumentCatalog(const std::string& applicationFolder) {
    const std::filesystem::path path =
        std::filesystem::path(applicationFolder) / "Common" / "Config" / "Instrument.txt";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || !std::ifstream(path, std::ios::binary))
        return false;
    std::vector<std::string>& pending = ThreadState().Pending;
    // The same file read twice in a row fills the same entries.
    if (pending.empty() || pending.back() != path.string()) pending.push_back(path.string());
    return true;
}

int32_t CategoryOfProgram(int32_t program) {
    for (const CatalogEntry& entry : ThreadCatalog())
        if (entry.Number == program) return entry.Category;
    return 0;
}

void ResetInstrumentCatalog() {
    ThreadCatalogState& state = ThreadState();
    state.Pending.clear();
    state.Entries.fill(CatalogEntry{});
}

}  // namespace corvendi
