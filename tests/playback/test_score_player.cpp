// PlayScore through the headless sequencer: the temporary file, positions and stopping.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "corvendi/MidiFileTiming.h"
#include "playback/PlaybackTestSupport.h"

namespace corvendi::test {
namespace {

namespace fs = std::filesystem;

class ScorePlayback : public PlaybackTest {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("corvendi-playback-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (const char* old = std::getenv("TMPDIR")) oldTmpdir = old;
        setenv("TMPDIR", folder.c_str(), 1);
        PlaybackTest::SetUp();
        for (int32_t i = 0; i < 4; ++i) score->AddNote(1, i * 16, 60, 16, 0);  // one measure
        log->log.clear();
    }
    void TearDown() override {
        PlaybackTest::TearDown();
        if (oldTmpdir) {
            setenv("TMPDIR", oldTmpdir->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        fs::remove_all(folder);
    }

    // Milliseconds the score's file plays, by its own tempo events.
    int64_t FileMilliseconds() const {
        const auto timing = MidiFileTiming::ReadFile(score->WritePlayFile());
        return timing ? (timing->DurationMicroseconds() + 999) / 1000 : -1;
    }

    void RunTimers() {
        while (Headless().ProcessPendingEvents()) {
        }
    }

    fs::path folder;
    std::optional<std::string> oldTmpdir;
};

TEST_F(ScorePlayback, PlaysToTheEndOnTheVirtualClockAndStaysOpenUntilStopped) {
    score->PlayScore(false, true);
    ASSERT_TRUE(score->Playing());
    EXPECT_EQ(score->PlayPosition(), 0);

    const int64_t length = FileMilliseconds();
    ASSERT_GT(length, 0);
    const int64_t start = Headless().VirtualTimeMs();
    int32_t halfway = 0;
    halfway = Headless().StartTimer(static_cast<int32_t>(length / 2), [&] {
        log->log.push_back("halfway at " + std::to_string(score->PlayPosition()));
        Headless().StopTimer(halfway);
    });
    RunTimers();
    EXPECT_EQ(log->log, (std::vector<std::string>{"halfway at 32", "PlayDone"}));
    EXPECT_EQ(Headless().VirtualTimeMs() - start, length);
    EXPECT_TRUE(score->Playing());  // open at its end until the next PlayScore
    EXPECT_EQ(score->PlayPosition(), 64);

    score->PlayScore(true);
    EXPECT_FALSE(score->Playing());
    EXPECT_EQ(score->PlayPosition(), -1);
}

TEST_F(ScorePlayback, PlaysFromAStartTimeAndWithoutNoticeWhenNotAsked) {
    score->PlayScore(false, false, 0, 32);
    EXPECT_EQ(score->PlayPosition(), 32);
    const int64_t start = Headless().VirtualTimeMs();
    RunTimers();
    EXPECT_EQ(Headless().VirtualTimeMs() - start, (FileMilliseconds() + 1) / 2);
    EXPECT_TRUE(log->log.empty());
    EXPECT_EQ(score->PlayPosition(), 64);
}

TEST_F(ScorePlayback, PlayingAgainWithoutChangesReusesTheFileAndAChangeRewritesIt) {
    score->PlayScore();
    const std::string file = score->PlayFile();
    ASSERT_TRUE(fs::exists(file));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(file, old);

    score->PlayScore(false, true);  // restarts: the first playback is closed
    EXPECT_TRUE(score->Playing());
    EXPECT_EQ(score->PlayFile(), file);
    EXPECT_EQ(fs::last_write_time(file), old);
    RunTimers();
    EXPECT_EQ(log->Count("PlayDone"), 1u);

    score->AddNote(1, 64, 62, 16, 0);
    score->PlayScore();
    EXPECT_EQ(score->PlayFile(), file);
    EXPECT_NE(fs::last_write_time(file), old);
}

TEST_F(ScorePlayback, TwoScoresNeverShareAFileAndEachFileGoesWithItsScore) {
    auto other = Score::Create();
    other->CreateDefault();
    score->PlayScore();
    other->PlayScore();
    const fs::path mine = score->PlayFile();
    const fs::path theirs = other->PlayFile();
    EXPECT_NE(mine, theirs);
    EXPECT_NE(mine.parent_path(), theirs.parent_path());
    EXPECT_EQ(fs::status(mine.parent_path()).permissions(), fs::perms::owner_all);

    other.reset();
    EXPECT_FALSE(fs::exists(theirs.parent_path()));
    EXPECT_TRUE(fs::exists(mine));
    score.reset();
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(ScorePlayback, TheHeadlessSequencerCountsMillisecondsUntilSongPointerAndStopsInPlace) {
    auto sequencer = Headless().CreateSequencer();
    EXPECT_FALSE(sequencer->SetTimeFormat());
    EXPECT_FALSE(sequencer->Play(0, true));
    EXPECT_EQ(sequencer->Position(), -1);
    EXPECT_FALSE(sequencer->Open((folder / "missing.mid").string()));

    const int64_t length = FileMilliseconds();
    ASSERT_TRUE(sequencer->Open(score->PlayFile()));
    ASSERT_TRUE(sequencer->Play(static_cast<int32_t>(length / 4), false));
    // Milliseconds before SetTimeFormat; playing starts on a file tick (about 4.6 ms each).
    EXPECT_NEAR(sequencer->Position(), length / 4, 10);
    int32_t stopper = 0;
    stopper = Headless().StartTimer(static_cast<int32_t>(length / 4), [&] {
        sequencer->Stop();
        Headless().StopTimer(stopper);
    });
    RunTimers();
    EXPECT_NEAR(sequencer->Position(), length / 2, 10);
    ASSERT_TRUE(sequencer->SetTimeFormat());
    EXPECT_NEAR(sequencer->Position(), 32, 1);
    sequencer->Close();
    EXPECT_EQ(sequencer->Position(), -1);
    EXPECT_EQ(Headless().ArmedTimerCount(), 0);
}

}  // namespace
}  // namespace corvendi::test
