// Which General MIDI soundfont the FluidSynth adapter plays with.
#pragma once

#include <string>
#include <vector>

namespace corvendi::fluidsynth {

// The soundfonts looked for, in order, when none is named: Debian's fluid-soundfont-gm, then
// the small timgm6mb-soundfont.
const std::vector<std::string>& StandardSoundFonts();

// The soundfont to use: `chosen` when not empty, else the variable CORVENDI_SOUNDFONT when set,
// else the first standard soundfont that exists. Empty when none of them is a readable file;
// `lookedFor` then names what was looked for, in one line.
std::string FindSoundFont(const std::string& chosen, std::string& lookedFor);

}  // namespace corvendi::fluidsynth
