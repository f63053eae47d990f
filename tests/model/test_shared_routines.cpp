#include "model/PaginationTimer.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"

#include <corvendi/HeadlessPlatform.h>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvendi {
namespace {

class SharedRoutines : public ::testing::Test {
  protected:
    void SetUp() override { ResetProcessState(); }
    void TearDown() override { ResetProcessState(); }
};

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(static_cast<unsigned char>(c));
    return s;
}

TEST_F(SharedRoutines, KeyBytes) {
    EXPECT_EQ(KeyFromByte(254), -2);
    EXPECT_EQ(KeyFromByte(3), 3);
    EXPECT_EQ(KeyFromByte(12), 4);    // low three bits
    EXPECT_EQ(KeyFromByte(128), -7);  // more than seven flats count as seven
    EXPECT_EQ(KeyFromByte(249), -7);
    EXPECT_EQ(KeyFromByte(255), -1);
    EXPECT_EQ(KeyFromByte(256 + 3), 3);  // only the low byte counts

    EXPECT_EQ(ByteFromKey(-9), 249);
    EXPECT_EQ(ByteFromKey(9), 7);
    EXPECT_EQ(ByteFromKey(0), 0);
    EXPECT_EQ(ByteFromKey(-1), 255);
    EXPECT_EQ(ByteFromKey(INT32_MIN), 249);
    for (int32_t key = -7; key <= 7; ++key) EXPECT_EQ(KeyFromByte(ByteFromKey(key)), key) << key;
}

TEST_F(SharedRoutines, VarLenTextAtGroupBoundaries) {
    // The argument is in engine ticks; the encoded number is eight times larger.
    EXPECT_EQ(VarLenText(0), Bytes({0}));
    EXPECT_EQ(VarLenText(-5), Bytes({0}));
    EXPECT_EQ(VarLenText(15), Bytes({120}));            // 120: one byte
    EXPECT_EQ(VarLenText(16), Bytes({129, 0}));         // 128
    EXPECT_EQ(VarLenText(2047), Bytes({255, 120}));     // 16376
    EXPECT_EQ(VarLenText(2048), Bytes({129, 128, 0}));  // 2^14
    EXPECT_EQ(VarLenText(262143), Bytes({255, 255, 120}));
    EXPECT_EQ(VarLenText(262144), Bytes({129, 128, 128, 0}));  // 2^21
    EXPECT_EQ(VarLenText(33554431), Bytes({255, 255, 255, 120}));
    // Beyond four groups: the largest number four groups hold.
    EXPECT_EQ(VarLenText(33554432), Bytes({255, 255, 255, 127}));
    EXPECT_EQ(VarLenText(INT32_MAX), Bytes({255, 255, 255, 127}));
}

TEST_F(SharedRoutines, FormatMeasureConvertsAndRounds) {
    EXPECT_EQ(FormatMeasure(uomMM, 1.0f, uomInches), "25.4mm");
    EXPECT_EQ(FormatMeasure(uomMM, 567.0f, uomTwips), "10mm");
    EXPECT_EQ(FormatMeasure(uomMM, 12.25f, uomMM), "12.25mm");  // same unit: unchanged
    EXPECT_EQ(FormatMeasure(uomInches, 1440.0f, uomTwips), "1\"");
    EXPECT_EQ(FormatMeasure(uomInches, 1000.0f, uomTwips), "0.694\"");
    EXPECT_EQ(FormatMeasure(uomInches, 25.4f, uomMM), "1\"");
    EXPECT_EQ(FormatMeasure(uomInches, 30.0f, uomMM), "1.2\"");
    EXPECT_EQ(FormatMeasure(uomTwips, 0.5f, uomInches), "0.5\"");  // other targets show inches
    EXPECT_EQ(FormatMeasure(uomMM, 0.0f, uomInches), "0mm");
}

TEST_F(SharedRoutines, ParseMeasureReadsTheUnitAfterTheNumberAndRoundsTwips) {
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "2cm", uomInches), 0.79f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "1", uomInches), 1440.0f);
    // A decimal point belongs to the number, so the unit of "2.5cm" is seen.
    EXPECT_FLOAT_EQ(ParseMeasure(uomMM, "2.5cm", uomInches), 25.0f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "2.5cm", uomInches), 0.98f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomMM, "1.5\"", uomMM), 38.1f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "12 mm ", uomInches), 0.47f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomMM, "2.5", uomInches), 63.5f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "10mm", uomInches), 567.0f);
    // An unknown suffix keeps the source unit; "in" and "inch" are the inch mark in words.
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "30pt", uomMM), 1.18f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomMM, "2 In", uomMM), 50.8f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "1inch", uomMM), 1440.0f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "abc", uomMM), 0.0f);
    // A value already in the target unit is kept as typed.
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "0.123", uomInches), 0.123f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "100", uomTwips), 100.0f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "100.5", uomTwips), 100.0f);  // halves to even
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "101.5", uomTwips), 102.0f);

    Process().gUOM = uomMM;
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "25.4"), 1.0f);
    EXPECT_FLOAT_EQ(ParseMeasure(uomInches, "1\""), 1.0f);
    Process().gUOM = uomTwips;
    EXPECT_FLOAT_EQ(ParseMeasure(uomTwips, "1440", -1), 1440.0f);
}

