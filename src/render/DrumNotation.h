// Where a drum kit's pieces stand on a percussion staff and which heads they take.
#pragma once

#include <cstdint>

namespace corvendi {

struct DrumNotation {
    // Line spacings above the bottom line, negative upwards as on every staff: 0 the bottom
    // line, -0.5 the bottom space, -2 the middle line, -4.5 the space above the staff.
    float Position = -2.0f;
    // Cymbals and hi-hats take a cross head, drums a normal one.
    bool Cross = false;
};

// The place of General MIDI drum key `key` (35..81) in drum notation: bass drums in the bottom
// space, snares in the third space, toms from the fourth space down to the second line,
// hi-hats and cymbals above the staff with cross heads. Other keys stand on the middle line.
DrumNotation DrumNotationOf(int32_t key);

}  // namespace corvendi
