// Undo and Redo: every kind of edit is taken back to the exact document before it and made again
// to the exact document after it, compared as whole document dumps.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Staffs.h"
#include "engine/EditStep.h"
#include "engine/NoteEntryTestSupport.h"
#include "engine/UndoHistory.h"

namespace corvendi::test {
namespace {

struct UndoLog : EntryLog {
    void RedoChanged(bool canRedo) override {
        log.push_back(canRedo ? "RedoChanged true" : "RedoChanged false");
    }
    void SelectionCleared() override { log.push_back("SelectionCleared"); }
};

// Two staffs in 4/4: quarters and a half on staff 1 with a tie, a dynamic and a lyric; a
// line end after measure 2; staff 2 plays a whole note in each of three measures.
void Arrangement(Score& s) {
    s.AddStaff();
    for (int32_t t : {0, 16, 32, 48, 80, 112}) s.AddNote(1, t, 67, durQuarter, 0);
    s.AddNote(1, 64, 72, durEighth, 0);
    s.AddNote(1, 96, 64, durHalf, nteDot);
    for (int32_t t : {0, 64, 128}) s.AddNote(2, t, 48, durWhole, 0);
    s.Staff(1)->GlobalEvents()->Add(32, evtTie, 0, 48, "1");
    s.Staff(1)->GlobalEvents()->Add(64, evtDynamic, dynF);
    s.Staff(1)->GlobalEvents()->Add(16, evtLyric, 0, 0, "la");
    s.AllGlobals()->Add(128, evtLineEnd);
}

class Undo : public NoteEntryTest {
  public:
    using NoteEntryTest::R;

    void OpenArranged() {
        Open(Arrangement);
        undoLog = std::make_shared<UndoLog>();
        score->SetEvents(undoLog);
        events = undoLog;
    }
    void Settle() {
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
    }
    std::string Dump() {
        Settle();
        return ToJson(*score);
    }
    size_t Steps() const {
        const auto* history = detail::FindHistory(*score);
        return history ? history->Done.size() : 0;
    }
    void Select(std::initializer_list<int32_t> times, int32_t staff = 1) {
        for (int32_t t : times) {
            detail::ScoreAccess::Selected(*score).push_back(NoteOf(t, staff));
            detail::ScoreAccess::SelVoiceIDs(*score).push_back(score->Staff(staff)->Voice(1)->ID());
            detail::ScoreAccess::SelStaffs(*score).push_back(staff);
        }
    }
    // The x where the note at `time` of staff 1 is drawn.
    int32_t NoteX(int32_t time) { return NoteOf(time)->X(); }