// Pages of a score: each step lays out one page and stops the timer after the last one.
class FakeScore : public PaginationTarget {
  public:
    explicit FakeScore(int pages) : mPages(pages) {}
    void PaginateStep() override {
        ++Steps;
        ++mDepth;
        MaxDepth = std::max(MaxDepth, mDepth);
        if (PumpInsideStep) CurrentPlatform().ProcessPendingEvents();
        if (ThrowInStep) {
            --mDepth;
            throw std::runtime_error("layout failed");
        }
        if (Steps >= mPages) StopPaginationTimer();
        --mDepth;
    }
    int Steps = 0;
    int MaxDepth = 0;
    bool PumpInsideStep = false;
    bool ThrowInStep = false;

  private:
    int mPages;
    int mDepth = 0;
};

// A host loop that, like a real one, delivers every armed timer each time it is pumped, even to
// a timer whose callback is still running.
class ReentrantLoop : public HeadlessPlatform {
  public:
    int32_t StartTimer(int32_t, TimerCallback callback) override {
        mCallbacks.emplace_back(++mLastId, std::move(callback));
        return mLastId;
    }
    void StopTimer(int32_t id) override {
        std::erase_if(mCallbacks, [id](const auto& entry) { return entry.first == id; });
    }
    bool ProcessPendingEvents() override {
        if (mCallbacks.empty() || ++mPumps > 50) return false;
        auto callbacks = mCallbacks;
        for (auto& [id, callback] : callbacks) callback();
        return true;
    }

  private:
    std::vector<std::pair<int32_t, TimerCallback>> mCallbacks;
    int32_t mLastId = 0;
    int mPumps = 0;
};

bool PumpWhilePaginating() {
    int guard = 0;
    while (PaginationTimerRunning() && ++guard < 100) {
        if (!CurrentPlatform().ProcessPendingEvents()) return false;
    }
    return !PaginationTimerRunning();
}

TEST_F(SharedRoutines, PaginationIgnoresTicksWhileAStepRuns) {
    SetPlatform(std::make_shared<ReentrantLoop>());
    FakeScore score(2);
    score.PumpInsideStep = true;
    StartPaginationTimer(kPaginationPeriodMs, &score);
    EXPECT_TRUE(PumpWhilePaginating());
    EXPECT_EQ(score.Steps, 2);
    EXPECT_EQ(score.MaxDepth, 1);
}

TEST_F(SharedRoutines, PaginationGivesUpWhenAStepFails) {
    FakeScore score(5);
    score.ThrowInStep = true;
    StartPaginationTimer(kPaginationPeriodMs, &score);
    EXPECT_TRUE(PumpWhilePaginating());
    EXPECT_EQ(score.Steps, 1);
    EXPECT_FALSE(CurrentPlatform().ProcessPendingEvents());
}

TEST_F(SharedRoutines, StartingAnotherScoreStopsTheFirst) {
    auto platform = std::make_shared<HeadlessPlatform>();
    SetPlatform(platform);
    FakeScore first(5), second(2);
    StartPaginationTimer(kPaginationPeriodMs, &first);
    platform->ProcessPendingEvents();
    StartPaginationTimer(kPaginationPeriodMs, &second);
    EXPECT_EQ(platform->ArmedTimerCount(), 1);
    EXPECT_EQ(PaginationTimerTarget(), &second);

    StopPaginationTimerFor(&first);  // the first score going away leaves the second running
    EXPECT_TRUE(PaginationTimerRunning());
    EXPECT_TRUE(PumpWhilePaginating());
    EXPECT_EQ(first.Steps, 1);
    EXPECT_EQ(second.Steps, 2);

    StartPaginationTimer(kPaginationPeriodMs, &first);
    StopPaginationTimerFor(&first);
    EXPECT_FALSE(PaginationTimerRunning());
    EXPECT_EQ(platform->ArmedTimerCount(), 0);
}

}  // namespace
}  // namespace corvendi
