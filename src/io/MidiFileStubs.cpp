// Stand-ins until MIDI import and export exist: a MIDI file is reported like a file of any
// other unrecognised format, and saving as MIDI writes nothing. The MIDI reader and writer
// replace this file.
#include "io/MidiFiles.h"
#include "io/ScoreFile.h"

namespace corvendi {

bool OpenMidiFile(Score& score, FileReader& file, const std::string& path) {
    (void)score, (void)file, (void)path;
    ShowOpenMessage(kUnrecognisedFormatText);
    return false;
}

bool SaveMidiFile(const Score& score, const std::string& path, bool playback) {
    (void)score, (void)path, (void)playback;
    return false;
}

}  // namespace corvendi
