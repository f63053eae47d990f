// A low/high pair of 32-bit values: an instrument's pitch range, a run of measures, the first
// and last item of a page. A new Range is 0..0.
#pragma once

#include <cstdint>

namespace corvendi {

class Range {
  public:
    int32_t Low() const { return mLow; }
    int32_t High() const { return mHigh; }

    // Engine-internal: hosts read a range, the engine fills it. Negative values are ignored.
    void LowSet(int32_t value);
    void HighSet(int32_t value);

  private:
    int32_t mHigh = 0;
    int32_t mLow = 0;
};

}  // namespace corvendi
