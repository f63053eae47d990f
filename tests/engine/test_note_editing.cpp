// Finding, marking, changing and removing notes after they were entered, and the repaint of a
// system from its regions.
#include "engine/NoteEditor.h"
#include "engine/NoteEntryTestSupport.h"
#include "render/StaffDrawer.h"

namespace corvendi::test {
namespace {

using OnNote = NoteEntryTest;
using AddOrnamentByHit = NoteEntryTest;
using ChangeLast = NoteEntryTest;
using ChangeSel = NoteEntryTest;
using DelNote = NoteEntryTest;

void TwoQuarters(Score& s) {
    s.AddNote(1, 16, 67, durQuarter, nteBowUp);
    s.AddNote(1, 32, 69, durQuarter, 0);
}

TEST_F(OnNote, FindsTheActiveVoicesNoteWithinHalfALineSpacingOfItsX) {
    Open(TwoQuarters);
    const int32_t x = NoteOf(16)->X();
    const int32_t reach = R(1).IncY / 2 + 30;
    int32_t time = 0;
    int32_t duration = 0;
    EXPECT_TRUE(score->OnNote(x + reach - 1, YAt(R(1), 0), time, duration));
    EXPECT_EQ(time, 16);
    EXPECT_EQ(duration, durQuarter);
    EXPECT_EQ(detail::ScoreAccess::ActiveRegionIx(*score), 1);
    EXPECT_FALSE(score->OnNote(x - reach, YAt(R(1), 0), time, duration));
    score->SetVoice(2);
    EXPECT_FALSE(score->OnNote(x, YAt(R(1), 0), time, duration));
}

TEST_F(AddOrnamentByHit, AMarkReplacesTheBowingAndASecondClickTakesItOff) {
    Open(TwoQuarters);
    const int32_t x = NoteOf(16)->X();
    score->AddOrnamentByHit(x, YAt(R(1), 4), ornTrill);
    EXPECT_EQ(NoteOf(16)->Flags(), nteTrill);
    EXPECT_TRUE(SystemErased());
    score->AddOrnamentByHit(x, YAt(R(1), 4), ornTrill);
    score->AddOrnamentByHit(x, YAt(R(1), 4), ornStacato);
    ExpectDocument(
        [](Score& s) { detail::NoteAccess::FlagsSet(*NotesOf(s)->Item(16), nteStacato); });
}

TEST_F(ChangeLast, MovesTheNoteBetweenItsNeighboursAndForgetsItWhenThereIsNoRoom) {
    Open([](Score& s) {
        s.AddNote(1, 0, 60, durEighth, nteDot);  // ends at 12
        s.AddNote(1, 40, 60, durQuarter, 0);
    });
    score->AddNoteByHit(XAt(R(1), 0, 16), YAt(R(1), 8), durEighth, 0, durEighth);
    score->AddNoteByHit(XAt(R(1), 0, 16), YAt(R(1), 6), durEighth, 0, durEighth);
    EXPECT_TRUE(score->ChangeLast(-2, true));  // 8 ticks earlier, held at the dotted end
    EXPECT_EQ(detail::ScoreAccess::LastTime(*score), 12);
    EXPECT_TRUE(score->ChangeLast(9, true));  // held where it still ends before 40
    EXPECT_EQ(detail::ScoreAccess::LastTime(*score), 32);
    EXPECT_FALSE(score->ChangeLast(1, true));
    EXPECT_EQ(detail::ScoreAccess::LastValue(*score), 0);
    EXPECT_FALSE(score->ChangeLast(1));
    ExpectDocument([](Score& s) {
        s.AddNote(1, 32, 64, durEighth, 0);
        s.AddNote(1, 32, 67, durEighth, 0);
    });
}

TEST_F(ChangeSel, ChangesPitchesStemsAndMarksOfEverySelectedNote) {
    Open([](Score& s) {
        s.AddNote(1, 0, 60, durQuarter, nteTrill | nteBowDown);
        s.AddNote(1, 0, 64, durQuarter, nteTrill | nteBowDown);
        s.AddNote(1, 16, 62, durQuarter, nteForceDown);
    });
    detail::ScoreAccess::Selected(*score) = {NoteOf(0), NoteOf(16)};
    EXPECT_EQ(score->ChangeSel(0, 256 + 2, stmForceUp, ornStacato | ornBowUp), 2);
    EXPECT_EQ(score->ChangeSel(0, -1, 0, ornTrill), 2);
    detail::ScoreAccess::Selected(*score) = {NoteOf(16)};
    EXPECT_EQ(score->ChangeSel(0, 70), 1);
    EXPECT_GE(events->Count("WindowCleared"), 1u);
    const int32_t up = nteForceUp | nteStacato | nteBowUp;
    ExpectDocument([&](Score& s) {
        auto notes = NotesOf(s);
        detail::NotesAccess::Clear(*notes);
        s.AddNote(1, 0, 61, durQuarter, up);
        s.AddNote(1, 0, 65, durQuarter, up);
        s.AddNote(1, 16, 70, durQuarter, up | nteTrill);
    });
}

TEST_F(ChangeSel, LongerNotesPushTheirFollowersEvenOverTheBarline) {
    Open([](Score& s) {
        s.AddNote(1, 0, 60, durQuarter, nteDot | nteAccent);
        s.AddNote(1, 24, 62, durEighth, 0);
        s.AddNote(1, 48, 64, durQuarter, 0);
        s.AddNote(1, 64, 65, durQuarter, 0);
        s.AddNote(1, 96, 67, durQuarter, 0);
    });
    detail::ScoreAccess::Selected(*score) = {NoteOf(0), NoteOf(48)};
    EXPECT_EQ(score->ChangeSel(durHalf, 0, stmClearProp), 2);
    ExpectDocument([](Score& s) {
        detail::NotesAccess::Clear(*NotesOf(s));
        s.AddNote(1, 0, 60, durHalf, 0);
        s.AddNote(1, 32, 62, durEighth, 0);
        s.AddNote(1, 48, 64, durHalf, 0);
        s.AddNote(1, 80, 65, durQuarter, 0);
        s.AddNote(1, 96, 67, durQuarter, 0);
    });
}

TEST_F(DelNote, RemovesTheNoteAndRepaintsItsSystemOrThePage) {
    const auto eighthsAndASecondVoice = [](Score& s) {
        for (int32_t t = 0; t < 64; t += 8) s.AddNote(1, t, 67, durEighth, 0);
        const auto second = s.Staff(1)->AddVoice(s.Staff(1)->Voice(1)->Instrument());
        s.AddNote(second->Track(), 0, 60, durQuarter, 0);
    };
    Open(eighthsAndASecondVoice);
    int32_t time = 0;
    int32_t duration = 0;
    ASSERT_TRUE(score->OnNote(NoteOf(8)->X(), YAt(R(1), 4), time, duration));
    score->DelNote(0, 2, 1);  // voice 1 still holds the time: the measure keeps its width
    EXPECT_TRUE(SystemErased());
    EXPECT_EQ(events->Count("WindowCleared"), 0u);
    score->DelNote(56, 1, 7);  // no staff 7: the selected staff; one slot less
    EXPECT_EQ(events->Count("WindowCleared"), 1u);
    score->DelNote(4);  // no note there: nothing
    ExpectDocument([](Score& s) {
        detail::NotesAccess::Clear(*NotesOf(s, 1, 2));
        NotesOf(s)->Remove(56);
    });
}

// Hostile arguments neither crash nor overflow (the sanitizer build checks the arithmetic).
TEST_F(DelNote, ExtremeArgumentsAreHarmless) {
    Open(TwoQuarters);
    constexpr int32_t lo = INT32_MIN;
    constexpr int32_t hi = INT32_MAX;
    int32_t time = 0;
    int32_t duration = 0;
    for (int32_t v : {lo, hi}) {
        score->AddNoteByHit(v, v, v, v, v);
        score->AddNoteByHit(XAt(R(1), 3, 63), YAt(R(1), 4), hi, hi, hi);
        EXPECT_FALSE(score->OnNote(v, YAt(R(1), 4), time, duration));
        score->AddOrnamentByHit(v, v, v);
        score->ChangeLast(v, true);
        score->ChangeLast(v);
        detail::ScoreAccess::Selected(*score) = {NoteOf(16), NoteOf(32)};
        score->ChangeSel(v, v, v, v);
        score->DelNote(v, v, v);
    }
    EXPECT_EQ(NoteEditor::PitchFromY(hi, clfGrand, 7, R(1)),
              NoteEditor::PitchFromY(hi - 1, clfGrand, 7, R(1)));
}

}  // namespace
}  // namespace corvendi::test
