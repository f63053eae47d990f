// Marks placed with the mouse: each lands at its time and staff, a second click toggles,
// replaces or accumulates, and the page is repainted as the mark requires. Documents are compared
// with a twin built by numbers.
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Staffs.h"
#include "engine/NoteEntryTestSupport.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using AddGlobalByHit = NoteEntryTest;
using RemoveGlobalEvent = NoteEntryTest;

// A second staff below the first, so that staff marks must find their staff.
void TwoStaffs(Score& s) {
    auto staffs = s.AllStaffs();
    detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Lower")->SetFlags(0);
}

GlobalEvents& StaffEvents(Score& s, int32_t staff) { return *s.Staff(staff)->GlobalEvents(); }

class EventEntry : public NoteEntryTest {
  protected:
    // The x of tick `offset` of measure j by the events' rule (the point's share of the width
    // after the pad, rounded): exactly on the tick.
    static int32_t EventX(const Region& r, int32_t j, int32_t offset) {
        int32_t left = r.Left;
        for (int32_t k = 0; k < j; ++k) left += r.Measure(k)->Low();
        const int32_t width = r.Measure(j)->Low() - r.MeasurePad(j);
        return left + r.MeasurePad(j) + offset * width / 64;
    }
    // The middle line of the region's staff.
    static int32_t MiddleY(const Region& r) { return YAt(r, 4); }
    // The region of staff `staff` in system `system` (1-based) of the page.
    const Region& StaffRegion(int32_t system, int32_t staff) const {
        return R((system - 1) * score->Staffs() + staff);
    }
    // A click on tick `offset` of measure j of `staff` in `system`, at line or space `step`.
    void Click(int32_t system, int32_t staff, int32_t j, int32_t offset, int32_t step, int32_t type,
               int32_t subType = 0, const std::string& text = {}) {
        const Region& r = StaffRegion(system, staff);
        score->AddGlobalByHit(EventX(r, j, offset), YAt(r, step), type, subType, text);
    }
};

using EventPlacement = EventEntry;
using EventToggles = EventEntry;
using TextOffsets = EventEntry;

TEST_F(EventPlacement, EachMarkLandsAtItsTimeAndStaffWithItsValues) {
    Open(TwoStaffs);
    // Marks that lay the pages out again come last: the regions are drawn anew after them.
    const int32_t s2 = StaffRegion(2, 1).Measure(0)->High();
    Click(1, 2, 1, 20, 4, evtDynamic, dynFF);
    Click(1, 2, 1, 40, 4, evtTempo, tmpRitardando);
    Click(1, 2, 0, 48, -1, evtText, 0, "dolce");
    Click(1, 1, 1, 5, 4, evtRepeatBegin);
    Click(1, 2, 2, 5, 4, evtSectionDefine, sctCoda);
    Click(2, 2, 0, 0, 4, evtSectionDefine, sct8vb);
    Click(2, 2, 1, 60, 4, evtSectionDefine, sctRepeatMeasure);
    Click(1, 1, 1, 32, 4, evtClefChange, clfBass);
    Click(1, 1, 2, 10, 4, evtKeyChange, -2);
    Click(1, 1, 0, 16, 4, evtChord, 7, "x");
    Click(1, 2, 2, 5, 4, evtLineEnd);
    Click(1, 1, 0, 50, 4, evtMeasureSize, -3);
    Click(1, 2, 1, 50, 4, evtStaffSpace, 4);

    ExpectDocument([&](Score& s) {
        StaffEvents(s, 2).Add(64 + 20, evtDynamic, dynFF);
        StaffEvents(s, 2).Add(64, evtTempo, tmpRitardando);
        // Half a space above the top line: five half spaces above the middle line.
        StaffEvents(s, 2).Add(48, evtText, 5, 0, "dolce");
        s.AllGlobals()->Add(64, evtRepeatBegin);
        s.AllGlobals()->Add(128, evtSectionDefine, sctCoda);
        StaffEvents(s, 2).Add(s2, evtSectionDefine, 0, 2);
        StaffEvents(s, 2).Add(s2 + 64, evtSectionDefine, sctRepeatMeasure);
        StaffEvents(s, 1).Add(64 + 32, evtClefChange, clfBass);
        StaffEvents(s, 1).Add(128, evtKeyChange, 254);
        s.AllGlobals()->Add(16, evtChord, 7, 0, "x");
        detail::ScoreAccess::UseChordsSet(s, true);
        s.AllGlobals()->Add(128, evtLineEnd);
        s.AllGlobals()->Add(0, evtMeasureSize, 0, 3);
        StaffEvents(s, 2).Add(0, evtStaffSpace, 4);
    });
}

