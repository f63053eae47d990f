#include "common/Cp1252.h"

#include <gtest/gtest.h>

namespace corvendi {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, ReplacesWhatTheCodePageCannotHold) {
    EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ToCp1252("x\xFFy"), "x?y");   // malformed UTF-8
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "??");  // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");  // overlong form
    EXPECT_EQ(Utf8ToCp1252("\U0001D11E", '_'), "_");
    EXPECT_TRUE(FitsCp1252("Caf\u00E9 \u20AC"));
    EXPECT_FALSE(FitsCp1252("\u4E2D"));
}

}  // namespace
}  // namespace corvendi
