// The Measure Properties dialog as a user works it, presented through the platform.
#include "corvendi/GlobalEvent.h"
#include "corvendi/dialogs/MeasurePropertiesDialog.h"
#include "dialogs/PropertyDialogTestSupport.h"

namespace corvendi::test {
namespace {

class MeasureDialog : public PropertyDialogTest {
  protected:
    void SetUp() override {
        PropertyDialogTest::SetUp();
        TwoStaffScore();
        score->Staff(2)->SetSelected(true);
        Select(2);
    }

    void Select(int32_t measure) { detail::ScoreAccess::SelectedMeasureSet(*score, measure); }

    std::unique_ptr<MeasurePropertiesDialog> Present(const std::string& answer) {
        return PresentNew<MeasurePropertiesDialog>(answer);
    }

    std::shared_ptr<GlobalEvent> At(int32_t time, int32_t type) const {
        return score->AllGlobals()->Find(time, type, true);
    }

    static constexpr int32_t kMeasure2 = 64;
    static constexpr int32_t kMeasure3 = 128;
};

TEST_F(MeasureDialog, ShowsTheMarksAtTheStartOfTheSelectedMeasure) {
    auto globals = score->AllGlobals();
    globals->Add(kMeasure3, evtRepeatBegin);
    globals->Add(kMeasure3, evtSectionDefine, sctEnding | sctCoda, 0, "1st time");
    globals->Add(kMeasure3, evtSectionGo, sctToCoda);
    globals->Add(kMeasure3, evtKeyChange, 254);
    globals->Add(kMeasure3, evtTimeChange, 7, 8, "7");
    Select(3);
    const std::string before = ToJson(*score);

    const auto dialog = Present("Begin Repeat=0; optTime(2); Cancel");
    EXPECT_EQ(ToJson(*score), before);
    MeasurePropertiesDialog fresh;
    fresh.Init(*score);
    EXPECT_EQ(fresh.StartTime(), kMeasure3);
    EXPECT_EQ(Text(fresh, "txtNumber"), "3");
    EXPECT_EQ(Text(fresh, "txtIndex"), "2");
    EXPECT_EQ(Text(fresh, "txtDescription"), "Piano");
    EXPECT_TRUE(Checked(fresh, "Begin Repeat"));
    EXPECT_FALSE(Checked(fresh, "End Repeat"));
    EXPECT_TRUE(Checked(fresh, "Ending"));
    EXPECT_EQ(Text(fresh, "txtEnding"), "1st time");
    EXPECT_TRUE(Checked(fresh, "Coda"));
    EXPECT_FALSE(Checked(fresh, "Segundo"));
    EXPECT_TRUE(Checked(fresh, "To Coda"));
    EXPECT_EQ(fresh.Find("cboMajor")->ListIndex, 5);  // Bb
    EXPECT_TRUE(Checked(fresh, "optTime(9)"));
    EXPECT_EQ(Text(fresh, "txtTime(0)"), "7");
    EXPECT_EQ(Text(fresh, "txtTime(1)"), "8");
    EXPECT_FALSE(fresh.Find("txtTime(0)")->Locked);
    EXPECT_EQ(Text(fresh, "txtPulse"), "7");
}

TEST_F(MeasureDialog, RepeatAndEndingChoicesGiveTheFlagsTheLayoutReads) {
    const std::string before = ToJson(*score);
    const int32_t eventCount = score->AllGlobals()->Count();
    Answer("Begin Repeat=1; End Repeat=1; Ending=1; txtEnding= 2 ; Coda=1; Ok");
    score->ShowDialog(dlgMeasureProperties);
    EXPECT_EQ(events->Count("ChangeNotify true"), 1u);
    EXPECT_EQ(score->MeasureFlags(kMeasure2), 1 + 2 + 16 * (sctEnding2 | sctCoda));
    EXPECT_EQ(At(kMeasure2, evtSectionDefine)->Text(), "");
    EXPECT_TRUE(score->Changed());

    // Already there: checking again adds no second repeat sign; any other label is kept.
    Present("Begin Repeat=1; txtEnding=3rd; To Segundo=1; Ok");
    EXPECT_EQ(score->MeasureFlags(kMeasure2), 1 + 2 + 16 * (sctEnding | sctCoda));
    EXPECT_EQ(At(kMeasure2, evtSectionDefine)->Text(), "3rd");
    EXPECT_EQ(At(kMeasure2, evtSectionGo)->Value1(), sctToSegundo);
    EXPECT_EQ(score->AllGlobals()->Count(), eventCount + 4);

    Present("Begin Repeat=0; End Repeat=0; Ending=0; Coda=0; To Segundo=0; Ok");
    EXPECT_EQ(score->MeasureFlags(kMeasure2), 0);
    score->SetChanged(false);
    EXPECT_EQ(ToJson(*score), before);
}

TEST_F(MeasureDialog, TimeAndKeyChangesAreWrittenCorrectedAndCleared) {
    score->SetChanged(false);
    const std::string before = ToJson(*score);
    // Apply writes; the repeat checked after it goes with the Cancel.
    auto dialog = Present(
        "optTime(9); txtTime(0)=7; txtTime(1)=8; txtPulse=-5; cboMajor=Bb - 2 flats; cmdApply; "
        "Begin Repeat=1; Cancel");
    EXPECT_EQ(Text(*dialog, "txtPulse"), "1");
    auto time = At(kMeasure2, evtTimeChange);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->Value1(), 7);
    EXPECT_EQ(time->Value2(), 8);
    EXPECT_EQ(time->Text(), "1");
    EXPECT_EQ(At(kMeasure2, evtKeyChange)->Value1(), 254);
    EXPECT_EQ(score->MeasureFlags(kMeasure2), 0);

