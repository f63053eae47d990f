// A low/high pair of 32-bit values: an instrument's pitch range, a run of measures, the first
// and last item of a page. A new Range is 0..0.
#pragma once

#include <cstdint>

#include "corvendi/Export.h"

namespace corvendi {

namespace detail {
struct RangeAccess;
}  // namespace detail

class CORVENDI_API Range {
  public:
    int32_t Low() const { return mLow; }
    int32_t High() const { return mHigh; }

  private:
    friend struct detail::RangeAccess;

    int32_t mHigh = 0;
    int32_t mLow = 0;
};

}  // namespace corvendi
