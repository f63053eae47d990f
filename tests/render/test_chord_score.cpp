// The chord mapper a new score creates and loads.
#include <gtest/gtest.h>

#include <filesystem>

#include "corvendi/ChordLibrary.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Score.h"
#include "model/ProcessState.h"

namespace corvendi {
namespace {

class ScoreChordMapper : public ::testing::Test {
  protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
    static HeadlessPlatform& Headless() {
        return dynamic_cast<HeadlessPlatform&>(CurrentPlatform());
    }
};

TEST_F(ScoreChordMapper, ANewScoreLoadsTheVocabularyFromItsApplicationFolder) {
    Headless().SetAppFolder(CORVENDI_TEST_DATA_DIR);
    const auto score = Score::Create();
    ASSERT_NE(score->ChordMapper(), nullptr);
    EXPECT_EQ(score->ChordMapper()->ChordCount(), 252);
    EXPECT_EQ(score->ChordMapper()->ChordName(0), "C");
    EXPECT_EQ(score->ChordMapper()->RowHeight(false), ChordLibrary::kNameRowHeight);
    EXPECT_EQ(score->ChordMapper()->RowHeight(true), ChordLibrary::kDiagramRowHeight);
}

TEST_F(ScoreChordMapper, AMissingDataFileLeavesAnEmptyVocabularyQuietly) {
    const auto empty = std::filesystem::temp_directory_path() / "corvendi-chords-no-app-folder";
    std::filesystem::remove_all(empty);
    std::filesystem::create_directories(empty);
    Headless().SetAppFolder(empty.string());
    const auto score = Score::Create();
    ASSERT_NE(score->ChordMapper(), nullptr);
    EXPECT_EQ(score->ChordMapper()->ChordCount(), 0);
    EXPECT_TRUE(Headless().Messages().empty());
    std::filesystem::remove_all(empty);
}

}  // namespace
}  // namespace corvendi
