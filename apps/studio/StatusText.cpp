#include "StatusText.h"

#include <array>

namespace corvendi::studio {

std::string PitchName(int32_t value) {
    static constexpr std::array<const char*, 12> kNames{"C",  "C#", "D",  "D#", "E",  "F",
                                                        "F#", "G",  "G#", "A",  "A#", "B"};
    if (value < 0 || value > 127) return {};
    return std::string(kNames[static_cast<size_t>(value % 12)]) + std::to_string(value / 12 - 1);
}

}  // namespace corvendi::studio