    // A free entry out of range becomes 4/4 with its boxes reset; a preset is taken as it is.
    dialog = Present("txtTime(0)=1e99 in; txtTime(1)=3; Ok");
    EXPECT_EQ(Text(*dialog, "txtTime(0)"), "4");
    EXPECT_EQ(Text(*dialog, "txtTime(1)"), "4");
    EXPECT_EQ(time->Value1(), 4);
    EXPECT_EQ(time->Value2(), 16);
    Present("optTime(8); Ok");
    EXPECT_EQ(time->Value1(), 9);
    EXPECT_EQ(time->Value2(), 8);

    // "Clear" and "Restore" toggle; cleared, the time change goes, as does the cleared key.
    dialog = Present("cmdClearRest; cmdClearRest; cmdClearRest; cmdClear; Ok");
    EXPECT_EQ(dialog->Find("cmdClearRest")->Caption, "Restore");
    score->SetChanged(false);
    EXPECT_EQ(ToJson(*score), before);
}

TEST_F(MeasureDialog, OneOkIsOneUndoStep) {
    const std::string before = ToJson(*score);
    Answer("Begin Repeat=1; Ending=1; optTime(8); cboMajor=3; Ok");
    score->ShowDialog(dlgMeasureProperties);
    ASSERT_NE(ToJson(*score), before);
    score->Undo();
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_FALSE(score->CanUndo());
}

TEST_F(MeasureDialog, AnotherMeasureOrStaffWritesPendingEditsFirst) {
    const std::string huge(10000, 'x');
    // Letters never reach the number box: "abc" leaves it at measure 2.
    auto dialog = Present(
        "Begin Repeat=1; txtNumber=abc; End Repeat=1; updNumber=up; Ending=1; "
        "txtEnding=" +
        huge + "; updIndex=down; Ok");
    EXPECT_EQ(score->MeasureFlags(kMeasure2), 1 + 2);
    EXPECT_EQ(score->MeasureFlags(kMeasure3), 16 * sctEnding);
    EXPECT_EQ(At(kMeasure3, evtSectionDefine)->Text(), huge);
    EXPECT_EQ(score->SelectedMeasure(), 3);
    EXPECT_EQ(score->SelectedStaff(), score->Staff(1));
    EXPECT_EQ(Text(*dialog, "txtIndex"), "1");
}

}  // namespace
}  // namespace corvendi::test
