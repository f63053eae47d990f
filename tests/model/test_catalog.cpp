#include <gtest/gtest.h>

#include <string>

#include "corvendi/Enums.h"
#include "model/InstrumentCatalog.h"

namespace corvendi {
namespace {

class CatalogTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetInstrumentCatalog(); }
    void TearDown() override { ResetInstrumentCatalog(); }

    static std::string Line(int number, const std::string& description, int category = 5) {
        return std::to_string(category) + "," + std::to_string(number) + ",\"" + description +
               "\",1,40,80,0,0\n";
    }
};

TEST_F(CatalogTest, ReadsAllFieldsOfALine) {
    ReadInstrumentCatalogText(" 3 , 72 ,  \"Clarinet, in B\" , 1 , 50 , 94 , 2 , -2 \r\n");
    const CatalogEntry& entry = InstrumentCatalogEntry(71);
    EXPECT_EQ(entry.Category, 3);
    EXPECT_EQ(entry.Number, 71);
    EXPECT_EQ(entry.Description, "Clarinet, in B");
    EXPECT_EQ(entry.DefaultClef, 1);
    EXPECT_EQ(entry.RangeLow, 50);
    EXPECT_EQ(entry.RangeHigh, 94);
    EXPECT_EQ(entry.Pitch, 2);
    EXPECT_EQ(entry.Offset, -2);
}

TEST_F(CatalogTest, ReadingStopsAtTheFirstUnreadableLine) {
    const std::string bad[] = {
        "5,3,\"Nine fields\",1,40,80,0,0,7\n",
        "5,3,\"Seven fields\",1,40,80,0\n",
        "5,3,\"Unclosed,1,40,80,0,0\n",
        "5,3,\"Text\" after,1,40,80,0,0\n",
        "5,3,\"Decimal\",1,40.5,80,0,0\n",
        "5,3,\"Word\",treble,40,80,0,0\n",
        "5,3,\"Too big\",1,40,32768,0,0\n",
        "5,3,\"Sign only\",1,-,80,0,0\n",
        "\n",
    };
    for (const std::string& line : bad) {
        ResetInstrumentCatalog();
        ReadInstrumentCatalogText(Line(1, "Before") + line + Line(4, "After"));
        EXPECT_EQ(InstrumentCatalogEntry(0).Description, "Before") << line;
        EXPECT_EQ(InstrumentCatalogEntry(2).Description, "") << line;
        EXPECT_EQ(InstrumentCatalogEntry(3).Description, "") << line;
    }
    ReadInstrumentCatalogText("5,3,\"Edge\",1,-32768,32767,0,0\n");
    EXPECT_EQ(InstrumentCatalogEntry(2).RangeLow, -32768);
}

TEST_F(CatalogTest, OnlyNumbersOneTo174FillEntriesFromAtMost175Lines) {
    ReadInstrumentCatalogText(Line(175, "Beyond") + Line(0, "Zero") + Line(-3, "Negative") +
                              Line(174, "Last") + Line(1, "First"));
    EXPECT_EQ(InstrumentCatalogEntry(173).Description, "Last");
    EXPECT_EQ(InstrumentCatalogEntry(0).Description, "First");
    EXPECT_EQ(InstrumentCatalogEntry(174).Description, "");
    EXPECT_EQ(InstrumentCatalogEntry(175).Description, "");
    EXPECT_EQ(InstrumentCatalogEntry(-1).Description, "");

    // At most 175 lines are read.
    std::string text;
    for (int i = 0; i < 174; ++i) text += Line(1, "Filler");
    ReadInstrumentCatalogText(text + Line(2, "Line 175") + Line(3, "Line 176"));
    EXPECT_EQ(InstrumentCatalogEntry(1).Description, "Line 175");
    EXPECT_EQ(InstrumentCatalogEntry(2).Description, "");
}

}  // namespace
}  // namespace corvendi
