// Writing the Score Properties form back to its score ("Ok" and "&Apply"), one group of
// controls at a time, in the order the settings depend on each other: the orientation before
// the page size, the chord display before the capo.
#include <algorithm>
#include <cmath>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Score.h"
#include "corvendi/dialogs/ScorePropertiesDialog.h"
#include "dialogs/ScorePropertiesForm.h"
#include "dialogs/TimeAndKeyRows.h"
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"

namespace corvendi {

using namespace score_form;

namespace {

// A text a unit parse can read at all: a number, possibly signed, at its start.
bool StartsWithNumber(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return false;
    text.remove_prefix(first);
    if (text.front() == '+' || text.front() == '-') text.remove_prefix(1);
    if (!text.empty() && text.front() == '.') text.remove_prefix(1);
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

int32_t CountIn(const DialogControl& box) { return NInt(LeadingNumber(box.Text)); }

}  // namespace

void ScorePropertiesDialog::Apply() {
    if (!mScore || !mDirty || !Ready()) return;
    WriteToScore();
    mDirty = false;
    At("cmdApply").Enabled = false;
}

// Everything one "Ok" or "&Apply" writes is one step of the score's undo history.
void ScorePropertiesDialog::WriteToScore() {
    detail::EditStep step(*mScore);
    WriteFonts();
    WritePage();
    WriteSpacing();
    WriteTexts();
    WriteTempo();
    WriteKey();
    WriteNumbering();
    WriteTime();
    WritePulse();
    WriteChords();
    mScore->SetChanged(true);
    detail::ScoreAccess::StartPagination(*mScore);
    mScore->PaintWindow();
}

void ScorePropertiesDialog::WriteFonts() {
    for (int32_t i = 0; i < kWorkingFonts; ++i) {
        const auto font = mScore->Fonts(i);
        if (!font) continue;
        const Font& working = mFonts[static_cast<size_t>(i)];
        font->SetName(working.Name());
        font->SetSize(working.Size());
        font->SetBold(working.Bold());
        font->SetUnderline(working.Underline());
    }
}

void ScorePropertiesDialog::WritePage() {
    mScore->SetPageOrientation(At("optPage(1)").Value ? pgeLandscape : pgePortrait);
    const int32_t size = At("cboPage").ListIndex;
    if (size < 0) return;
    mScore->SetPageSize(size);
    if (size != pgsCustom) return;
    Score& score = *mScore;
    WriteLength("txtPage(0)", score.PageWidth(), 0.01f,
                [&score](float inches) { score.SetPageWidth(inches); });
    WriteLength("txtPage(1)", score.PageHeight(), 0.01f,
                [&score](float inches) { score.SetPageHeight(inches); });
}

void ScorePropertiesDialog::WriteSpacing() {
    Score& score = *mScore;
    for (int32_t i = 0; i < kMarginCount; ++i) {
        WriteLength(Indexed("txtMargin", i), score.Margins(i), 0.0f,
                    [&score, i](float inches) { score.SetMargins(i, inches); });
    }
    WriteLength("txtDimension(0)", score.StaffHeight(), 0.01f,
                [&score](float inches) { score.SetStaffHeight(inches); });
    WriteLength("txtDimension(1)", score.StaffSpace(), 0.0f,
                [&score](float inches) { score.SetStaffSpace(inches); });
    WriteLength("txtDimension(2)", score.SystemSpace(), 0.0f,
                [&score](float inches) { score.SetSystemSpace(inches); });
    score.SetReverseEvenOdd(At("chkReverse").Value);
}

template <class Setter>
void ScorePropertiesDialog::WriteLength(std::string_view textBox, float current, float least,
                                        Setter set) {
    const std::string& text = At(textBox).Text;
    const float inches = StartsWithNumber(text) ? ParseMeasure(uomInches, text) : NAN;
    if (std::isfinite(inches) && inches >= least && inches <= kLongestLengthIn) {
        set(inches);
    } else {
        ShowLength(textBox, current);
    }
}

void ScorePropertiesDialog::WriteTexts() {
    mScore->SetTitle(At("txtTitle(0)").Text);
    mScore->SetSubTitle(At("txtTitle(1)").Text);
    mScore->SetHeading(At("txtHeading").Text);
    mScore->SetComposer(At("txtComposer(0)").Text);
    mScore->SetArrangedBy(At("txtComposer(1)").Text);
    mScore->SetCopyright(0, At("txtCopyright(0)").Text);
    mScore->SetCopyright(1, At("txtCopyright(1)").Text);
}

void ScorePropertiesDialog::WriteTempo() {
    mScore->SetBeat(BeatOfTempoTag(At("pctTempo").Text));
    mScore->SetCount(CountIn(At("txtTempo")));
    mScore->SetMetronome(At("chkTempo").Value);
}

void ScorePropertiesDialog::WriteKey() {
    const bool minor = At("chkMajMin").Value;
    mScore->SetMinor(minor);
    const int32_t entry = At(minor ? "cboMinor" : "cboMajor").ListIndex;
    if (entry >= 0) mScore->SetKey(entry - kKeyListOffset);
}

void ScorePropertiesDialog::WriteNumbering() {
    const bool on = At("chkNumber").Value;
    mScore->SetNumberMeasures(on);
    if (on) {
        mScore->SetNumberMeasuresBy(At("optNumber(0)").Value ? std::max(CountIn(At("txtNumber")), 1)
                                                             : 0);
        for (int32_t i = 0; i < kNumberPositions; ++i) {
            if (At(Indexed("optPos", i)).Value) mScore->SetNumberPos(i);
        }
    }
    int32_t pageNumbers = pgnNoPageNumbers;
    if (At("chkPage(0)").Value) pageNumbers = At("chkPage(1)").Value ? pgnNoPageOne : pgnAllPages;
    mScore->SetPageNums(pageNumbers);
}

// The free entry's corrections (a beat note and a number of beats the dialog does not offer
// become a quarter and four beats, and their boxes say so) are the shared time rows'.
void ScorePropertiesDialog::WriteTime() {
    const ControlLookup at = [this](std::string_view n) -> DialogControl& { return At(n); };
    const int32_t value = ReadTimeValue(at).value_or(0);
    if (value != mTimeValue) mScore->AllGlobals()->SetDftTimeVal(value);
    mTimeValue = value;
}

void ScorePropertiesDialog::WritePulse() {
    const int32_t pulses = ReadPulses(At("txtPulse"));
    const auto globals = mScore->AllGlobals();
    globals->SetPulseValue(IDiv(globals->MeasureInfo(0).Duration, pulses));
}

void ScorePropertiesDialog::WriteChords() {
    mChordEditor.Commit();
    const bool chords = At("chkChords(0)").Value;
    mScore->SetUseChords(chords);
    if (chords) mScore->SetUseChordMaps(At("chkChords(1)").Value);
    const bool capo = At("chkCapo").Value;
    mScore->SetUseCapo(capo);
    if (!capo) return;
    const int32_t fret = CountIn(At("txtCapo"));
    mScore->SetCapo(fret);
    if (fret == 0) mScore->SetUseCapo(false);
}

}  // namespace corvendi
