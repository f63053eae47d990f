#include "common/Arith.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace corvendi {

namespace {

// From this magnitude on, every double is a whole number.
constexpr double kWholeFrom = 4503599627370496.0;  // 2^52

// Round half to even without depending on the floating-point environment's rounding mode.
// Drawing rounds every coordinate, so the common case avoids library calls: below 2^52 the
// truncation to an integer and the fraction left are exact.
double RoundHalfEven(double x) {
    if (!(std::abs(x) < kWholeFrom)) return x;  // whole already, infinite or NaN
    int64_t whole = static_cast<int64_t>(x);
    if (static_cast<double>(whole) > x) --whole;  // towards minus infinity
    const double r = static_cast<double>(whole);
    const double diff = x - r;
    if (diff > 0.5) return r + 1.0;
    if (diff < 0.5) return r;
    return whole % 2 == 0 ? r : r + 1.0;
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
