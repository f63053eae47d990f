// The byte helpers the file readers and writers share.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "io/FileHelpers.h"

namespace corvendi {
namespace {

TEST(FileHelpers, TheReadBufferHoldsZerosPastTheEndOfTheFile) {
    const auto path = std::filesystem::temp_directory_path() / "corvendi-file-helpers.bin";
    std::ofstream(path, std::ios::binary) << std::string("ab\xFF", 3);
    FileReader file;
    std::string error;
    ASSERT_TRUE(file.Open(path.string(), error));
    EXPECT_EQ(file.FileLen(), 3);

    file.ReadBytes(2, 1000000);
    EXPECT_EQ(file.BufferLen(), 1000000);
    EXPECT_EQ(file.DataLen(), 2);
    EXPECT_EQ(file.BytesToText(1, 4), std::string("b\xFF\0\0", 4));
    EXPECT_EQ(file.ByteAt(999999), 0);
    EXPECT_THROW(file.ByteAt(1000000), ReadFailure);
    EXPECT_THROW(file.ByteAt(-1), ReadFailure);
    EXPECT_EQ(file.CharAt(1), "\xFF");
    EXPECT_EQ(file.FindByte(1, 255), 2);
    EXPECT_EQ(file.FindByte(3, 255), 0);
    EXPECT_EQ(file.FindByte(1, 0), 3);  // the first of the zeros past the end

    file.Close();
    std::filesystem::remove(path);
    EXPECT_FALSE(file.Open(path.string(), error));
    EXPECT_FALSE(error.empty());
}

TEST(FileHelpers, NumbersTooLargeForTheirFieldEndTheRead) {
    EXPECT_EQ(IntegerField(2.5), 2);
    EXPECT_EQ(IntegerField(-32768.4), -32768);
    EXPECT_THROW(IntegerField(32767.5), ReadFailure);
    EXPECT_EQ(LongField(3.5), 4);
    EXPECT_THROW(LongField(3e9), ReadFailure);
    EXPECT_THROW(ByteField(256), ReadFailure);
    EXPECT_THROW(SingleField(1e39), ReadFailure);
}

TEST(FileHelpers, TextOutsideTheCodePageOrOnAMarkerBecomesAQuestionMark) {
    EXPECT_EQ(FileText("é€Āþÿ\x01"), "\xE9\x80???\x01");
    EXPECT_EQ(FontNameText(std::string("a\0b", 3)), "a?b");
    EXPECT_EQ(DescriptionText("a\tb\x1F"), "a?b?");
    EXPECT_EQ(EngineText("\xE9\x80"), "é€");
}

}  // namespace
}  // namespace corvendi
