// Offline rendering of a score or a MIDI file to an audio file through FluidSynth's file
// renderer, faster than real time: WAV always, FLAC and Ogg Vorbis where FluidSynth's libsndfile
// offers them. The sound is 16-bit stereo at 44,100 Hz. The file ends at the MIDI file's last
// event plus the release of the notes still sounding, at most one second.
#pragma once

#include <cstdint>
#include <string>

namespace corvendi {
class Score;
}

namespace corvendi::fluidsynth {

enum class AudioFormat { None, Wav, Flac, Ogg };

// The format an output's extension names: .wav, .flac, .ogg or .oga (any case); None else.
AudioFormat AudioFormatOf(const std::string& path);
// Whether FluidSynth can write the format on this machine.
bool AudioFormatAvailable(AudioFormat format);

struct RenderResult {
    bool Ok = false;
    std::string Error;  // one line, when not Ok
    int64_t Frames = 0;
    int32_t SampleRate = 0;
};

// Renders the Standard MIDI File at `midiPath` with `soundFont` into `outPath`, in the format
// its extension names.
RenderResult RenderMidiFile(const std::string& midiPath, const std::string& outPath,
                            const std::string& soundFont);
// The same for a score, through its temporary playback file.
RenderResult RenderScore(Score& score, const std::string& outPath, const std::string& soundFont);

}  // namespace corvendi::fluidsynth
