// The score file format's reader and writer, and the routines the file readers share.
// Score::OpenFile and Score::SaveFile choose between the score file and MIDI (MidiFiles.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvendi {

class FileReader;
class ReadFailure;
class Score;

// The staff directory counts its entries (three per staff) in one byte.
constexpr int32_t kMaxFileStaffs = 85;

// Writes the score as a score file at `path`, through a temporary file in the same folder that
// replaces `path` once complete. False, with `path` untouched, when the score has more staffs
// than the file can hold or the file cannot be written completely.
bool SaveScoreFile(const Score& score, const std::string& path);

// Reads the score file open in `file` (its first four bytes are "Qx00") into a fresh score,
// raising BeforeOpenSave, ProgressReport and AfterOpenSave. A file that is not whole (an empty
// directory, a section or directory entry past the end of the file, a read that fails) shows
// "Invalid data encountered loading file." and gives false; damaged records inside a whole
// file are skipped and the result is true.
bool OpenScoreFile(Score& score, FileReader& file, const std::string& path,
                   ReadFailure* failure = nullptr);

// Sets score font `index` from a font spec: fields separated by "|", field 1 the name, field 2
// the size, field 3 "1" for bold ("|Arial|14|1|0|0|" or "Title|Arial|14|1"). Underline is
// turned off; italic is not read from it. Fewer than four fields change
// nothing; a size too large for a single throws ReadFailure.
void ApplyFontSpec(Score& score, int32_t index, std::string_view spec);

// The end of every file read, once the document read is the score's: voice 1 and the first staff
// become active (ActiveVoice and ActiveStaff are raised), loading ends, the score counts as
// unchanged and the window is painted.
void FinishLoading(Score& score);

// Shows a message box of the file layer: the given text, the title "Open" and an exclamation
// icon.
void ShowOpenMessage(const std::string& text);

inline constexpr const char* kUnrecognisedFormatText = "File contains an unrecognised format.";
inline constexpr const char* kInvalidDataText = "Invalid data encountered loading file.";

}  // namespace corvendi
