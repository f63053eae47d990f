// The sound of the corvendi program: playing on the sound card and rendering to audio files,
// through the FluidSynth adapter. The parts that use it live in a module of their own
// (corvendi-sound.so), loaded only when a command needs sound, so that the program starts
// without the sound libraries; without the module, both commands say so and fail.
#pragma once

#include <string>

#include "CommandLine.h"

namespace corvendi::cli {

// In the program (SoundModule.cpp):
// corvendi play IN [--from MEASURE] [--soundfont SF2].
int RunPlay(const CommandLine& line);
// Whether an output name asks for an audio file (.wav, .flac, .ogg, .oga).
bool IsAudioOutput(const std::string& output);
// corvendi render IN -o OUT.wav [--soundfont SF2].
int RunRenderAudio(const CommandLine& line);

// In the module (Play.cpp, AudioOutput.cpp):
int PlayOnSoundCard(const CommandLine& line);
int RenderToAudioFile(const CommandLine& line);
class Host;
// The soundfont play and render use (--soundfont, $CORVENDI_SOUNDFONT, a standard one); empty,
// with one line on standard error naming what was looked for, when there is none.
std::string SoundFontFor(const Host& host, const CommandLine& line);

}  // namespace corvendi::cli

// The module's entry points, looked up by name.
extern "C" {
using CorvendiSoundEntry = int (*)(const corvendi::cli::CommandLine* line);
}
