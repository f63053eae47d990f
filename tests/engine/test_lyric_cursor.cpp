// The active position and the lyric cursor: a hit selects staff and measure, the cursor walks the
// notes of the current page, and lyrics typed at the cursor keep every other verse.
#include <string>
#include <utility>
#include <vector>

#include "corvendi/ChordList.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Staffs.h"
#include "engine/NoteEntryTestSupport.h"

namespace corvendi::test {
namespace {

constexpr int32_t kMeasures = 80;

// A quarter note on every beat of 80 measures (a chord on the second beat), and a two-verse
// lyric on the second beat.
void Song(Score& s) {
    for (int32_t time = 0; time < kMeasures * durWhole; time += durQuarter) {
        s.AddNote(1, time, 67, durQuarter, 0);
    }
    s.AddNote(1, durQuarter, 71, durQuarter, 0);
    s.Staff(1)->GlobalEvents()->Add(durQuarter, evtLyric, 0, 0, "a\rb");
    detail::StaffAccess::VersesSet(*s.Staff(1), 2);
}

struct Cursor {
    int32_t time = -5;
    int32_t x = 0;
    int32_t y = 0;
    std::string lyric;
};

class LyricCursorTest : public NoteEntryTest {
  protected:
    bool First(Cursor& c) { return score->FirstActiveXY(c.time, c.x, c.y, c.lyric); }
    bool Next(Cursor& c) { return score->NextActiveXY(c.time, c.x, c.y, c.lyric); }
    bool Prev(Cursor& c) { return score->PrevActiveXY(c.time, c.x, c.y, c.lyric); }
    // Every beat of the current page.
    std::vector<int32_t> PageBeats() const {
        const auto& pages = detail::ScoreAccess::PageRanges(*score);
        const Range& page = *pages[static_cast<size_t>(score->CurPage() - 1)];
        std::vector<int32_t> beats;
        for (int32_t t = page.Low(); t < page.High(); t += durQuarter) beats.push_back(t);
        return beats;
    }
};

using LyricCursor = LyricCursorTest;
using ActiveByHit = LyricCursorTest;
using ChordListFill = LyricCursorTest;

TEST_F(LyricCursor, WalksTheNotesOfThePageForwardAndBackAndStopsAtItsEnds) {
    Open(Song);
    ASSERT_GE(score->LastPage(), 2);
    Cursor c;
    ASSERT_TRUE(First(c));
    std::vector<int32_t> forward{c.time};
    while (Next(c)) forward.push_back(c.time);
    const std::vector<int32_t> beats = PageBeats();
    EXPECT_EQ(forward, beats);        // the chord is one step
    EXPECT_EQ(c.time, beats.back());  // arguments stay as they were after the last note
    EXPECT_FALSE(Prev(c));

    ASSERT_TRUE(First(c));
    for (size_t i = 1; i < beats.size(); ++i) Next(c);
    std::vector<int32_t> backward{c.time};
    while (Prev(c)) backward.push_back(c.time);
    EXPECT_EQ(backward, std::vector<int32_t>(beats.rbegin(), beats.rend()));

    // The text box goes under the note's staff band, at the note's x.
    ASSERT_TRUE(First(c));
    ASSERT_TRUE(Next(c));
    EXPECT_EQ(c.time, durQuarter);
    EXPECT_EQ(c.lyric, "a");
    EXPECT_EQ(c.x, NoteOf(durQuarter)->X());
    EXPECT_EQ(c.y, R(1).Bottom);

    score->SetCurPage(2);
    ASSERT_TRUE(First(c));
    EXPECT_EQ(c.time, PageBeats().front());
}

TEST_F(LyricCursor, TypingAVerseKeepsTheOthersInTheirPlaces) {
    Open(Song);
    Cursor c;
    score->SetVerse(2);
    EXPECT_EQ(score->CurTime(), 0);
    ASSERT_TRUE(Next(c));
    EXPECT_EQ(c.lyric, "b");
    surface->ClearCalls();
    score->SetLyric("X");
    EXPECT_TRUE(SystemErased());
    ASSERT_TRUE(Next(c));
    score->SetLyric("c");
    EXPECT_EQ(score->Lyric(), "c");
    EXPECT_TRUE(score->AddLyric(3 * durQuarter, "d"));
    score->SetVerse(1);
    EXPECT_TRUE(score->AddLyric(3 * durQuarter, "e"));
    ExpectDocument([](Score& s) {
        auto& events = *s.Staff(1)->GlobalEvents();
        events.Item(durQuarter, evtLyric)->SetText("a\rX");
        events.Add(2 * durQuarter, evtLyric, 0, 0, "\rc");
        events.Add(3 * durQuarter, evtLyric, 0, 0, "e\rd");
    });

    score->SetVerse(0);
    EXPECT_EQ(score->Verse(), 1);
    EXPECT_EQ(score->Staff(1)->Verses(), 0);
    score->Staff(1)->SetSelected(false);
    EXPECT_FALSE(score->AddLyric(0, "z"));
    EXPECT_FALSE(First(c));
}

TEST_F(LyricCursor, HugeTextsAndAllVersesLayOutWithoutHanging) {
    Open(Song);
    score->SetVerse(1000);
    EXPECT_EQ(score->Verse(), 255);
    EXPECT_EQ(score->Staff(1)->Verses(), 255);
    std::string verses = "a";
    for (int32_t v = 2; v <= 255; ++v) verses += "\r" + std::to_string(v);
    score->AddLyric(0, "x");
    score->Staff(1)->GlobalEvents()->Item(0, evtLyric)->SetText(verses);
    const Region& r = R(1);
    score->AddGlobalByHit(r.Left + r.MeasurePad(0), r.Top + r.PadTop, evtText, 0,
                          std::string(100000, 'w'));
    detail::ScoreAccess::StartPagination(*score);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    score->PaintWindow();
    EXPECT_GE(score->LastPage(), 2);
}

TEST_F(ActiveByHit, SelectsTheStaffAndMeasureStrictlyInsideARegion) {
    Open([](Score& s) {
        detail::StaffsAccess::Add(*s.AllStaffs(), s.AllStaffs()->NewID(), "Lower")->SetFlags(0);
    });
    const Region& lower = R(2);
    score->SetActiveByHit(lower.Left, lower.Top + 10);
    score->SetActiveByHit(lower.Left + 10, lower.Top);
    EXPECT_TRUE(log->log.empty());
    int32_t x = lower.Left + lower.Measure(0)->Low() + lower.Measure(1)->Low() + 5;
    score->SetActiveByHit(x, lower.Top + 10);
    EXPECT_EQ(log->log, (std::vector<std::string>{"ActiveStaff 2", "ActiveMeasure 3"}));
    EXPECT_TRUE(score->Staff(2)->Selected());
    EXPECT_FALSE(score->Staff(1)->Selected());
    EXPECT_EQ(score->SelectedMeasure(), 3);
}

struct TestChordList : ChordList {
    std::vector<std::pair<std::string, int32_t>> items{{"stale", 1}};
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text) override { items.emplace_back(text, -1); }
    void SetItemData(int32_t index, int32_t code) override {
        items.at(static_cast<size_t>(index)).second = code;
    }
};

TEST_F(ChordListFill, ListsTheMappersChordsWithTheirCodes) {
    Open();
    TestChordList list;
    score->LoadChordList(list);
    const auto& mapper = *score->ChordMapper();
    ASSERT_GT(mapper.ChordCount(), 0);
    std::vector<std::pair<std::string, int32_t>> expected;
    for (int32_t i = 0; i < mapper.ChordCount(); ++i) {
        expected.emplace_back(mapper.ChordName(i), mapper.ChordCode(i));
    }
    EXPECT_EQ(list.items, expected);
}

}  // namespace
}  // namespace corvendi::test
