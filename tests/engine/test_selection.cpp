// Selecting notes by a rectangle, deleting and tying them, and copying them through the
// clipboard's text.
#include <string>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "engine/NoteEntryTestSupport.h"

namespace corvendi::test {
namespace {

struct SelectionLog : EntryLog {
    void SelectionCleared() override { log.push_back("SelectionCleared"); }
};

// Two staffs in 4/4 (three measures in the first system): staff 1 plays quarters of pitch
// 60 + measure - 1 in measures 1..12, staff 2 a half note in measures 1..3.
void Quarters(Score& s) {
    s.AddStaff();
    for (int32_t t = 0; t < 12 * 64; t += 16)
        s.AddNote(1, t, static_cast<uint8_t>(60 + t / 64), 16, 0);
    for (int32_t t : {0, 64, 128}) s.AddNote(2, t, 48, durHalf, 0);
    s.AllGlobals()->Add(8 * 64, evtLineEnd);
}

class Selection : public NoteEntryTest {
  protected:
    void OpenQuarters() {
        Open(Quarters);
        selectionLog = std::make_shared<SelectionLog>();
        score->SetEvents(selectionLog);
    }
    // Selects the notes of staff `staff` from `from` up to (not including) `to`, by a
    // rectangle around their drawn heads.
    int32_t SelectSpan(int32_t from, int32_t to, int32_t staff = 1, int32_t toStaff = 0) {
        const Region& first = RegionOf(staff, from);
        const Region& last = RegionOf(toStaff > 0 ? toStaff : staff, from);
        const int32_t left = NoteOf(from, staff)->X() - 10;
        const int32_t right = NoteOf(to, staff)->X() - 10;
        return score->SetSelection(right, last.Bottom - 10, left, first.Top + 10);  // reversed
    }
    const Region& RegionOf(int32_t staff, int32_t time) const {
        for (const auto& region : detail::ScoreAccess::Regions(*score)) {
            if (region->Staff == staff && region->Measure(0)->High() <= time) {
                const auto next = region->Measure(region->Measures() - 1);
                if (time < next->High() + 64) return *region;
            }
        }
        return R(1);
    }
    void PasteAt(int32_t measure, int32_t staff = 1) {
        detail::ScoreAccess::SelectedMeasureSet(*score, measure);
        score->Staff(staff)->SetSelected(true);
        score->GetClipboard();
    }
    std::string Clipboard() { return CurrentPlatform().ClipboardText(); }
    // The document equals the twin's after `edit`, once pagination has run.
    void Same(const Arrange& edit) {
        Settle();
        ExpectDocument(edit);
    }
    void Settle() {
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
    }
    // The start of staff 1's second system.
    int32_t SecondSystemStart() const {
        const auto& regions = detail::ScoreAccess::Regions(*score);
        for (size_t i = 1; i < regions.size(); ++i) {
            if (regions[i]->Staff == 1) return regions[i]->Measure(0)->High();
        }
        return 0;
    }
    std::string IDs(int32_t staff) {
        return score->Staff(staff)->ID() + ":" + score->Staff(staff)->Voice(1)->ID();
    }

