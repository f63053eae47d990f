// The chord mapper a new score creates and loads.
#include <filesystem>

#include "corvendi/ChordLibrary.h"
#include "engine/ScoreTestSupport.h"

namespace corvendi::test {
namespace {

using ScoreChordMapper = ScoreTest;

TEST_F(ScoreChordMapper, ANewScoreLoadsTheVocabularyFromItsApplicationFolder) {
    NewScore();
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
    NewScore();
    ASSERT_NE(score->ChordMapper(), nullptr);
    EXPECT_EQ(score->ChordMapper()->ChordCount(), 0);
    EXPECT_TRUE(Headless().Messages().empty());
    std::filesystem::remove_all(empty);
}

}  // namespace
}  // namespace corvendi::test