TEST_F(EventPlacement, ADynamicRepaintsItsSystemAndAMeasureWidthLaysThePagesOut) {
    Open();
    const Region& r = R(2);
    score->AddGlobalByHit(EventX(r, 1, 0), MiddleY(r), evtDynamic, dynP);
    EXPECT_TRUE(SystemErased());
    const int32_t measure = r.Measure(1)->High() / 64 + 1;
    EXPECT_EQ(log->log, (std::vector<std::string>{"ActiveMeasure " + std::to_string(measure),
                                                  "ChangeNotify true", "HistoryChanged true"}));
    EXPECT_EQ(score->SelectedMeasure(), measure);

    log->log.clear();
    score->AddGlobalByHit(EventX(R(1), 0, 0), MiddleY(R(1)), evtMeasureSize, 5);
    EXPECT_EQ(events->Count("WindowCleared"), 1u);
}

TEST_F(EventPlacement, NothingIsPlacedOutsideTheMusicOrWithAnOutOfRangeSubType) {
    Open();
    const Region& r = R(1);
    score->AddGlobalByHit(r.Right + 10, MiddleY(r), evtDynamic, dynP);
    score->AddGlobalByHit(EventX(r, 0, 0), MiddleY(r), evtDynamic, 65536);
    score->AddGlobalByHit(EventX(r, 0, 0), MiddleY(r), evtMeasureSize, -256);
    score->AddGlobalByHit(EventX(r, 0, 0), MiddleY(r), evtTimeChange, 5);
    score->AddGlobalByHit(EventX(r, 0, 0), MiddleY(r), evtMeasureSize, 0);
    score->AddGlobalByHit(EventX(r, 0, 0), MiddleY(r), evtSectionDefine, 0);
    ExpectDocument();
    EXPECT_TRUE(log->log.empty());
    EXPECT_FALSE(score->CanUndo());
}

TEST_F(EventToggles, RepeatsSectionsLineEndsAndSignsComeAndGoWithTheSecondClick) {
    Open();
    const Region& r = R(1);
    const int32_t x = EventX(r, 1, 30);
    const int32_t y = MiddleY(r);
    score->AddGlobalByHit(x, y, evtRepeatBegin);
    EXPECT_EQ(R(1).MeasureFlag(1) & 1, 1);
    score->AddGlobalByHit(x, y, evtRepeatBegin);
    EXPECT_EQ(R(1).MeasureFlag(1) & 1, 0);
    EXPECT_EQ(events->Count("HistoryChanged true"), 1u);
    for (int32_t type : {evtRepeatEnd, evtSectionEnd, evtScoreEnd}) {
        score->AddGlobalByHit(x, y, type);
        score->AddGlobalByHit(x, y, type);
    }
    // A line end moves its measure to the next system, where the second click finds it.
    score->AddGlobalByHit(x, y, evtLineEnd);
    ASSERT_EQ(R(2).Measure(0)->High(), 64);
    score->AddGlobalByHit(EventX(R(2), 0, 30), MiddleY(R(2)), evtLineEnd);
    ASSERT_EQ(R(1).Measure(1)->High(), 64);
    score->AddGlobalByHit(x, y, evtSectionDefine, sctRepeatMeasure);
    score->AddGlobalByHit(x, y, evtSectionDefine, sctRepeatMeasure);
    // Two section marks share the measure's section event; taking one leaves the other.
    score->AddGlobalByHit(x, y, evtSectionDefine, sctCoda);
    score->AddGlobalByHit(EventX(R(1), 1, 2), y, evtSectionDefine, sctEnding1);
    score->AddGlobalByHit(EventX(R(1), 1, 2), y, evtSectionDefine, sctCoda);
    EXPECT_EQ(R(1).MeasureFlag(1) >> 4, sctEnding1);
    ExpectDocument([](Score& s) { s.AllGlobals()->Add(64, evtSectionDefine, sctEnding1); });
}

TEST_F(EventToggles, WidthsAndSpacingAddUpAndCancel) {
    Open();
    // Each of these lays the page out again: the staff is found anew for every click.
    const auto click = [&](int32_t type, int32_t amount) {
        score->AddGlobalByHit(EventX(R(1), 0, 1), MiddleY(R(1)), type, amount);
    };
    click(evtMeasureSize, 2);
    click(evtMeasureSize, -2);
    EXPECT_EQ(score->AllGlobals()->Item(0, evtMeasureSize), nullptr);
    click(evtMeasureSize, 3);
    click(evtMeasureSize, -1);
    click(evtStaffSpace, -5);
    click(evtStaffSpace, 2);
    click(evtStaffSpace, 300);  // 255 at most
    ExpectDocument([](Score& s) {
        s.AllGlobals()->Add(0, evtMeasureSize, 2, 0);
        StaffEvents(s, 1).Add(0, evtStaffSpace, 252, 0);
    });
}

