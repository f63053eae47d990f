// Inserting and deleting measures and staffs: each edit is checked against a document built
// directly in its expected state, through the whole-document dump.
#include "corvendi/Enums.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Region.h"
#include "corvendi/Voices.h"
#include "engine/MeasureTestSupport.h"

namespace corvendi::test {
namespace {

// Measures 1 and 2 in common time (64 ticks), a 3/4 change at measure 3 (tick 128).
constexpr int32_t kPoint = 128;

// Everything at or after the insertion point is built `shift` ticks later.
struct Shifted {
    int32_t shift = 0;
    int32_t operator()(int32_t t) const { return t >= kPoint ? t + shift : t; }
};

// Notes in three voices, ties before, across and after the point (one ending on it), lyrics,
// key and time changes, repeats and staff events before, at and after the point.
void BuildMusic(Score& s, Shifted T) {
    for (int32_t t : {0, 16, 32, 48, 64, 96, 120, 128, 136, 160, 200, 210, 240, 300}) {
        AddNote(s, 1, 1, T(t), static_cast<uint8_t>(60 + t % 12), 8);
    }
    for (int32_t t : {32, 130, 250}) AddNote(s, 1, 2, T(t), 55);
    for (int32_t t : {0, 64, 127, 128, 176, 400}) AddNote(s, 2, 1, T(t), 40, 1);

    GlobalEvents& globals = *s.AllGlobals();
    globals.Add(T(kPoint), evtTimeChange, 3, 16, "3");
    globals.Add(T(224), evtKeyChange, 2, 0, "");
    globals.Add(T(kPoint), evtRepeatBegin);
    globals.Add(T(64), evtRepeatEnd);
    globals.Add(T(176), evtSectionDefine, sctEnding1);
    globals.Add(T(0), evtText, 0, 0, "intro");

    GlobalEvents& upper = *s.Staff(1)->GlobalEvents();
    for (int32_t t : {70, kPoint, 180}) upper.Add(T(t), evtClefChange, clfBass);
    upper.Add(T(64), evtKeyChange, 254);
    upper.Add(T(130), evtLyric, 1, 0, "la");
    upper.Add(T(16), evtLyric, 1, 0, "do");
    AddTie(upper, T(32), T(48));
    AddTie(upper, T(120), T(136));
    AddTie(upper, T(200), T(210));
    AddTie(upper, T(130), T(250), 2);

    GlobalEvents& lower = *s.Staff(2)->GlobalEvents();
    AddTie(lower, T(127), T(kPoint));
    lower.Add(T(kPoint), evtDynamic, dynMF);
}

class MeasureEdits : public MeasureTest {
  protected:
    std::string Built(int32_t shift) {
        TwoStaffScore();
        BuildMusic(*score, Shifted{shift});
        return ToJson(*score);
    }
};

TEST_F(MeasureEdits, InsertingTwoMeasuresMovesEveryLaterTimeAndTieEndByTwoCommonTimeMeasures) {
    const std::string expected = Built(2 * 64);
    const std::string original = Built(0);

    Answer("txtQuant=2; Ok");
    score->AddMeasure(3, false, true);
    EXPECT_EQ(ToJson(*score), expected);
    EXPECT_TRUE(score->Changed());

    Answer("txtQuant=2; Ok");
    score->DelMeasure(3, true);
    EXPECT_EQ(ToJson(*score), original);
    EXPECT_TRUE(presenter->Problems().empty());
}

TEST_F(MeasureEdits, ACancelledOrUnansweredPromptChangesNothing) {
    const std::string original = Built(0);
    score->AddMeasure(3, false, true);  // the headless platform presses Cancel
    score->DelMeasure(3, true);
    Answer("txtQuant=5; Cancel");
    score->AddMeasure(3, false, true);
    Answer("txtQuant=5; Cancel");
    score->DelStaff(1, true);
    EXPECT_EQ(ToJson(*score), original);
    EXPECT_FALSE(score->Changed());
}

// A tie's end moves like any time; the ties that could no longer be kept go.
TEST_F(MeasureTest, TiesOutOfReachOrCutByADeletionAreRemoved) {
    TwoStaffScore();
    GlobalEvents& ties = *score->Staff(1)->GlobalEvents();
    AddNote(*score, 1, 1, 65000, 60);
    AddTie(ties, 10, 65500);  // would end past 65,535
    AddTie(ties, 20, 130);    // ends inside measure 3
    AddTie(ties, 30, 200);    // spans measure 3
    AddTie(ties, 140, 150);   // inside measure 3
    score->AddMeasure(2);     // 64 ticks at 64
    ASSERT_EQ(ties.Count(), 3);
    EXPECT_EQ(ties.ByIndex(1)->Value1() * 256 + ties.ByIndex(1)->Value2(), 194);

    score->DelMeasure(4);  // [192, 256): the first tie ends there, the last starts there
    ASSERT_EQ(ties.Count(), 1);
    EXPECT_EQ(ties.ByIndex(1)->EventTime(), 30);
    EXPECT_EQ(ties.ByIndex(1)->Value1() * 256 + ties.ByIndex(1)->Value2(), 200);
}

// At the start of the score the opening signatures stay at 0 and govern the new measures too.
TEST_F(MeasureTest, MeasuresInsertedAtTheStartKeepTheOpeningSignaturesAndGoAgainCleanly) {
    TwoStaffScore();
    score->AllGlobals()->SetDftTimeVal(3 * 128 + 16);
    score->SetKey(-2);
    score->Staff(2)->GlobalEvents()->Add(0, evtClefChange, clfBass);
    score->SetBraceByHit(0, 0, -1);  // the group-bracket switch at time 0
    AddNote(*score, 1, 1, 0, 60);
    score->AllGlobals()->Add(48, evtRepeatBegin);
    const std::string original = ToJson(*score);

    score->AddMeasure(1);
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->ByIndex(1)->NoteTime(), 48);
    EXPECT_EQ(score->AllGlobals()->CurTimeVal(0), 3 * 128 + 16);
    EXPECT_EQ(score->AllGlobals()->MeasureTime(2), 48);
    EXPECT_TRUE(score->AllGlobals()->Find(0, evtGroupMark, true));
    EXPECT_TRUE(score->AllGlobals()->Find(96, evtRepeatBegin, true));
    EXPECT_EQ(score->Staff(2)->CurClef(0), clfBass);

