#include "model/InstrumentCatalog.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "common/Cp1252.h"

namespace corvendi {

namespace {

using Catalog = std::array<CatalogEntry, kCatalogEntries>;

Catalog& ThreadCatalog() {
    thread_local Catalog catalog{};
    return catalog;
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

}  // namespace

const CatalogEntry& InstrumentCatalogEntry(int32_t entry) {
    static const CatalogEntry kEmpty{};
    if (entry < 0 || entry >= kCatalogEntries) return kEmpty;
    return ThreadCatalog()[static_cast<size_t>(entry)];
}

void ReadInstrumentCatalogText(std::string_view fileBytes) {
    Catalog& catalog = ThreadCatalog();
    size_t pos = 0;
    for (int32_t lineNo = 0; lineNo < kCatalogLinesRead; ++lineNo) {
        const auto line = NextLine(fileBytes, pos);
        if (!line) return;
        auto parsed = ParseLine(*line);
        if (!parsed) return;
        if (parsed->number >= 1 && parsed->number <= kCatalogEntries - 1)
            catalog[static_cast<size_t>(parsed->number - 1)] = std::move(parsed->entry);
    }
}

bool ReadInstrumentCatalog(const std::string& applicationFolder) {
    const std::filesystem::path path =
        std::filesystem::path(applicationFolder) / "Common" / "Config" / "Instrument.txt";
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ReadInstrumentCatalogText(bytes);
    return true;
}

int32_t CategoryOfProgram(int32_t program) {
    for (const CatalogEntry& entry : ThreadCatalog())
        if (entry.Number == program) return entry.Category;
    return 0;
}

void ResetInstrumentCatalog() { ThreadCatalog().fill(CatalogEntry{}); }

}  // namespace corvendi
