// The font path cache: found again by a later run until a stamped folder changes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "FontPathCache.h"

namespace corvendi::test {
namespace {

namespace fs = std::filesystem;
using cairoimpl::FontFile;
using cairoimpl::FontPathCache;

class FontPathCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mFolder = fs::temp_directory_path() / ("corvendi-font-cache-" + std::to_string(::getpid()));
        fs::create_directories(mFolder / "fonts");
        mFile = (mFolder / "cache" / "font-paths").string();
    }
    void TearDown() override { fs::remove_all(mFolder); }

    std::string FontFolder() const { return (mFolder / "fonts").string(); }
    // A font installed into the folder one second later than anything before.
    void ChangeFontFolder() {
        std::ofstream(mFolder / "fonts" / "new.ttf") << "x";
        fs::last_write_time(mFolder / "fonts",
                            fs::last_write_time(mFolder / "fonts") + std::chrono::seconds(1));
    }

    fs::path mFolder;
    std::string mFile;
};

const FontFile kSerif{"/fonts/Serif-Bold.ttf", 2, "Serif"};

TEST_F(FontPathCacheTest, ALaterRunFindsWhatWasStoredUntilAStampedFolderChanges) {
    FontPathCache(mFile).Store("Times", true, false, kSerif, {FontFolder()});

    FontPathCache later(mFile);
    const auto found = later.Find("Times", true, false);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Path, kSerif.Path);
    EXPECT_EQ(found->Index, kSerif.Index);
    EXPECT_EQ(found->Family, kSerif.Family);
    EXPECT_FALSE(later.Find("Times", false, false).has_value());

    ChangeFontFolder();
    EXPECT_FALSE(FontPathCache(mFile).Find("Times", true, false).has_value());
}

TEST_F(FontPathCacheTest, ADamagedOrForeignFileIsAMissAndIsReplaced) {
    fs::create_directories(fs::path(mFile).parent_path());
    std::ofstream(mFile) << "corvendi-font-paths 1\nstamp\t" << FontFolder()
                         << "\tnot-a-time\nfont\tTimes\t1\t0\t/x.ttf\t-5\tX\n\x01\x02\n";
    FontPathCache damaged(mFile);
    EXPECT_FALSE(damaged.Find("Times", true, false).has_value());
    damaged.Store("Times", true, false, kSerif, {FontFolder()});
    EXPECT_TRUE(FontPathCache(mFile).Find("Times", true, false).has_value());
}

}  // namespace
}  // namespace corvendi::test