    score->DelMeasure(1);
    EXPECT_EQ(ToJson(*score), original);
}

TEST_F(MeasureTest, AStaffAddedAndDeletedAgainLeavesTheDocumentAsItWas) {
    TwoStaffScore();
    AddNote(*score, 2, 1, 16, 50);
    detail::StaffAccess::BraceSet(*score->Staff(1), 2);
    const std::string original = ToJson(*score);

    const auto added = score->AddStaff(2);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Index(), 2);
    EXPECT_EQ(added->Description(), "New");
    ASSERT_EQ(added->Voices(), 1);
    // Without the dialog a staff plays its neighbour's instrument.
    EXPECT_EQ(added->Voice(1)->Instrument(), score->Staff(1)->Voice(1)->Instrument());
    EXPECT_EQ(score->AllVoices()->Count(), 4);

    score->DelStaff(2);
    EXPECT_EQ(ToJson(*score), original);
}

TEST_F(MeasureTest, DeletingAStaffTakesItsVoicesAndSkipsStaffsThatDoNotExist) {
    TwoStaffScore();
    AddNote(*score, 2, 1, 500, 50);
    Answer("txtQuant=2; cboStaff=Last; Ok");  // staff 2 and a staff 3 that is not there
    score->DelStaff(std::nullopt, true);
    ASSERT_EQ(score->Staffs(), 1);
    EXPECT_EQ(score->AllVoices()->Count(), 2);
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 0);
    score->DelStaff();  // staff 1
    EXPECT_EQ(score->Staffs(), 0);
    EXPECT_EQ(score->AllVoices()->Count(), 0);
}