    std::shared_ptr<SelectionLog> selectionLog;
};

TEST_F(Selection, ARectangleSelectsTheActiveVoiceOfTheSystemsItTouches) {
    OpenQuarters();
    EXPECT_EQ(SelectSpan(64, 128), 4);
    EXPECT_EQ(detail::ScoreAccess::Selected(*score).front(), NoteOf(64));
    // The whole band of staff 1 in the first system: its notes end where the next system starts.
    const Region& top = R(1);
    EXPECT_EQ(score->SetSelection(top.Left, top.Top, top.Right, top.Bottom - 1),
              SecondSystemStart() / 16);
    // Across both staffs: staff 1's notes first, then staff 2's, each in time order.
    EXPECT_EQ(SelectSpan(0, 128, 1, 2), 8 + 2);
    EXPECT_EQ(detail::ScoreAccess::SelStaffs(*score).back(), 2);
    // Only the staff lines between two notes: nothing. Enormous corners: the whole page.
    const Region& r = R(1);
    const int32_t between = NoteOf(64)->X() + 20;
    EXPECT_EQ(score->SetSelection(between, r.Top, between + 30, r.Bottom), 0);
    EXPECT_EQ(score->SetSelection(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 12 * 4 + 3);
    score->SetVoice(2);  // a voice the staffs do not have
    EXPECT_EQ(score->SetSelection(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 0);
}

TEST_F(Selection, CopiedNotesReadAsTextAndPasteIntoTheSelectedMeasure) {
    OpenQuarters();
    SelectSpan(64, 96);
    EXPECT_EQ(score->PutClipboard(false), 2);
    EXPECT_EQ(Clipboard(), IDs(1) + "@64#64#16#0#61#80#16#0#61");

    // Copied from measure 2, pasted into measure 5 of staff 2: moved by three measures.
    PasteAt(5, 2);
    Same([](Score& s) {
        s.AddNote(2, 256, 61, 16, 0);
        s.AddNote(2, 272, 61, 16, 0);
    });
    EXPECT_TRUE(score->Changed());

    // Two staffs copied: only the first staff's notes are pasted.
    SelectSpan(0, 64, 1, 2);
    score->PutClipboard(false);
    EXPECT_EQ(Clipboard(),
              IDs(1) + "@0#0#16#0#60#16#16#0#60#32#16#0#60#48#16#0#60" + IDs(2) + "#0#32#0#48");
    PasteAt(7, 2);
    Same([](Score& s) {
        for (int32_t t = 0; t < 64; t += 16) s.AddNote(2, 384 + t, 60, 16, 0);
    });
}

TEST_F(Selection, CuttingTakesTheNotesAwayAndUndoBringsThemBack) {
    OpenQuarters();
    const std::string before = ToJson(*score);
    SelectSpan(64, 128);
    selectionLog->log.clear();
    EXPECT_EQ(score->PutClipboard(true), 4);
    EXPECT_EQ(score->SelCount(), 0);
    EXPECT_EQ(selectionLog->Count("SelectionCleared"), 1u);
    Same([](Score& s) {
        for (int32_t t = 64; t < 128; t += 16) s.Staff(1)->Voice(1)->Notes()->Remove(t);
    });
    score->Undo();
    Settle();
    EXPECT_EQ(ToJson(*score), before);
    PasteAt(1);  // the cut notes are still on the clipboard: they become chord tones
    EXPECT_EQ(NoteOf(0)->ValueCount(), 2);
}

TEST_F(Selection, DeleteAndTieActOnTheSelection) {
    OpenQuarters();
    SelectSpan(16, 64);        // three notes
    score->DelNote(48, 1, 1);  // already gone when the selection is deleted
    EXPECT_EQ(score->ChangeSel(0, 0, 0, 0, true), 2);
    EXPECT_FALSE(NoteOf(16));
    EXPECT_EQ(score->ChangeSel(0, 0, 0, 0, true), 0);

    // A tie from the first selected note to the last one of its staff, in the active voice.
    EXPECT_EQ(SelectSpan(64, 176, 1, 2), 7 + 2);
    EXPECT_EQ(score->ChangeSel(0, 0, 0, 0, false, true), 1);
    const auto tie = score->Staff(1)->GlobalEvents()->Find(64, evtTie, true);
    ASSERT_TRUE(tie);
    EXPECT_EQ(tie->Value1() * 256 + tie->Value2(), 160);
    EXPECT_EQ(tie->Text(), "1");
    // One note gives no tie.
    SelectSpan(64, 80);
    EXPECT_EQ(score->ChangeSel(0, 0, 0, 0, false, true), 0);
}

TEST_F(Selection, ATieThatWouldEndPastTwoBytesIsNotAdded) {
    Open([](Score& s) {
        s.AddNote(1, 0, 60, 16, 0);
        s.AddNote(1, 65536, 60, 16, 0);
    });
    auto& state = detail::ScoreAccess::State(*score);
    for (int32_t t : {0, 65536}) {
        state.Selected.push_back(NoteOf(t));
        state.SelVoiceIDs.push_back(score->Staff(1)->Voice(1)->ID());
        state.SelStaffs.push_back(1);
    }
    EXPECT_EQ(score->ChangeSel(0, 0, 0, 0, false, true), 0);
    EXPECT_FALSE(score->CanUndo());
}

TEST_F(Selection, TextThatIsNotCopiedNotesPastesNothingOrStopsAtTheDamage) {
    const std::string million(1000000, '9');
    struct Case {
        std::string text;
        std::vector<int32_t> pasted;  // times of the notes pasted (pitch 70)
    };
    const std::vector<Case> cases = {
        {"", {}},
        {std::string("\x01S1:\xff\x00#0#16#0#70", 15), {}},
        {"S1:V1@", {}},
        {"S1:V1@" + million, {}},
        {"S1:V1@0#8#16#0#70#24#16#0#2147483648#40#16#0#70", {8}},
        {"S1:V1@0#8#16#0#200|70|-1#24#16#0#70", {8}},
        {"S1:V1@64#72#16#0#70S2:V2@0#24#16#0#70", {8}},
        {"S1:V1:V2@0#8#16#0#70#24#16x0#70", {8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        Open();
        CurrentPlatform().SetClipboardText(c.text);
        score->GetClipboard();
        Same([&](Score& s) {
            for (int32_t t : c.pasted) s.AddNote(1, t, 70, 16, 0);
        });
        EXPECT_EQ(score->CanUndo(), !c.pasted.empty());
    }
}

}  // namespace
}  // namespace corvendi::test
