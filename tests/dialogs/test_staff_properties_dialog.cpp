// The Staff Properties dialog as a user works it, presented through the platform.
#include <set>

#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Range.h"
#include "corvendi/Voices.h"
#include "corvendi/dialogs/StaffPropertiesDialog.h"
#include "dialogs/PropertyDialogTestSupport.h"

namespace corvendi::test {
namespace {

class StaffDialog : public PropertyDialogTest {
  protected:
    // Staff 2 "Piano" at 80 %, muted, selected; staff 1 keeps its two voices.
    void SetUp() override {
        PropertyDialogTest::SetUp();
        TwoStaffScore();
        auto staff = score->Staff(2);
        staff->SetScalePct(80);
        staff->SetMute(true);
        staff->SetFlags(stfShowStaffDesc | stfEnforceRange);
        staff->SetSelected(true);
        AddNote(*score, 2, 1, 0, 60);
    }

    std::unique_ptr<StaffPropertiesDialog> Present(const std::string& answer) {
        return PresentNew<StaffPropertiesDialog>(answer);
    }
};

TEST_F(StaffDialog, ShowsTheSelectedStaffAndItsFirstVoice) {
    const std::string before = ToJson(*score);
    const auto dialog = Present("Description=Changed; txtHeight=50; Cancel");
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_EQ(dialog->Result(), kDialogCancel);

    StaffPropertiesDialog fresh;
    fresh.Init(*score);
    EXPECT_EQ(Text(fresh, "txtIndex"), "2");
    EXPECT_EQ(fresh.Find("updIndex")->Max, 2);
    EXPECT_EQ(Text(fresh, "txtDescription"), "Piano");
    EXPECT_EQ(Text(fresh, "txtHeight"), "80");
    EXPECT_EQ(Text(fresh, "txtVoices"), "1");
    EXPECT_TRUE(fresh.Find("Mute on playback")->Value);
    EXPECT_TRUE(fresh.Find("chkVisible")->Value);
    const std::vector<bool> flags{true, false, false, false, true};
    for (int32_t bit = 0; bit < 5; ++bit) {
        EXPECT_EQ(fresh.Find("chkDefault(" + std::to_string(bit) + ")")->Value, flags[bit]);
    }
    // The new staff plays its neighbour's instrument: the default recorder.
    const DialogControl& type = *fresh.Find("cboType");
    EXPECT_EQ(fresh.Find("cboCategory")->ListIndex, catWind);
    EXPECT_EQ(type.Items[static_cast<size_t>(type.ListIndex)].Text, "Recorder");
    EXPECT_EQ(Text(fresh, "txtLow"), "F5");
    EXPECT_EQ(Text(fresh, "txtHigh"), "G7");
    EXPECT_FALSE(fresh.Find("cmdApply")->Enabled);

    // "Solo" lists the whole catalogue and chooses nothing; another category shows the voice's
    // instrument when it has it.
    fresh.SelectItem("Category", catSolo);
    EXPECT_EQ(type.Items.size(), 174u);
    EXPECT_EQ(type.ListIndex, -1);
    fresh.SelectItem("Category", catBrass);
    EXPECT_EQ(type.ListIndex, -1);
    fresh.SelectItem("Category", catWind);
    EXPECT_EQ(type.Items[static_cast<size_t>(type.ListIndex)].Text, "Recorder");
    EXPECT_TRUE(fresh.Find("cmdApply")->Enabled);
}

TEST_F(StaffDialog, EditsReachTheScoreOnlyThroughApplyOrOk) {
    const std::string before = ToJson(*score);
    auto staff = score->Staff(2);
    // Apply writes at once; the Cancel after it keeps what was applied.
    Present("Description=Strings; Visible=0; Print Dynamics on Score=1; Apply; Height=60; Cancel");
    EXPECT_EQ(staff->Description(), "Strings");
    EXPECT_FALSE(staff->Visible());
    EXPECT_EQ(staff->Flags(), stfShowStaffDesc | stfPrintDynamics | stfEnforceRange);
    EXPECT_EQ(staff->ScalePct(), 80);
    EXPECT_TRUE(score->Changed());

    // Pressing Ok without an edit writes nothing.
    const std::string applied = ToJson(*score);
    Present("Ok");
    EXPECT_EQ(ToJson(*score), applied);
    EXPECT_NE(applied, before);
}

TEST_F(StaffDialog, BadTextEndsWithTheCorrectionOrThePreviousValue) {
    const std::string huge(10000, '7');
    auto dialog =
        Present("txtHeight=10; txtVoices=9; txtVoices=abc; txtPitch=-5 cm; txtOffset=" + huge +
                "; txtLow=H2; txtHigh=C#9; Cancel");
    EXPECT_EQ(Text(*dialog, "txtHeight"), "25");
    EXPECT_EQ(Text(*dialog, "txtVoices"), "4");  // 9 clamped, then "abc" kept it
    EXPECT_EQ(Text(*dialog, "txtPitch"), "-5");
    EXPECT_EQ(Text(*dialog, "txtOffset"), "12");
    EXPECT_EQ(Text(*dialog, "txtLow"), "F5");
    EXPECT_EQ(Text(*dialog, "txtHigh"), "C#9");

    dialog = Present("txtHeight=150; txtHeight=abc; txtDescription=" + huge + "; Ok");
    EXPECT_EQ(Text(*dialog, "txtHeight"), "100");
    EXPECT_EQ(score->Staff(2)->ScalePct(), 100);
    EXPECT_EQ(score->Staff(2)->Description(), huge);
}

TEST_F(StaffDialog, AnInstrumentChangeReachesTheVoiceAndTheMidiExport) {
    const int32_t instrumentsBefore = score->AllInstruments()->Count();
    Answer("Category=Brass; Type=Trumpet; txtLow=G4; Ok");
    score->ShowDialog(dlgStaffProperties);
    EXPECT_EQ(events->Count("ChangeNotify true"), 1u);
    const auto voice = score->Staff(2)->Voice(1);
    const auto trumpet = voice->Instrument();
    ASSERT_TRUE(trumpet);
    EXPECT_EQ(trumpet->Value(), 56);
    EXPECT_EQ(trumpet->Category(), catBrass);
    EXPECT_EQ(trumpet->Pitch(), 2);
    EXPECT_EQ(trumpet->Offset(), 2);
    EXPECT_EQ(trumpet->Range()->Low(), 55);
    EXPECT_EQ(voice->Description(), "Trumpet");
    EXPECT_EQ(score->Staff(2)->DefaultClef(), clfTreble);
    // Staff 1 keeps the recorder staff 2 no longer plays, so that instrument stays.
    EXPECT_EQ(score->Staff(1)->Voice(1)->Instrument()->Value(), 74);
    EXPECT_EQ(score->AllInstruments()->Count(), instrumentsBefore + 1);

    // Changing again replaces the trumpet instead of piling up instruments.
    Present("Category=String; Type=Violin; Ok");
    EXPECT_EQ(score->AllInstruments()->Count(), instrumentsBefore + 1);
    EXPECT_FALSE(score->AllInstruments()->Item(trumpet->ID()));

    const std::string file = score->WritePlayFile();
    ASSERT_FALSE(file.empty());
    auto imported = Score::Create();
    ASSERT_TRUE(imported->OpenFile(file));
    std::vector<int32_t> programs;
    for (const auto& track : *imported->AllVoices())
        programs.push_back(track->Instrument()->Value());
    EXPECT_EQ(programs, (std::vector<int32_t>{74, 40, 74}));
}

TEST_F(StaffDialog, AddedVoicesGetInstrumentsOfTheirOwnAndFewerVoicesLeaveTheStaff) {
    auto dialog = Present("updVoices=2; Cancel");
    EXPECT_EQ(dialog->Find("cboVoice")->Items.size(), 3u);
    EXPECT_EQ(Text(*dialog, "txtVoices"), "3");

    Present(
        "updVoices=2; cboVoice=1; Category=Guitar; Type=Acoustic Bass; Ok");  // the second entry
    const auto staff = score->Staff(2);
    ASSERT_EQ(staff->Voices(), 3);
    std::set<std::string> ids;
    for (int32_t v = 1; v <= 3; ++v) ids.insert(staff->Voice(v)->InstrumentID());
    EXPECT_EQ(ids.size(), 3u);
    EXPECT_EQ(staff->Voice(2)->Description(), "Acoustic Bass");
    EXPECT_EQ(staff->Voice(3)->Description(), "Recorder");  // "[Add]" is not kept

    const int32_t voicesBefore = score->AllVoices()->Count();
    Present("txtVoices=1; Ok");
    EXPECT_EQ(staff->Voices(), 1);
    EXPECT_EQ(score->AllVoices()->Count(), voicesBefore - 2);
    EXPECT_EQ(score->AllInstruments()->Count(), 1);
}

TEST_F(StaffDialog, OneOkIsOneUndoStep) {
    const std::string before = ToJson(*score);
    Answer("Description=Brass; Height=50; Category=Brass; Type=Trumpet; updVoices=1; Ok");
    score->ShowDialog(dlgStaffProperties);
    const std::string after = ToJson(*score);
    ASSERT_NE(after, before);
    score->Undo();
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_FALSE(score->CanUndo());
    score->Redo();
    EXPECT_EQ(ToJson(*score), after);
}

TEST_F(StaffDialog, AnotherIndexWritesPendingEditsAndLoadsThatStaff) {
    auto dialog = Present("Description=Upper; updIndex=down; Description=Lower; Ok");
    EXPECT_EQ(score->Staff(2)->Description(), "Upper");
    EXPECT_EQ(score->Staff(1)->Description(), "Lower");
    EXPECT_EQ(score->SelectedStaff(), score->Staff(1));
    EXPECT_EQ(Text(*dialog, "txtVoices"), "2");
}

TEST_F(StaffDialog, DrumModeFillsTheChosenSlot) {
    auto dialog = Present("Category=Drums; cboInst=2; Type=Acoustic Snare; Ok");
    EXPECT_EQ(dialog->Find("lblVoice")->Caption, "Inst");
    const auto drums = score->Staff(2)->Voice(1)->Instrument();
    EXPECT_EQ(drums->Category(), catDrums);
    EXPECT_EQ(drums->Channel(), 9);
    EXPECT_EQ(drums->DrumCode(3), 131);
    EXPECT_EQ(drums->DrumValue(3), 38);
}

}  // namespace
}  // namespace corvendi::test
