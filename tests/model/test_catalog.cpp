#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "InstrumentTestSupport.h"
#include "corvendi/Enums.h"
#include "model/InstrumentCatalog.h"

namespace corvendi {
namespace {

class CatalogTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetInstrumentCatalog(); }
    void TearDown() override {
        ResetInstrumentCatalog();
        if (!mFolder.empty()) std::filesystem::remove_all(mFolder);
    }

    // An application folder holding the given catalogue file.
    std::string FolderWithCatalog(const std::string& bytes) {
        mFolder = std::filesystem::temp_directory_path() /
                  ("corvendi-catalog-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder / "Common" / "Config");
        std::ofstream(mFolder / "Common" / "Config" / "Instrument.txt", std::ios::binary) << bytes;
        return mFolder.string();
    }

    static std::string Line(int number, const std::string& description, int category = 5) {
        return std::to_string(category) + "," + std::to_string(number) + ",\"" + description +
               "\",1,40,80,0,0\n";
    }

    std::filesystem::path mFolder;
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

TEST_F(CatalogTest, DescriptionsAreWindows1252AndFieldsMayBeUnquotedOrEmpty) {
    ReadInstrumentCatalogText(
        "1,2,\"Caf\xE9 Voice\",,,,,\n"
        "1,3,Plain words,2,1,2,3,4\n");
    EXPECT_EQ(InstrumentCatalogEntry(1).Description, "Caf\u00e9 Voice");
    EXPECT_EQ(InstrumentCatalogEntry(1).RangeHigh, 0);
    EXPECT_EQ(InstrumentCatalogEntry(2).Description, "Plain words");
    EXPECT_EQ(InstrumentCatalogEntry(2).Offset, 4);

    // A later line with the same number replaces the entry.
    ReadInstrumentCatalogText(Line(10, "First", 2) + Line(11, "Other") + Line(10, "Second", 4));
    EXPECT_EQ(InstrumentCatalogEntry(9).Description, "Second");
    EXPECT_EQ(InstrumentCatalogEntry(9).Category, 4);
    EXPECT_EQ(InstrumentCatalogEntry(10).Description, "Other");
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

TEST_F(CatalogTest, AFileBelowTheApplicationFolderIsReadAndAMissingOneChangesNothing) {
    EXPECT_TRUE(ReadInstrumentCatalog(FolderWithCatalog(Line(6, "From file"))));
    EXPECT_EQ(InstrumentCatalogEntry(5).Description, "From file");
    ReadInstrumentCatalogText(Line(5, "Kept"));
    EXPECT_FALSE(ReadInstrumentCatalog("/nonexistent/corvendi/folder"));
    EXPECT_EQ(InstrumentCatalogEntry(4).Description, "Kept");
    // An unreadable first line also changes nothing.
    ReadInstrumentCatalog(FolderWithCatalog("garbage\n" + Line(5, "Replaced")));
    EXPECT_EQ(InstrumentCatalogEntry(4).Description, "Kept");
}

TEST_F(CatalogTest, CategoryOfProgramLooksUpTheEntryNumber) {
    ReadInstrumentCatalogText(Line(41, "Violin", catString) + Line(129, "Kick", catDrums));
    EXPECT_EQ(CategoryOfProgram(40), catString);
    EXPECT_EQ(CategoryOfProgram(128), catDrums);
    EXPECT_EQ(CategoryOfProgram(41), 0);
    EXPECT_EQ(CategoryOfProgram(-5), 0);
    EXPECT_EQ(CategoryOfProgram(1000), 0);
}

TEST_F(CatalogTest, ShippedCatalogueFollowsGeneralMidi) {
    ASSERT_TRUE(ReadInstrumentCatalog(CORVENDI_TEST_DATA_DIR));
    struct Fact {
        int32_t entry;
        const char* name;
        int32_t category;
    };
    const Fact facts[] = {
        {0, "Acoustic Grand Piano", catGrand},
        {127, "Gunshot", catSolo},
        {128, "Acoustic Bass Drum", catDrums},
        {173, "Mute Triangle", catDrums},
    };
    for (const Fact& fact : facts) {
        EXPECT_EQ(InstrumentCatalogEntry(fact.entry).Description, fact.name);
        EXPECT_EQ(InstrumentCatalogEntry(fact.entry).Category, fact.category) << fact.name;
    }
    for (int32_t i = 0; i < 128; ++i) {
        const CatalogEntry& e = InstrumentCatalogEntry(i);
        EXPECT_EQ(e.Number, i);
        EXPECT_NE(e.Category, catDrums) << e.Description;
        EXPECT_LE(e.RangeLow, e.RangeHigh) << e.Description;
        EXPECT_GE(e.RangeLow, 0);
        EXPECT_LE(e.RangeHigh, 127);
        EXPECT_TRUE(e.Pitch >= -7 && e.Pitch <= 7 && e.Offset >= -12 && e.Offset <= 12)
            << e.Description;
    }
    // Drum sounds are the percussion keys 35..80, one per entry.
    for (int32_t i = 128; i < 174; ++i) {
        EXPECT_EQ(InstrumentCatalogEntry(i).RangeLow, i - 93);
        EXPECT_EQ(InstrumentCatalogEntry(i).RangeHigh, i - 93);
        EXPECT_EQ(InstrumentCatalogEntry(i).DefaultClef, clfPercussion);
    }
    EXPECT_EQ(InstrumentCatalogEntry(174).Description, "");

    // Transposing instruments: written above sounding.
    EXPECT_EQ(InstrumentCatalogEntry(71).Pitch, 2);  // clarinet in B-flat
    EXPECT_EQ(InstrumentCatalogEntry(71).Offset, 2);
    EXPECT_EQ(InstrumentCatalogEntry(60).Offset, 7);  // horn in F
    EXPECT_EQ(InstrumentCatalogEntry(65).Offset, 9);  // alto sax in E-flat
    EXPECT_EQ(InstrumentCatalogEntry(65).Pitch, 3);
    EXPECT_EQ(InstrumentCatalogEntry(24).Offset, 12);  // guitar
}

}  // namespace
}  // namespace corvendi
