#include "common/Arith.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvendi {
namespace {

TEST(Arith, DivisionTruncatesTowardZeroAndRemainderKeepsDividendSign) {
    EXPECT_EQ(IDiv(7, 2), 3);
    EXPECT_EQ(IDiv(-7, 2), -3);
    EXPECT_EQ(IMod(-7, 2), -1);
    EXPECT_EQ(IMod(7, -2), 1);
    EXPECT_EQ(IDiv(INT32_MIN, -1), INT32_MAX);
    EXPECT_EQ(IDiv(5, 0), 0);
    EXPECT_EQ(IMod(5, 0), 0);
}

TEST(Arith, FloorDivRoundsDown) {
    EXPECT_EQ(FloorDiv(7, 2), 3);
    EXPECT_EQ(FloorDiv(-7, 2), -4);
    EXPECT_EQ(FloorDiv(-8, 2), -4);
    EXPECT_EQ(FloorDiv(7, -2), -4);
}

TEST(Arith, NIntRoundsHalvesToEven) {
    EXPECT_EQ(NInt(0.5), 0);
    EXPECT_EQ(NInt(1.5), 2);
    EXPECT_EQ(NInt(-2.5), -2);
    EXPECT_EQ(NInt(2.4999), 2);
    EXPECT_EQ(NInt(22.0 / 15.0), 1);
    EXPECT_EQ(NInt(0.4f * 1440.0f), 576);
    EXPECT_EQ(NInt(-1.5), -2);
    EXPECT_EQ(NInt(-0.5), 0);
    EXPECT_EQ(NInt(-1.7), -2);
}

// The default rounding mode of the machine rounds halves to even too: both agree on quarters,
// on values just beside halves and on doubles too large to have a fraction.
TEST(Arith, NIntAgreesWithTheMachinesRounding) {
    for (int64_t quarter = -4000; quarter <= 4000; ++quarter) {
        const double x = quarter / 4.0;
        ASSERT_EQ(NInt64(x), std::llrint(x)) << x;
        ASSERT_EQ(NInt64(std::nextafter(x, 1e9)), std::llrint(std::nextafter(x, 1e9))) << x;
        ASSERT_EQ(NInt64(std::nextafter(x, -1e9)), std::llrint(std::nextafter(x, -1e9))) << x;
    }
    for (double x : {4503599627370495.5, 4503599627370497.0, -4503599627370495.5, 1e17, -1e17})
        EXPECT_EQ(NInt64(x), std::llrint(x)) << x;
}

TEST(Arith, NIntSaturatesOutsideTheRange) {
    EXPECT_EQ(NInt(1e12), INT32_MAX);
    EXPECT_EQ(NInt(-1e12), INT32_MIN);
    EXPECT_EQ(NInt(std::nan("")), 0);
    EXPECT_EQ(FloorToInt(-0.5), -1);
}

}  // namespace
}  // namespace corvendi
