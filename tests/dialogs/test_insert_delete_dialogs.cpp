// The insert and delete dialogs as a user works them.
#include "corvendi/Enums.h"
#include "corvendi/Staff.h"
#include "corvendi/dialogs/DeleteMeasureDialog.h"
#include "corvendi/dialogs/DeleteStaffDialog.h"
#include "corvendi/dialogs/InsertMeasureDialog.h"
#include "corvendi/dialogs/InsertStaffDialog.h"
#include "engine/MeasureTestSupport.h"
#include "model/InstrumentCatalog.h"

namespace corvendi::test {
namespace {

using Dialogs = MeasureTest;

std::string TextOf(const Dialog& dialog, std::string_view control) {
    return dialog.Find(control)->Text;
}

TEST_F(Dialogs, NumberBoxesTakeDigitsOnlyAndCorrectTheirNumberOnLeaving) {
    TwoStaffScore();
    InsertMeasureDialog dialog;
    EXPECT_EQ(Process().DialogResult, kDialogLoaded);
    dialog.Init(*score);
    EXPECT_EQ(dialog.Title(), "Insert Measure");
    EXPECT_EQ(TextOf(dialog, "txtMesNo"), "1");
    EXPECT_EQ(TextOf(dialog, "txtQuant"), "1");
    EXPECT_TRUE(dialog.Find("Before")->Value);

    dialog.Focus("txtMesNo");
    EXPECT_FALSE(dialog.KeyPress("txtMesNo", 'x'));
    EXPECT_EQ(dialog.Beeps(), 1);
    EXPECT_EQ(TextOf(dialog, "txtMesNo"), "1");  // still selected: a digit replaces it
    dialog.KeyPress("txtMesNo", '0');
    EXPECT_FALSE(dialog.KeyPress("txtMesNo", kKeyEnter));  // validates, stays open
    EXPECT_EQ(TextOf(dialog, "txtMesNo"), "1");
    EXPECT_TRUE(dialog.IsOpen());

    dialog.TypeText("Measure", "");
    EXPECT_EQ(TextOf(dialog, "txtMesNo"), "1");
    dialog.TypeText("txtQuant", "12a34");
    EXPECT_EQ(TextOf(dialog, "txtQuant"), "999");  // 1234, clamped to the arrows' bounds
    EXPECT_EQ(dialog.Find("updQuant")->Position, 999);
    dialog.TypeText("txtQuant", "0");
    EXPECT_EQ(TextOf(dialog, "txtQuant"), "1");

    // A click in the box places the caret: typing then adds to the text.
    dialog.MouseDown("txtQuant");
    dialog.Focus("txtQuant");
    dialog.MouseUp("txtQuant");
    dialog.KeyPress("txtQuant", '5');
    EXPECT_EQ(TextOf(dialog, "txtQuant"), "15");
}

TEST_F(Dialogs, ThePromptStartsFromTheCallersMeasureAndChoice) {
    TwoStaffScore();
    AddNote(*score, 1, 1, 64 * 9, 60);
    // The dialog shows measure 4 and "or After"; Ok takes them as they are.
    Answer("Ok");
    score->AddMeasure(4, true, true);
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->ByIndex(1)->NoteTime(), 64 * 10);
    Answer("Ok");
    score->DelMeasure(std::nullopt, true);  // the selected measure, 1
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->ByIndex(1)->NoteTime(), 64 * 9);
}

}  // namespace
TEST_F(Dialogs, AnswersNameControlsByNameCaptionOrLabelAndReportWhatTheyCouldNotDo) {
    TwoStaffScore();
    auto answer = DialogAnswer::Parse(" txtQuant = 3 ; or After; Measure=7 ; Ok ");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Button, "Ok");
    EXPECT_EQ(answer->Values.size(), 3u);
    EXPECT_FALSE(DialogAnswer::Parse("txtQuant=3"));  // no button closes it

    ScriptedPresenter presenter;
    presenter.Queue(*answer);
    presenter.Queue({"frmCVDDelMes", {}, "cmdOk"});
    presenter.Queue({"", {{"txtNothing", "1"}, {"cboStaff", "9"}}, "cmdOk"});

    InsertMeasureDialog first;
    first.Init(*score);
    presenter.Present(first);
    EXPECT_EQ(first.Result(), kDialogOk);
    EXPECT_EQ(first.Quantity(), 3);
    EXPECT_TRUE(first.After());
    EXPECT_EQ(first.MeasureNumber(), 7);

    InsertMeasureDialog wrongForm;
    wrongForm.Init(*score);
    presenter.Present(wrongForm);
    EXPECT_EQ(wrongForm.Result(), kDialogCancel);

    DeleteStaffDialog refused;
    refused.Init(*score);
    presenter.Present(refused);
    EXPECT_EQ(refused.Result(), kDialogOk);

    InsertMeasureDialog unanswered;
    unanswered.Init(*score);
    presenter.Present(unanswered);
    EXPECT_EQ(unanswered.Result(), kDialogCancel);

    EXPECT_EQ(presenter.Problems(),
              (std::vector<std::string>{"frmCVDInsMes: the answer is for frmCVDDelMes",
                                        "frmCVDDelStaff: txtNothing refused \"1\"",
                                        "frmCVDDelStaff: cboStaff refused \"9\"",
                                        "frmCVDInsMes: no answer queued"}));
    EXPECT_EQ(presenter.Presented().size(), 4u);
}

}  // namespace corvendi::test
