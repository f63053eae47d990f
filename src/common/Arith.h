// The arithmetic conventions of the engine, in one place.
//
// Time and layout formulas divide integers truncating toward zero (written a \ b) and take the
// remainder with the sign of the dividend (a mod b); reals become integers by rounding to the
// nearest integer with halves going to the even neighbour (nint). Code that converts or divides
// uses these helpers, never an ad-hoc cast.
#pragma once

#include <cstdint>

namespace corvendi {

// a \ b: integer division truncating toward zero. Division by zero yields 0 instead of trapping.
constexpr int32_t IDiv(int32_t a, int32_t b) {
    if (b == 0) return 0;
    if (b == -1) return a == INT32_MIN ? INT32_MAX : -a;
    return a / b;
}
constexpr int64_t IDiv64(int64_t a, int64_t b) {
    if (b == 0) return 0;
    if (b == -1) return a == INT64_MIN ? INT64_MAX : -a;
    return a / b;
}

// a mod b: remainder with the sign of a. A zero divisor yields 0.
constexpr int32_t IMod(int32_t a, int32_t b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}
constexpr int64_t IMod64(int64_t a, int64_t b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

// nint(x): nearest integer, halves to even. Values beyond the 32-bit range saturate; NaN gives 0.
int32_t NInt(double x);
int32_t NInt(float x);
int64_t NInt64(double x);

// floor(x) as an integer, saturating like NInt.
int32_t FloorToInt(double x);

// floor(a / b) for integers (used where a formula takes the floor of a quotient of times).
constexpr int32_t FloorDiv(int32_t a, int32_t b) {
    if (b == 0) return 0;
    int32_t q = IDiv(a, b);
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Narrowing with wrap-around, as a store into a narrower field does.
constexpr int16_t WrapToInt16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
constexpr uint8_t WrapToByte(int64_t v) { return static_cast<uint8_t>(v); }

// Clamp helper for setters that accept a range.
template <typename T>
constexpr bool InRange(T v, T lo, T hi) {
    return v >= lo && v <= hi;
}

}  // namespace corvendi
