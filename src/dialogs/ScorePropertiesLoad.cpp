// Loading the Score Properties form from its score (Init), one group of controls at a time.
#include <algorithm>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Score.h"
#include "corvendi/dialogs/ScorePropertiesDialog.h"
#include "dialogs/ScorePropertiesForm.h"

namespace corvendi {

using namespace score_form;

void ScorePropertiesDialog::Init(Score& score) {
    mScore = &score;
    SetReady(false);
    LoadFonts();
    LoadPage();
    LoadKey();
    LoadNumbering();
    LoadTime();
    LoadSpacing();
    LoadTexts();
    LoadTempo();
    LoadChords();
    SetReady(true);
    mDirty = false;
    At("cmdApply").Enabled = false;
}

// Italic is not taken over: the font chooser sets it afresh.
void ScorePropertiesDialog::LoadFonts() {
    for (int32_t i = 0; i < kWorkingFonts; ++i) {
        const auto font = mScore->Fonts(i);
        if (!font) continue;
        Font& working = mFonts[static_cast<size_t>(i)];
        working.SetName(font->Name());
        working.SetSize(font->Size());
        working.SetBold(font->Bold());
        working.SetUnderline(font->Underline());
    }
}

void ScorePropertiesDialog::LoadPage() {
    Click(mScore->PageOrientation() == pgeLandscape ? "optPage(1)" : "optPage(0)");
    SelectItem("cboPage", std::clamp(mScore->PageSize(), 0, static_cast<int32_t>(pgsCustom)));
    if (mScore->PageSize() == pgsCustom) {
        ShowLength("txtPage(0)", mScore->PageWidth());
        ShowLength("txtPage(1)", mScore->PageHeight());
    }
}

// Both lists show the score's key, so switching between major and minor keeps the signature.
void ScorePropertiesDialog::LoadKey() {
    if (At("chkMajMin").Value != mScore->Minor()) Click("chkMajMin");
    const int32_t entry = std::clamp(mScore->Key(), -7, 7) + kKeyListOffset;
    At("cboMajor").ListIndex = entry;
    At("cboMinor").ListIndex = entry;
}

void ScorePropertiesDialog::LoadNumbering() {
    // The options are set while enabled, then follow the check box.
    NumberingSwitched(true);
    if (mScore->NumberMeasuresBy() > 0) {
        Click("optNumber(0)");
        SetNumber("txtNumber", mScore->NumberMeasuresBy());
    } else {
        Click("optNumber(1)");
    }
    Click(Indexed("optPos", std::clamp(mScore->NumberPos(), 0, kNumberPositions - 1)));
    At("chkNumber").Value = mScore->NumberMeasures();
    NumberingSwitched(mScore->NumberMeasures());
    At("chkPage(0)").Value = mScore->PageNums() != pgnNoPageNumbers;
    At("chkPage(1)").Value = mScore->PageNums() == pgnNoPageOne;
}

void ScorePropertiesDialog::LoadTime() {
    const auto globals = mScore->AllGlobals();
    mTimeValue = globals->DftTimeVal();
    const auto* tag = std::find(kTimeTags.begin(), kTimeTags.end(), mTimeValue);
    const int32_t option =
        tag == kTimeTags.end() ? kFreeTimeOption : static_cast<int32_t>(tag - kTimeTags.begin());
    Click(Indexed("optTime", option));
    if (option == kFreeTimeOption) {
        At("txtTime(0)").Text = std::to_string(IDiv(mTimeValue, 128));
        At("txtTime(1)").Text = std::to_string(BeatNoteOfLength(IMod(mTimeValue, 128)));
    }
    const int32_t firstMeasure = globals->MeasureInfo(0).Duration;
    At("txtPulse").Text = std::to_string(IDiv(firstMeasure, globals->PulseValue()));
}

void ScorePropertiesDialog::LoadSpacing() {
    for (int32_t i = 0; i < kMarginCount; ++i) {
        ShowLength(Indexed("txtMargin", i), mScore->Margins(i));
    }
    ShowLength("txtDimension(0)", mScore->StaffHeight());
    ShowLength("txtDimension(1)", mScore->StaffSpace());
    ShowLength("txtDimension(2)", mScore->SystemSpace());
    At("chkReverse").Value = mScore->ReverseEvenOdd();
}

void ScorePropertiesDialog::LoadTexts() {
    At("txtTitle(0)").Text = mScore->Title();
    At("txtTitle(1)").Text = mScore->SubTitle();
    At("txtHeading").Text = mScore->Heading();
    At("txtComposer(0)").Text = mScore->Composer();
    At("txtComposer(1)").Text = mScore->ArrangedBy();
    At("txtCopyright(0)").Text = mScore->Copyright(0);
    At("txtCopyright(1)").Text = mScore->Copyright(1);
}

void ScorePropertiesDialog::LoadTempo() {
    At("pctTempo").Text = TempoTagOfBeat(mScore->Beat());
    At("txtTempo").Text = std::to_string(mScore->Count());
    At("chkTempo").Value = mScore->Metronome();
}

void ScorePropertiesDialog::LoadChords() {
    At("chkChords(0)").Value = mScore->UseChords();
    At("chkChords(1)").Value = mScore->UseChordMaps();
    At("chkCapo").Value = mScore->UseCapo();
    At("txtCapo").Text = mScore->UseCapo() ? std::to_string(mScore->Capo()) : std::string();
    CapoSwitched(mScore->UseCapo());
    LoadChordMapper();
}

}  // namespace corvendi
