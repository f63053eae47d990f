#include <gtest/gtest.h>

#include <array>

#include "common/Cp1252.h"
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

TEST(RecordingSurface, MusicFontCellAndBaseline) {
    RecordingSurface s;
    s.SetFont(FontSpec{"Quavrix", 20.0f});
    // em = 400 twips: 0.5 em per character, a 2 em cell, the baseline 1.39 em down.
    EXPECT_DOUBLE_EQ(s.TextWidth(MusicChar(0xA7) + "q"), 400.0);
    EXPECT_DOUBLE_EQ(s.TextHeight("q"), 800.0);
    EXPECT_DOUBLE_EQ(RecordingSurface::MusicBaseline(s.Font()), 556.0);
}

TEST(RecordingSurface, RecordsCallsWithArgumentsAndKeepsSettings) {
    RecordingSurface s(SurfaceKind::Printer);
    EXPECT_EQ(s.Kind(), SurfaceKind::Printer);
    s.SetForeColor(255);
    s.Line(10, 20, 30, 40, 0x00FF00, LineFill::FilledBox);
    std::array<PixelPoint, 4> pts{{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
    s.PolyBezier(pts);
    s.TextOut(5, 6, "hi");
    s.SetClipControls(false);
    s.NewPage();

    ASSERT_EQ(s.Calls().size(), 6u);
    EXPECT_EQ(s.Calls()[0], (SurfaceCall{"SetForeColor", {255}, ""}));
    EXPECT_EQ(s.Calls()[1], (SurfaceCall{"Line", {10, 20, 30, 40, 65280, 2}, ""}));
    EXPECT_EQ(s.Calls()[2].Numbers, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s.Calls()[3].ToString(), "TextOut(5, 6, \"hi\")");
    EXPECT_EQ(s.ForeColor(), 255);
    EXPECT_FALSE(s.ClipControls());
    EXPECT_EQ(s.Count("NewPage"), 1u);
    EXPECT_EQ(s.DrawingCalls().size(), 4u);
}

TEST(RecordingSurface, PrintRecordsItsPositionAndAdvances) {
    RecordingSurface s;
    s.SetFont(FontSpec{"Arial", 12.0f, true});
    s.SetCurrentX(100);
    s.SetCurrentY(50);
    s.Print("ab");
    s.Print("c");
    auto prints = s.CallsNamed("Print");
    ASSERT_EQ(prints.size(), 2u);
    EXPECT_EQ(prints[0], (SurfaceCall{"Print", {100, 50}, "ab"}));
    EXPECT_EQ(prints[1], (SurfaceCall{"Print", {340, 50}, "c"}));  // 2 chars x 120 twips
    EXPECT_DOUBLE_EQ(s.CurrentX(), 460.0);
    EXPECT_EQ(s.CallsNamed("SetFont")[0].ToString(), "SetFont(12, 1, 0, 0, \"Arial\")");
    s.Cls();
    EXPECT_DOUBLE_EQ(s.CurrentX(), 0.0);
}

TEST(RecordingSurface, MetricQueriesCanBeLeftOutOfTheRecord) {
    RecordingSurface s;
    s.TextWidth("a");
    EXPECT_EQ(s.Transcript(), "TextWidth(\"a\")\n");
    s.ClearCalls();
    s.SetRecordMetrics(false);
    s.TextHeight("a");
    EXPECT_TRUE(s.Calls().empty());
    s.SetTwipsPerPixel(12, 0);
    EXPECT_DOUBLE_EQ(s.TwipsPerPixelX(), 12.0);
    EXPECT_DOUBLE_EQ(s.TwipsPerPixelY(), 15.0);
}

TEST(RecordingSurface, NumbersInRecordsIgnoreTheLocale) {
    RecordingSurface s;
    s.SetCurrentX(12.5);
    EXPECT_EQ(s.Calls()[0].ToString(), "SetCurrentX(12.5)");
}

}  // namespace
}  // namespace corvendi
