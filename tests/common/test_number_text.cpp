#include "common/NumberText.h"

#include <gtest/gtest.h>

namespace corvendi {
namespace {

TEST(NumberText, WritesShortestTextWithAtMostSevenDigits) {
    EXPECT_EQ(NumberText(0.4f), "0.4");
    EXPECT_EQ(NumberText(14.0f), "14");
    EXPECT_EQ(NumberText(-0.25f), "-0.25");
    EXPECT_EQ(NumberText(0.1f + 0.2f), "0.3");
    EXPECT_EQ(NumberText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(NumberText(1234567.0f), "1234567");
    EXPECT_EQ(NumberText(123456789.0f), "123456800");
    EXPECT_EQ(NumberText(0.00001f), "0.00001");
}

TEST(NumberText, LeadingNumberReadsWhatNumberTextWrites) {
    // Values with seven or fewer significant digits come back exactly.
    for (float v : {0.4f, 14.0f, -0.25f, 0.65f, 1.234567f, 11.0f}) {
        EXPECT_EQ(static_cast<float>(LeadingNumber(NumberText(v))), v) << NumberText(v);
    }
}

TEST(NumberText, LeadingNumberStopsAtTheFirstForeignCharacter) {
    EXPECT_DOUBLE_EQ(LeadingNumber("  2.5cm"), 2.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-3.5e2x"), -350.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("12e"), 12.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(LeadingNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("&HFF"), 255.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("&HFFFFFFFF"), -1.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("&O17"), 15.0);
}

}  // namespace
}  // namespace corvendi
