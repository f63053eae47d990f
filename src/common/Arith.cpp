#include "common/Arith.h"

#include <cmath>
#include <limits>

namespace corvendi {

namespace {

// Round half to even without depending on the floating-point environment's rounding mode.
double RoundHalfEven(double x) {
    double r = std::floor(x);
    double diff = x - r;
    if (diff > 0.5) return r + 1.0;
    if (diff < 0.5) return r;
    return std::fmod(r, 2.0) == 0.0 ? r : r + 1.0;
}

template <typename Int>
Int Saturate(double r) {
    if (std::isnan(r)) return 0;
    if (r >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (r <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return static_cast<Int>(r);
}

}  // namespace

int32_t NInt(double x) { return Saturate<int32_t>(RoundHalfEven(x)); }
int32_t NInt(float x) { return NInt(static_cast<double>(x)); }
int64_t NInt64(double x) { return Saturate<int64_t>(RoundHalfEven(x)); }
int32_t FloorToInt(double x) { return Saturate<int32_t>(std::floor(x)); }

}  // namespace corvendi