TEST_F(EventToggles, AMarkAtTheSameTimeIsReplacedAndATextMovesWithTheClick) {
    Open();
    const Region& r = R(1);
    const int32_t x = EventX(r, 0, 8);
    score->AddGlobalByHit(x, MiddleY(r), evtDynamic, dynP);
    score->AddGlobalByHit(x, MiddleY(r), evtDynamic, dynF);
    score->AddGlobalByHit(x, YAt(r, 2), evtText, 0, "a");
    score->AddGlobalByHit(x, YAt(r, 9), evtText, 0, "b");
    ExpectDocument([](Score& s) {
        StaffEvents(s, 1).Add(8, evtDynamic, dynF);
        StaffEvents(s, 1).Add(8, evtText, 0, 5, "b");
    });
}

TEST_F(EventToggles, AnOctaveLineThroughNeighbouringMeasuresIsJoined) {
    Open();
    const Region& r = R(1);
    const int32_t y = MiddleY(r);
    score->AddGlobalByHit(EventX(r, 1, 0), y, evtSectionDefine, sct8va);
    score->AddGlobalByHit(EventX(R(1), 0, 0), y, evtSectionDefine, sct8va);
    score->AddGlobalByHit(EventX(R(1), 2, 0), y, evtSectionDefine, sct8va);
    ExpectDocument([](Score& s) {
        StaffEvents(s, 1).Add(64, evtSectionDefine, 0, 1, "+");
        StaffEvents(s, 1).Add(0, evtSectionDefine, 0, 1);
        StaffEvents(s, 1).Add(128, evtSectionDefine, 0, 1, "+");
    });
    // A second click on a measure of the line takes that measure out.
    score->AddGlobalByHit(EventX(R(1), 2, 0), y, evtSectionDefine, sct8va);
    EXPECT_EQ(StaffEvents(*score, 1).Item(128, evtSectionDefine), nullptr);
    EXPECT_EQ(R(1).MeasureFlag(2) & (sct8va * 16), 0);
}

TEST_F(RemoveGlobalEvent, OneTimeOrEveryEventOfATypeFromWhereItIsKept) {
    Open(TwoStaffs);
    for (int32_t time : {0, 64, 640}) score->AllGlobals()->Add(time, evtLineEnd);
    StaffEvents(*score, 2).Add(16, evtDynamic, dynP);
    StaffEvents(*score, 2).Add(32, evtDynamic, dynF);
    StaffEvents(*score, 2).Add(0, evtLyric, 0, 0, "la");
    detail::StaffAccess::VersesSet(*score->Staff(2), 1);
    score->Staff(2)->SetSelected(true);
    score->RemoveGlobalEvent(-1, evtLineEnd);
    score->RemoveGlobalEvent(16, evtDynamic);
    score->RemoveGlobalEvent(0, evtLyric);
    EXPECT_EQ(score->Staff(2)->Verses(), 0);
    EXPECT_EQ(events->Count("WindowCleared"), 3u);
    ExpectDocument([](Score& s) {
        StaffEvents(s, 2).Add(32, evtDynamic, dynF);
        s.Staff(2)->SetSelected(true);
    });
}

TEST_F(TextOffsets, APointGivesOffsetsThatPlaceItBack) {
    Open();
    const Region& r = R(2);
    const int32_t x = EventX(r, 0, 0);
    for (int32_t step : {-1, 1, 4, 7, 9}) {
        uint8_t above = 9;
        uint8_t below = 9;
        int32_t inc = 0;
        const int32_t y = YAt(r, step);
        score->TextOffsetByPos(above, below, x, y, inc);
        EXPECT_EQ(inc, r.IncY / 2);
        EXPECT_EQ(above, step < 4 ? 4 - step : 0) << step;
        EXPECT_EQ(below, step > 4 ? step - 4 : 0) << step;
        int32_t placed = 0;
        score->TextPosByOffset(placed, above, below, inc, true);
        if (step != 4) {
            EXPECT_NEAR(placed, y, 2) << step;
        }
    }
    uint8_t above = 9;
    uint8_t below = 9;
    int32_t inc = 0;
    score->TextOffsetByPos(above, below, r.Right + 100, MiddleY(r), inc);
    EXPECT_EQ(above + below, 0);
}

}  // namespace
}  // namespace corvendi::test
