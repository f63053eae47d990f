// The entry points of MIDI import and export that Score::OpenFile and Score::SaveFile call.
#pragma once

#include <string>

namespace corvendi {

class FileReader;
class ReadFailure;
class Score;

// Imports the Standard MIDI File open in `file` (its first four bytes are "MThd") into a fresh
// score. Reports what it cannot read in a message box (ShowOpenMessage) and returns false then:
// a refused header, a header or track chunk running past the end of the file, no track.
bool OpenMidiFile(Score& score, FileReader& file, const std::string& path,
                  ReadFailure* failure = nullptr);

// Writes the score as a Standard MIDI File: for an export (`playback` false) through the
// temporary file that replaces `path` once complete, for playback directly to `path`.
bool SaveMidiFile(const Score& score, const std::string& path, bool playback);

}  // namespace corvendi
