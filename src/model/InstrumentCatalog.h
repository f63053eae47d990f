// The instrument catalogue: a per-thread table of 175 instrument definitions, read from
// Common/Config/Instrument.txt below the application folder and shared by all scores.
//
// The file holds one entry per line, eight comma-separated fields:
//     Category, Number, "Description", DefaultClef, RangeLow, RangeHigh, Pitch, Offset
// Numbers are integers, the description a quoted Windows-1252 string that may contain commas;
// blanks around a field are ignored. A line numbered n (1..174) fills entry n - 1; a later line
// with the same number replaces the earlier one, other numbers are skipped. At most 175 lines
// are read, and reading stops at the first line that is not eight such fields. Entries that no
// line fills stay empty.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvendi {

struct CatalogEntry {
    int16_t Category = 0;
    // The entry's own number (the line's number - 1); for entries 0..127 the MIDI program.
    int16_t Number = 0;
    std::string Description;
    int16_t DefaultClef = 0;
    int16_t RangeLow = 0;
    int16_t RangeHigh = 0;
    int16_t Pitch = 0;
    int16_t Offset = 0;
};

constexpr int32_t kCatalogEntries = 175;
constexpr int32_t kCatalogLinesRead = 175;

// Entry 0..174 of this thread's catalogue; any other number gives an empty entry.
const CatalogEntry& InstrumentCatalogEntry(int32_t entry);

// Reads <applicationFolder>/Common/Config/Instrument.txt into the catalogue. Returns false,
// leaving the catalogue as it was, when the file cannot be opened.
bool ReadInstrumentCatalog(const std::string& applicationFolder);

// Reads catalogue lines from the bytes of a catalogue file.
void ReadInstrumentCatalogText(std::string_view fileBytes);

// The category of the first entry whose number equals the program; 0 when none does.
int32_t CategoryOfProgram(int32_t program);

// Empties every entry (tests start from a known state).
void ResetInstrumentCatalog();

}  // namespace corvendi
