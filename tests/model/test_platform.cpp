#include "model/HostTimer.h"
#include "model/ProcessState.h"
#include "model/RecentDocs.h"
#include "model/WaitLoop.h"

#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Platform.h>

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corvendi {
namespace {

namespace fs = std::filesystem;

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        mPlatform = std::make_shared<HeadlessPlatform>();
        SetPlatform(mPlatform);
    }
    void TearDown() override {
        ResetProcessState();
        if (!mScratch.empty()) fs::remove_all(mScratch);
    }

    // A folder of this test's own, removed afterwards.
    fs::path Scratch() {
        if (mScratch.empty()) {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            mScratch = fs::temp_directory_path() /
                       ("corvendi-" + std::string(info->name()) + "-" + std::to_string(getpid()));
            fs::remove_all(mScratch);
            fs::create_directories(mScratch);
        }
        return mScratch;
    }

    std::shared_ptr<HeadlessPlatform> mPlatform;
    fs::path mScratch;
};

using Fired = std::vector<std::pair<int64_t, std::string>>;

TEST_F(PlatformTest, VirtualClockFiresTheEarliestDueTimersInStartOrder) {
    Fired fired;
    auto& p = *mPlatform;
    p.StartTimer(45, [&] { fired.emplace_back(p.VirtualTimeMs(), "B"); });
    p.StartTimer(30, [&] { fired.emplace_back(p.VirtualTimeMs(), "A"); });
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(p.ProcessPendingEvents());
    // Both are due at 90: one call fires both, the one started first first.
    EXPECT_EQ(fired, (Fired{{30, "A"}, {45, "B"}, {60, "A"}, {90, "B"}, {90, "A"}}));
    EXPECT_TRUE(p.ProcessPendingEvents());
    EXPECT_EQ(fired.back(), (std::pair<int64_t, std::string>{120, "A"}));
    // Without timers the clock stands still; stopping twice or an unknown id is harmless.
    p.StopTimer(1);
    p.StopTimer(2);
    p.StopTimer(2);
    p.StopTimer(9999);
    EXPECT_EQ(p.StartTimer(25, nullptr), 0);
    EXPECT_FALSE(p.ProcessPendingEvents());
    EXPECT_EQ(p.VirtualTimeMs(), 120);
}

TEST_F(PlatformTest, CallbacksMayStopAndStartTimersButNotFireTheirOwn) {
    auto& p = *mPlatform;
    Fired fired;
    int32_t a = 0, b = 0;
    a = p.StartTimer(10, [&] {
        fired.emplace_back(p.VirtualTimeMs(), "A");
        p.StopTimer(b);  // due at the same time, but stopped before its turn
        p.StartTimer(5, [&] { fired.emplace_back(p.VirtualTimeMs(), "C"); });
        p.StopTimer(a);
    });
    b = p.StartTimer(10, [&] { fired.emplace_back(p.VirtualTimeMs(), "B"); });

    EXPECT_TRUE(p.ProcessPendingEvents());
    EXPECT_EQ(p.ArmedTimerCount(), 1);  // only C
    EXPECT_TRUE(p.ProcessPendingEvents());
    EXPECT_EQ(fired, (Fired{{10, "A"}, {15, "C"}}));

    // A timer is not fired from inside its own callback.
    int calls = 0;
    bool nestedResult = true;
    int32_t id = 0;
    id = p.StartTimer(10, [&] {
        ++calls;
        nestedResult = p.ProcessPendingEvents();  // nothing else could happen
        p.StopTimer(id);
    });
    p.StopTimer(3);  // C
    EXPECT_TRUE(p.ProcessPendingEvents());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(nestedResult);
}

TEST_F(PlatformTest, HostTimerMayBeDestroyedByItsHandler) {
    auto timer = std::make_unique<HostTimer>();
    int ticks = 0;
    timer->SetHandler([&] {
        ++ticks;
        timer.reset();
    });
    timer->SetInterval(25);
    timer->SetEnabled(true);
    EXPECT_TRUE(mPlatform->ProcessPendingEvents());
    EXPECT_FALSE(mPlatform->ProcessPendingEvents());
    EXPECT_EQ(ticks, 1);
}

TEST_F(PlatformTest, AppFolderResolutionOrder) {
    const fs::path root = Scratch();
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    const std::string source = "/src/data";

    EXPECT_EQ(ResolveAppFolder("/host", "/env", bin.string(), source), "/host");
    EXPECT_EQ(ResolveAppFolder("", "/env", bin.string(), source), "/env");
    // Without an installed share folder next to the program, the source data folder.
    EXPECT_EQ(ResolveAppFolder("", "", bin.string(), source), source);
    fs::create_directories(root / "share" / "corvendi");
    EXPECT_EQ(ResolveAppFolder("", "", bin.string(), source),
              (root / "share" / "corvendi").string());
    EXPECT_EQ(ResolveAppFolder("", "", "", source), source);

    mPlatform->SetAppFolder("/explicit");
    EXPECT_EQ(CurrentPlatform().AppFolder(), "/explicit");
    mPlatform->SetAppFolder("");
    const char* saved = std::getenv("CORVENDI_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("CORVENDI_HOME", "/from/env", 1);
    EXPECT_EQ(mPlatform->AppFolder(), "/from/env");
    if (saved)
        setenv("CORVENDI_HOME", savedValue.c_str(), 1);
    else
        unsetenv("CORVENDI_HOME");
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(PlatformTest, RecentDocumentsLeaveAForeignFileAlone) {
    const fs::path list = Scratch() / "recently-used.xbel";
    std::ofstream(list) << "not a bookmark list";
    EXPECT_FALSE(AddToRecentlyUsedList(list.string(), "/x.sco", std::chrono::system_clock::now()));
    EXPECT_EQ(ReadAll(list), "not a bookmark list");
    EXPECT_EQ(FileUri("/a b/\xC3\xA9.sco"), "file:///a%20b/%C3%A9.sco");
}

}  // namespace
}  // namespace corvendi
