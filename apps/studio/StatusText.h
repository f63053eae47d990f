// Texts of the status bar.
#pragma once

#include <cstdint>
#include <string>

namespace corvendi::studio {

// A MIDI pitch as a note name with its octave, middle C (60) being "C4"; sharps for the black
// keys. Values outside 0..127 give "".
std::string PitchName(int32_t value);

}  // namespace corvendi::studio