  protected:
    std::shared_ptr<UndoLog> undoLog;
};

struct EditCase {
    const char* name;
    std::function<void(Undo&, Score&)> prepare;  // steps before the one taken back
    std::function<void(Undo&, Score&)> edit;
    size_t steps = 1;  // one for each call
};

TEST_F(Undo, EveryKindOfEditIsTakenBackAndMadeAgainExactly) {
    const std::vector<EditCase> cases = {
        {"a note entered",
         {},
         [](Undo& t, Score& s) {
             s.AddNoteByHit(XAt(t.R(1), 1, 40), YAt(t.R(1), 5), durQuarter, 0);
         }},
        {"a chord tone and an overlapped note",
         {},
         [](Undo& t, Score& s) {
             s.AddNoteByHit(XAt(t.R(1), 0, 0), YAt(t.R(1), 2), durHalf, nteTriplet);
             s.AddNoteByHit(XAt(t.R(1), 1, 4), YAt(t.R(1), 2), durHalf, 0);
         },
         2},
        {"an ornament",
         {},
         [](Undo& t, Score& s) { s.AddOrnamentByHit(t.NoteX(16), YAt(t.R(1), 4), ornTrill); }},
        {"the last note transposed",
         [](Undo& t, Score& s) {
             s.AddNoteByHit(XAt(t.R(1), 0, 16), YAt(t.R(1), 6), durQuarter, 0);
         },
         [](Undo&, Score& s) { s.ChangeLast(3); }},
        {"the last note moved",
         [](Undo& t, Score& s) {
             s.AddNoteByHit(XAt(t.R(1), 1, 16), YAt(t.R(1), 6), durEighth, 0);
         },
         [](Undo&, Score& s) { s.ChangeLast(1, true); }},
        {"the selection lengthened and transposed",
         [](Undo& t, Score&) {
             t.Select({0, 16, 64});
         },
         [](Undo&, Score& s) { s.ChangeSel(durHalf, 256 + 2, stmPropDot, ornAccent); }},
        {"a note deleted", {}, [](Undo&, Score& s) { s.DelNote(48, 1, 1); }},
        {"the selection deleted",
         [](Undo& t, Score&) {
             t.Select({16, 32, 96});
         },
         [](Undo&, Score& s) { s.ChangeSel(0, 0, 0, 0, true); }},
        {"the selection tied",
         [](Undo& t, Score&) {
             t.Select({0, 48});
         },
         [](Undo&, Score& s) { s.ChangeSel(0, 0, 0, 0, false, true); }},
        {"the selection cut",
         [](Undo& t, Score&) {
             t.Select({64, 80});
         },
         [](Undo&, Score& s) { s.PutClipboard(true); }},
        {"notes pasted",
         [](Undo& t, Score& s) {
             t.Select({0, 16, 32});
             s.PutClipboard(false);
             s.Staff(2)->SetSelected(true);
             detail::ScoreAccess::SelectedMeasureSet(s, 2);
         },
         [](Undo&, Score& s) { s.GetClipboard(); }},
        {"marks placed",
         {},
         [](Undo& t, Score& s) {
             s.AddGlobalByHit(XAt(t.R(1), 1, 0), YAt(t.R(1), 4), evtDynamic, dynP);
             s.AddGlobalByHit(XAt(t.R(1), 0, 30), YAt(t.R(1), 4), evtRepeatBegin);
             s.AddGlobalByHit(XAt(t.R(1), 0, 30), YAt(t.R(1), 2), evtText, 0, "dolce");
             s.AddGlobalByHit(XAt(t.R(1), 1, 0), YAt(t.R(1), 4), evtMeasureSize, 3);
             s.AddGlobalByHit(XAt(t.R(1), 1, 0), YAt(t.R(1), 4), evtKeyChange, -2);
         },
         5},
        {"marks removed",
         {},
         [](Undo&, Score& s) {
             s.RemoveGlobalEvent(-1, evtLineEnd);
             s.RemoveGlobalEvent(64, evtDynamic);
         },
         2},
        {"a lyric typed",
         {},
         [](Undo&, Score& s) {
             s.SetVerse(2);
             s.AddLyric(16, "lu");
         },
         2},
        {"measures inserted", {}, [](Undo&, Score& s) { s.AddMeasure(2, false); }},
        {"a measure deleted", {}, [](Undo&, Score& s) { s.DelMeasure(1); }},
        {"a staff inserted", {}, [](Undo&, Score& s) { s.AddStaff(1); }},
        {"a staff deleted", {}, [](Undo&, Score& s) { s.DelStaff(1); }},
        {"a brace set",
         {},
         [](Undo& t, Score& s) {
             s.SetBraceByHit(static_cast<float>(XAt(t.R(1), 0, 8)),
                             static_cast<float>(YAt(t.R(1), 4)), 2);
         }},
        {"staff brackets switched on",
         {},
         [](Undo& t, Score& s) {
             s.SetBraceByHit(static_cast<float>(XAt(t.R(1), 0, 8)),
                             static_cast<float>(YAt(t.R(1), 4)), -1);
         }},
        {"texts and tempo",
         {},
         [](Undo&, Score& s) {
             s.SetTitle("Suite");
             s.SetCopyright(1, "(c)");
             s.SetBeat(durHalf);
             s.SetCount(90);
             s.SetUseCapo(true);
         },
         5},
        {"key and mode",
         {},
         [](Undo&, Score& s) {
             s.SetKey(-3);
             s.SetMinor(true);
         },
         2},
        {"page and spacing",
         {},
         [](Undo&, Score& s) {
             s.SetPageSize(pgsA4);
             s.SetPageOrientation(pgeLandscape);
             s.SetMargins(marLeft, 1.25f);
             s.SetStaffHeight(0.6f);
             s.SetSystemSpace(1.0f);
             s.SetNumberMeasures(true);
         },
         6},
        {"a font",
         {},
         [](Undo&, Score& s) {
             s.SetFonts(fntTitle, std::make_shared<Font>("Serif", 20.0f, false, true));
         }},
        {"a dialog's Ok",
         {},
         [](Undo&, Score& s) {
             detail::EditStep ok(s);
             s.SetSubTitle("Op. 1");
             s.Staff(2)->SetDescription("Bass");
             s.Staff(2)->Voice(1)->SetDescription("Cello");
             s.AllInstruments()->Item(1)->SetDrumValue(1, 40);
             s.AllGlobals()->Item(128, evtLineEnd)->SetEventTime(64);
         }},
    };

    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        OpenArranged();
        if (c.prepare) c.prepare(*this, *score);
        const size_t stepsBefore = Steps();
        const std::string before = Dump();
        c.edit(*this, *score);
        const std::string after = Dump();
        ASSERT_NE(after, before);
        const size_t steps = Steps() - stepsBefore;
        EXPECT_EQ(steps, c.steps);

        const auto repeat = [&](void (Score::*apply)()) {
            for (size_t i = 0; i < steps; ++i) ((*score).*apply)();
        };
        repeat(&Score::Undo);
        EXPECT_EQ(Dump(), before);
        repeat(&Score::Redo);
        EXPECT_EQ(Dump(), after);
        repeat(&Score::Undo);
        EXPECT_EQ(Dump(), before);
        EXPECT_EQ(Steps(), stepsBefore);
    }
}

TEST_F(Undo, StepsComeAndGoWithTheirEventsAndANewEditDropsWhatCouldBeRedone) {
    OpenArranged();
    Select({0, 16});
    score->SetTitle("A");
    score->SetTitle("A");  // no change, no step
    score->SetTitle("B");
    EXPECT_EQ(Steps(), 2u);
    EXPECT_EQ(undoLog->Count("HistoryChanged true"), 1u);

    undoLog->log.clear();
    score->Undo();
    EXPECT_EQ(score->Title(), "A");
    EXPECT_EQ(score->SelCount(), 0);
    EXPECT_TRUE(score->Changed());
    EXPECT_EQ(undoLog->Count("SelectionCleared"), 1u);
    EXPECT_EQ(undoLog->Count("RedoChanged true"), 1u);
    score->Undo();
    EXPECT_EQ(score->Title(), "");
    EXPECT_EQ(undoLog->Count("HistoryChanged false"), 1u);
    score->Undo();  // nothing left: nothing happens
    EXPECT_TRUE(score->CanRedo());

    score->Redo();
    EXPECT_EQ(score->Title(), "A");
    EXPECT_TRUE(score->CanUndo());
    undoLog->log.clear();
    score->SetTitle("C");
    EXPECT_FALSE(score->CanRedo());
    EXPECT_EQ(undoLog->Count("RedoChanged false"), 1u);
}

TEST_F(Undo, EachScoreKeepsItsOwnHistoryOfTheThreadsDepth) {
    OpenArranged();
    auto other = Score::Create();
    other->CreateDefault();
    EXPECT_EQ(score->UndoDepth(), 100);
    for (int32_t i = 0; i <= 100; ++i) score->SetHeading("h" + std::to_string(i));
    other->SetHeading("x");
    EXPECT_EQ(Steps(), 100u);  // the first of 101 edits went
    for (int32_t i = 0; i < 100; ++i) score->Undo();
    EXPECT_EQ(score->Heading(), "h0");
    EXPECT_FALSE(score->CanUndo());
    EXPECT_TRUE(other->CanUndo());

    other->SetUndoDepth(0);  // ignored
    other->SetUndoDepth(3);
    EXPECT_EQ(score->UndoDepth(), 3);
    EXPECT_EQ(detail::FindHistory(*score)->Undone.size(), 3u);

    // Saving a score empties its own history only.
    score->SetHeading("saved");
    ASSERT_TRUE(other->SaveFile(::testing::TempDir() + "undo-other.sco"));
    EXPECT_FALSE(other->CanUndo());
    EXPECT_TRUE(score->CanUndo());
    const Score* gone = other.get();
    other.reset();
    EXPECT_EQ(detail::Undos().Histories.count(gone), 0u);
}

// A score made before anything else of its thread is destroyed after the thread's engine state
// (thread-local objects go in reverse order); its history and timer must still be let go safely.
TEST(UndoAtThreadExit, AScoreOutlivingItsThreadsStateIsDestroyedSafely) {
    std::thread([] {
        thread_local std::shared_ptr<Score> held;
        held = Score::Create();
        held->CreateDefault();
        held->SetHeading("kept past the thread's state");
        EXPECT_TRUE(held->CanUndo());
    }).join();
}

}  // namespace
}  // namespace corvendi::test
