#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

struct Stored {
    int32_t time;
    int32_t type;
    std::string text;
};

// The other-events list as (time, type, text), checking on the way that Index follows position.
std::vector<Stored> OtherEvents(const GlobalEvents& events) {
    std::vector<Stored> out;
    for (int32_t i = 1; i <= events.Count(); ++i) {
        const auto event = events.ByIndex(i);
        EXPECT_EQ(event->Index(), i) << "at position " << i;
        out.push_back({event->EventTime(), event->EventType(), event->Text()});
    }
    return out;
}

std::vector<int32_t> SignatureTimes(const GlobalEvents& events) {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= events.TimeItemCount(); ++i) {
        EXPECT_EQ(events.TimeItem(i)->Index(), i) << "at position " << i;
        out.push_back(events.TimeItem(i)->EventTime());
    }
    return out;
}

TEST(GlobalEventsMeasures, MeasuresStartWhereTheSignatureInForceSaysAndEndOneTickBefore) {
    struct Case {
        const char* signatures;
        std::vector<std::tuple<int32_t, uint8_t, uint8_t>> added;  // time, beats, beat length
        std::vector<int32_t> starts;
        std::vector<int32_t> lengths;
    };
    const Case cases[] = {
        {"none", {}, {0, 64, 128}, {64, 64, 64}},
        {"3/4", {{0, 3, 16}}, {0, 48, 96, 144}, {48, 48, 48, 48}},
        {"4/4 then 3/4 at a measure start",
         {{0, 4, 16}, {128, 3, 16}},
         {0, 64, 128, 176},
         {64, 64, 48, 48}},
        // Symbols (no beats): cut time for 0/2, common time for 0/0.
        {"cut time, 6/8, common time",
         {{0, 0, 2}, {64, 6, 8}, {160, 0, 0}},
         {0, 32, 64, 112, 160, 224},
         {32, 32, 48, 48, 64, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signatures);
        GlobalEvents events;
        for (const auto& [time, beats, length] : c.added)
            events.Add(time, evtTimeChange, beats, length);
        for (int32_t measure = 1; measure <= static_cast<int32_t>(c.starts.size()); ++measure) {
            SCOPED_TRACE(measure);
            const int32_t start = c.starts[measure - 1];
            EXPECT_EQ(events.MeasureTime(measure), start);
            int32_t number = 0;
            int32_t duration = 0;
            events.MeasureInfo(start, number, duration);
            EXPECT_EQ(number, measure);
            EXPECT_EQ(duration, c.lengths[measure - 1]);
            if (measure > 1) {
                EXPECT_EQ(events.MeasureInfo(start - 1).Number, measure - 1);
            }
        }
    }
}

TEST(GlobalEventsMeasures, SignatureInsideAMeasure) {
    // 3/4 from time 100, inside the second 4/4 measure (64..128).
    GlobalEvents events;
    events.Add(0, evtTimeChange, 4, 16);
    events.Add(100, evtTimeChange, 3, 16);

    // Lookups by time count the 3/4 measures from 100 and fold 64..100 into the first of them.
    EXPECT_EQ(events.MeasureInfo(80).Number, 2);
    EXPECT_EQ(events.MeasureInfo(100).Number, 2);
    EXPECT_EQ(events.MeasureInfo(147).Number, 2);
    EXPECT_EQ(events.MeasureInfo(148).Number, 3);
    // Start times count the 3/4 measures from the measure start before it (64).
    EXPECT_EQ(events.MeasureTime(2), 64);
    EXPECT_EQ(events.MeasureTime(3), 112);
    EXPECT_EQ(events.MeasureTime(4), 160);
}

TEST(GlobalEventsMeasures, ByteWrappedLengthsOutsideOneTo96CountAs64) {
    struct Case {
        uint8_t beats;
        uint8_t beatLength;
        int32_t duration;
        int32_t pulse;
    };
    // 12 × 16 = 192 and 97 × 1 = 97 are too long, 4 × 64 = 256 wraps to 0; 3 × 90 = 270 wraps
    // to 14 with a pulse of round(14 / 3); 96 × 1 is the longest measure kept.
    for (const Case c : {Case{12, 16, 64, 16}, Case{97, 1, 64, 16}, Case{4, 64, 64, 16},
                         Case{3, 90, 14, 5}, Case{96, 1, 96, 1}}) {
        SCOPED_TRACE(testing::Message() << int{c.beats} << "/" << int{c.beatLength});
        GlobalEvents events;
        events.Add(0, evtTimeChange, c.beats, c.beatLength);
        const auto info = events.MeasureInfo(2 * c.duration);
        EXPECT_EQ(info.Number, 3);
        EXPECT_EQ(info.Duration, c.duration);
        EXPECT_EQ(events.MeasureTime(3), 2 * c.duration);
        EXPECT_EQ(events.PulseValue(), c.pulse);
    }
}

TEST(GlobalEventsMeasures, ExtremeTimesStayDefined) {
    GlobalEvents events;
    EXPECT_EQ(events.MeasureInfo(INT32_MIN).Number, -33554431);
    EXPECT_EQ(events.MeasureInfo(INT32_MAX).Number, 33554432);
    events.Add(INT32_MIN, evtTimeChange, 1, 1);
    events.Add(INT32_MAX, evtTimeChange, 0, 1);
    EXPECT_EQ(events.MeasureInfo(INT32_MAX).Duration, 32);
    events.MeasureTime(INT32_MAX);
    events.MeasureTime(INT32_MIN);
    detail::GlobalEventsAccess::RemoveRange(events, INT32_MIN, INT32_MAX);
    EXPECT_EQ(SignatureTimes(events), std::vector<int32_t>({INT32_MIN}));
}

TEST(GlobalEventsPulse, SetFitsTheValueToTheFirstMeasure) {
    GlobalEvents events;
    events.Add(0, evtTimeChange, 6, 8);  // 48-tick first measure
    events.Add(48, evtTimeChange, 4, 16);
    struct Case {
        int32_t value;
        int32_t pulse;
    };
    for (const Case c : {Case{16, 16}, Case{20, 24}, Case{500, 48}, Case{1, 1}, Case{7, 8}}) {
        SCOPED_TRACE(c.value);
        events.SetPulseValue(c.value);
        EXPECT_EQ(events.PulseValue(), c.pulse);
    }
    events.SetPulseValue(-16);
    EXPECT_EQ(events.PulseValue(), 8);

    // Once known it survives edits until set to 0, which recomputes it.
    events.Clear();
    EXPECT_EQ(events.PulseValue(), 8);
    events.SetPulseValue(0);
    EXPECT_EQ(events.PulseValue(), 16);
}

class GlobalEventsFind : public testing::Test {
  protected:
    void SetUp() override {
        keyAt0 = events.Add(0, evtKeyChange, 1);
        lyricAt16 = events.Add(16, evtLyric, 0, 0, "la");
        keyAt32 = events.Add(32, evtKeyChange, 2);
    }
    GlobalEvents events;
    std::shared_ptr<GlobalEvent> keyAt0, lyricAt16, keyAt32;
};

TEST_F(GlobalEventsFind, NotExactGivesTheEventInForceExactNeedsTheTime) {
    EXPECT_EQ(events.Find(-1, evtKeyChange), nullptr);
    EXPECT_EQ(events.Find(0, evtKeyChange), keyAt0);
    EXPECT_EQ(events.Find(31, evtKeyChange), keyAt0);
    EXPECT_EQ(events.Find(32, evtKeyChange), keyAt32);
    EXPECT_EQ(events.Find(1000, evtKeyChange), keyAt32);
    EXPECT_EQ(events.Find(15, evtLyric), nullptr);
    EXPECT_EQ(events.Find(20, evtLyric), lyricAt16);
    EXPECT_EQ(events.Find(20, evtChord), nullptr);
    EXPECT_EQ(events.Find(31, evtKeyChange, true), nullptr);
    EXPECT_EQ(events.Find(32, evtKeyChange, true), keyAt32);
    EXPECT_EQ(events.Find(16, evtKeyChange, true), nullptr);
    // Several at one time: the one added last is stored in front.
    const auto addedFirst = events.Add(48, evtChord, 0, 0, "C");
    const auto addedSecond = events.Add(48, evtChord, 0, 0, "G");
    EXPECT_EQ(events.Find(48, evtChord, true), addedSecond);
    EXPECT_EQ(events.Find(60, evtChord), addedFirst);
}

TEST_F(GlobalEventsFind, PlayBackAlsoMatchesRepeatsAndSectionStarts) {
    const auto repeatBegin = events.Add(64, evtRepeatBegin);
    const auto section = events.Add(128, evtSectionDefine, 1);
    const auto repeatEnd = events.Add(192, evtRepeatEnd);
    events.Add(200, evtSectionGo);
    events.Add(210, evtSectionEnd);
    const auto playBack = events.Add(256, evtPlayBack);

    EXPECT_EQ(events.Find(63, evtPlayBack), nullptr);
    EXPECT_EQ(events.Find(100, evtPlayBack), repeatBegin);
    EXPECT_EQ(events.Find(150, evtPlayBack), section);
    EXPECT_EQ(events.Find(250, evtPlayBack), repeatEnd);
    EXPECT_EQ(events.Find(256, evtPlayBack), playBack);
    EXPECT_EQ(events.Find(128, evtPlayBack, true), section);
    // Only a play-back lookup widens the match.
    EXPECT_EQ(events.Find(150, evtRepeatBegin), repeatBegin);
    EXPECT_EQ(events.Item(128, evtPlayBack), nullptr);
}

TEST(GlobalEventsFindHighIX, LimitsTheSearchToEarlierPositionsAndDropsAResultAboveIt) {
    GlobalEvents events;
    events.Add(0, evtKeyChange);
    const auto at10 = events.Add(10, evtKeyChange);
    events.Add(10, evtKeyChange);
    events.Add(10, evtKeyChange);
    events.Add(20, evtLyric);
    const auto at30 = events.Add(30, evtKeyChange);
    ASSERT_EQ(at10->Index(), 4);

    EXPECT_EQ(events.Find(100, evtKeyChange, false, 5), at10);
    EXPECT_EQ(events.Find(100, evtKeyChange, false, 99), at30);  // beyond the list: no bound
    EXPECT_EQ(events.Find(10, evtKeyChange), at10);
    // Equal times are followed past the bound, and such a result is then refused.
    EXPECT_EQ(events.Find(10, evtKeyChange, false, 3), nullptr);
    EXPECT_EQ(events.Find(10, evtKeyChange, true, 3), events.ByIndex(2));
}

TEST(GlobalEventsRemoveRange, CutsTheSpanFromBothLists) {
    GlobalEvents events;
    for (int32_t time : {0, 64, 128, 192}) events.Add(time, evtTimeChange, 4, 16);
    for (int32_t time : {10, 64, 100, 127, 128, 200}) {
        events.Add(time, evtText, 0, 0, std::to_string(time));
    }
    detail::GlobalEventsAccess::RemoveRange(events, 64, 128);

    EXPECT_EQ(SignatureTimes(events), std::vector<int32_t>({0, 64, 128}));
    const auto stored = OtherEvents(events);
    ASSERT_EQ(stored.size(), 3U);
    EXPECT_EQ(stored[0].time, 10);
    EXPECT_EQ(stored[1].time, 64);
    EXPECT_EQ(stored[1].text, "128");
    EXPECT_EQ(stored[2].time, 136);
    EXPECT_EQ(stored[2].text, "200");
}

TEST(GlobalEventsRobustness, HostEditedTimesAndIndexesDoNotBreakTheLists) {
    GlobalEvents events;
    std::vector<std::shared_ptr<GlobalEvent>> held;
    for (int32_t time = 0; time < 50; time += 5) held.push_back(events.Add(time, evtText));
    held[3]->SetEventTime(1000);
    held[7]->SetEventTime(-1000);
    held[5]->SetIndex(-7);
    for (int32_t time = -10; time < 60; time += 3) {
        events.Add(time, evtChord);
        events.Find(time, evtText);
        events.Find(time, evtText, true, 4);
        events.Item(time, evtText);
        events.Remove(time + 1, evtChord);
    }
    detail::GlobalEventsAccess::RemoveRange(events, 7, 33);
    // Whatever the host did to times and indexes, every position is renumbered and the events
    // outside the cut are still found at their numbers.
    const auto stored = OtherEvents(events);
    ASSERT_EQ(stored.size(), static_cast<size_t>(events.Count()));
    for (const auto& kept : {held[0], held[7]}) EXPECT_EQ(events.ByIndex(kept->Index()), kept);

    events.Add(0, evtTimeChange, 3, 16);
    events.Clear();
    EXPECT_EQ(events.Count(), 0);
    EXPECT_EQ(events.TimeItemCount(), 0);
    EXPECT_EQ(events.begin(), events.end());
}

}  // namespace
}  // namespace corvendi