TEST_F(MeasureTest, TheInsertStaffPromptGivesQuantityPlaceInstrumentClefAndVoices) {
    TwoStaffScore();
    // Two staffs before staff 2, each with three voices of the first brass instrument, alto clef.
    Answer("txtQuant=2; Before; cboStaff=3; Category=4; Clef=Alto; Voices=3; Ok");
    const auto last = score->AddStaff(std::nullopt, true);
    ASSERT_EQ(score->Staffs(), 4);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Index(), 2);
    for (int32_t index : {2, 3}) {
        const auto staff = score->Staff(index);
        EXPECT_EQ(staff->Description(), "New");
        ASSERT_EQ(staff->Voices(), 3);
        EXPECT_EQ(staff->DefaultClef(), clfAlto);
        EXPECT_EQ(staff->Voice(3)->Instrument()->Category(), catBrass);
    }
    EXPECT_EQ(score->Staff(4)->Description(), "Piano");
    EXPECT_TRUE(presenter->Problems().empty());
}

TEST_F(MeasureTest, ABraceIsSetOnTheStaffHitAndOnlyARealChangeMarksTheScore) {
    TwoStaffScore();
    Attach();
    score->SetChanged(false);
    // Each paint rebuilds the regions: keep the first one alive.
    const auto region = detail::ScoreAccess::Regions(*score).front();
    const float x = static_cast<float>(region->Left + 100);
    const float y = static_cast<float>(region->Top + 10);
    const auto staff = score->Staff(region->Staff);

    score->SetBraceByHit(x, y, 1);
    EXPECT_EQ(staff->Brace(), 2);
    EXPECT_EQ(events->Count("ChangeNotify true"), 1u);
    score->SetChanged(false);
    score->SetBraceByHit(x, y, 1);
    EXPECT_FALSE(score->Changed());
    score->SetBraceByHit(x, y, 7);
    EXPECT_EQ(staff->Brace(), 3);
    score->SetBraceByHit(-5000, -5000, 0);  // no staff there
    EXPECT_EQ(staff->Brace(), 3);

    score->SetBraceByHit(0, 0, -1);
    EXPECT_TRUE(detail::ScoreAccess::HasGroupMark(*score));
    score->SetBraceByHit(0, 0, -1);
    EXPECT_FALSE(detail::ScoreAccess::HasGroupMark(*score));
    EXPECT_FALSE(score->AllGlobals()->Find(0, evtGroupMark, true));
}

// A host handler that edits again while an insertion runs is ignored.
struct ReenteringHost : EventLog {
    Score* target = nullptr;
    void ChangeNotify(bool changed) override {
        EventLog::ChangeNotify(changed);
        if (target) target->AddMeasure(1), target->DelMeasure(1);
    }
};

TEST_F(MeasureTest, AnEditArrivingDuringAnInsertionIsIgnored) {
    TwoStaffScore();
    AddNote(*score, 1, 1, 64, 60);
    auto host = std::make_shared<ReenteringHost>();
    host->target = score.get();
    score->SetEvents(host);
    score->SetChanged(false);
    score->AddMeasure(1);
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->ByIndex(1)->NoteTime(), 128);
}

TEST_F(MeasureTest, AfterAnEditThePageIsRepaginatedRepaintedAndTheLastNoteForgotten) {
    TwoStaffScore();
    for (int32_t t = 0; t < 64 * 200; t += 16) AddNote(*score, 1, 1, t, 60);
    auto surface = Attach();
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    const int32_t pages = score->LastPage();
    score->SetCurPage(pages);
    detail::ScoreAccess::LastNoteSet(*score, 1, 1, 32, 60);
    surface->ClearCalls();

    score->DelMeasure(1);
    EXPECT_EQ(detail::ScoreAccess::LastValue(*score), 0);
    EXPECT_GT(surface->Calls().size(), 0u);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    EXPECT_LE(score->CurPage(), score->LastPage());
    EXPECT_EQ(
        score->CurTime(),
        detail::ScoreAccess::PageRanges(*score)[static_cast<size_t>(score->CurPage() - 1)]->Low());
}

}  // namespace
}  // namespace corvendi::test
