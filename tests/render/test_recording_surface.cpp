#include <gtest/gtest.h>

#include "corvendi/RecordingSurface.h"

namespace corvendi {
namespace {

TEST(RecordingSurface, TextFontMetricsCountCharactersNotBytes) {
    RecordingSurface s;
    s.SetFont(FontSpec{"Arial", 10.0f});
    // em = 200 twips: 0.5 em per character, 1.2 em high.
    EXPECT_DOUBLE_EQ(s.TextWidth("abcd"), 400.0);
    EXPECT_DOUBLE_EQ(s.TextWidth("\xC3\xA9t\xC3\xA9"), 300.0);  // "été": 3 characters, 5 bytes
    EXPECT_DOUBLE_EQ(s.TextWidth(""), 0.0);
    EXPECT_DOUBLE_EQ(s.TextHeight("S"), 240.0);
    s.SetFont(FontSpec{"Verdana", 7.5f, true, true});
    EXPECT_DOUBLE_EQ(s.TextHeight(""), 180.0);
}

TEST(RecordingSurface, NumbersInRecordsIgnoreTheLocale) {
    RecordingSurface s;
    s.SetCurrentX(12.5);
    EXPECT_EQ(s.Calls()[0].ToString(), "SetCurrentX(12.5)");
}

}  // namespace
}  // namespace corvendi
