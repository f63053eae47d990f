// The Score Properties form: its controls and change handlers.
#include "corvendi/dialogs/ScorePropertiesDialog.h"

#include <string>
#include <utility>
#include <vector>

#include "common/NumberText.h"
#include "corvendi/Platform.h"
#include "dialogs/ScorePropertiesForm.h"
#include "dialogs/SharedRows.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

using namespace score_form;

DialogControl Kind(DialogControl control, ControlKind kind) {
    control.Kind = kind;
    return control;
}

DialogControl Frame(std::string name, std::string caption) {
    return Kind(LabelControl(std::move(name), std::move(caption)), ControlKind::Frame);
}

DialogControl Check(std::string name, std::string caption, std::string frame = {}) {
    return Kind(LabelControl(std::move(name), std::move(caption), std::move(frame)),
                ControlKind::CheckBox);
}

DialogControl Picture(std::string name, std::string tag, std::string frame) {
    DialogControl picture =
        Kind(LabelControl(std::move(name), "", std::move(frame)), ControlKind::Picture);
    picture.Text = std::move(tag);
    return picture;
}

DialogControl Hidden(DialogControl control) {
    control.Visible = false;
    return control;
}

DialogControl Text(std::string name, std::string label, std::string frame) {
    return TextBoxControl(std::move(name), std::move(label), std::move(frame));
}

DialogControl Option(std::string name, std::string caption, std::string group, std::string frame) {
    DialogControl option = OptionControl(std::move(name), std::move(caption), std::move(group));
    option.Frame = std::move(frame);
    return option;
}

DialogControl FramedButton(std::string name, std::string caption, std::string frame) {
    DialogControl button = ButtonControl(std::move(name), std::move(caption));
    button.Frame = std::move(frame);
    return button;
}

DialogControl FontButton(int32_t index, std::string frame) {
    return FramedButton(Indexed("cmdFont", index), "Font", std::move(frame));
}

std::vector<ListItem> Items(const std::vector<std::string>& texts) {
    std::vector<ListItem> items;
    int32_t data = 0;
    for (const auto& text : texts) items.push_back({text, data++});
    return items;
}

std::vector<DialogControl> OnTab(std::string tab, std::vector<DialogControl> controls) {
    for (auto& control : controls) control.Tab = tab;
    return controls;
}

std::vector<DialogControl> TimeFrame() {
    std::vector<DialogControl> controls{Frame("fmeTime", "Time Signature")};
    for (int32_t i = 0; i < kTimeOptions; ++i) {
        DialogControl option = Option(Indexed("optTime", i), kTimeCaptions[static_cast<size_t>(i)],
                                      "optTime", "fmeTime");
        option.Text = std::to_string(kTimeTags[static_cast<size_t>(i)]);
        controls.push_back(std::move(option));
    }
    controls.push_back(Text("txtTime(0)", "", "fmeTime"));
    controls.push_back(Text("txtTime(1)", "", "fmeTime"));
    controls.push_back(LabelControl("lblPulse", "Pulse:", "fmeTime"));
    controls.push_back(Text("txtPulse", "Pulse:", "fmeTime"));
    return controls;
}

std::vector<DialogControl> KeyFrame() {
    return {Frame("fmeKey", ""), Check("chkMajMin", "Major", "fmeKey"),
            ListControl("cboMajor", "", Items(MajorKeys()), "fmeKey"),
            Hidden(ListControl("cboMinor", "", Items(MinorKeys()), "fmeKey"))};
}

std::vector<DialogControl> HeadingFrame() {
    return {Frame("fmeHeading", ""),
            Text("txtHeading", "", "fmeHeading"),
            FontButton(fntHeader, "fmeHeading"),
            Check("chkTempo", "", "fmeHeading"),
            LabelControl("lblTempo", "Tempo:", "fmeHeading"),
            Picture("pctTempo", "q", "fmeHeading"),
            LabelControl("lblEquals", "=", "fmeHeading"),
            Text("txtTempo", "Tempo:", "fmeHeading")};
}

std::vector<DialogControl> NumberingFrame() {
    std::vector<DialogControl> controls{
        Frame("fmeNumbering", "Numbering"),
        Check("chkNumber", "Number Measures", "fmeNumbering"),
        Option("optNumber(0)", "Every", "optNumber", "fmeNumbering"),
        Text("txtNumber", "Every", "fmeNumbering"),
        UpDownControl("updNumber", "txtNumber", 1, kMostMeasuresPerNumber, "fmeNumbering"),
        Option("optNumber(1)", "First on each line", "optNumber", "fmeNumbering")};
    for (int32_t i = 0; i < kNumberPositions; ++i) {
        controls.push_back(Option(Indexed("optPos", i), "", "optPos", "fmeNumbering"));
    }
    controls.push_back(Picture("pctNumber", "0", "fmeNumbering"));
    return controls;
}

std::vector<DialogControl> CopyrightFrame() {
    return {Frame("fmeCopyright", "Copyright"), Text("txtCopyright(0)", "", "fmeCopyright"),
            Text("txtCopyright(1)", "", "fmeCopyright"), FontButton(fntCopyright, "fmeCopyright")};
}

std::vector<DialogControl> TitlesTab() {
    return {Frame("fmeTitle", "Title"),
            Text("txtTitle(0)", "", "fmeTitle"),
            FontButton(fntTitle, "fmeTitle"),
            Text("txtTitle(1)", "", "fmeTitle"),
            FontButton(fntSubTitle, "fmeTitle"),
            Frame("fmeComposer", "Composer"),
            Text("txtComposer(0)", "", "fmeComposer"),
            Text("txtComposer(1)", "", "fmeComposer"),
            FontButton(fntComposer, "fmeComposer")};
}

std::vector<DialogControl> DimensionsTab() {
    std::vector<DialogControl> controls{
        Frame("fmePage", "Page"),
        ListControl("cboPage", "Size:", Items(PageSizeTexts()), "fmePage"),
        Text("txtPage(0)", "Width:", "fmePage"),
        Text("txtPage(1)", "Height:", "fmePage"),
        Option("optPage(0)", "Portrait", "optPage", "fmePage"),
        Option("optPage(1)", "Landscape", "optPage", "fmePage"),
        Picture("imgPage(0)", "portrait", "fmePage"),
        Hidden(Picture("imgPage(1)", "landscape", "fmePage")),
        Frame("fmeMargins", "Margins")};
    for (int32_t i = 0; i < kMarginCount; ++i) {
        controls.push_back(
            Text(Indexed("txtMargin", i), kMarginLabels[static_cast<size_t>(i)], "fmeMargins"));
    }
    controls.push_back(Check("chkPage(0)", "Print page numbers", "fmeMargins"));
    controls.push_back(Check("chkPage(1)", "Except first page", "fmeMargins"));
    controls.push_back(Check("chkReverse", "Reverse even/odd pages", "fmeMargins"));
    controls.push_back(Frame("fmeDimensions", ""));
    for (int32_t i = 0; i < kDimensionCount; ++i) {
        controls.push_back(Text(Indexed("txtDimension", i),
                                kDimensionLabels[static_cast<size_t>(i)], "fmeDimensions"));
    }
    return controls;
}

// The chord mapper: a chord chosen from the list shows its fingering, which can be typed over,
// removed, or reverted with every other change to what the chord data file says.
std::vector<DialogControl> ChordMapperFrame() {
    return {Frame("fmeMapper", "Chord Mapper"),
            ListControl("cboChord", "Chord:", {}, "fmeMapper"),
            Text("txtFrets", "Fingering:", "fmeMapper"),
            LabelControl("lblFrets", kFretsHint, "fmeMapper"),
            FramedButton("cmdRemove", "&Remove", "fmeMapper"),
            FramedButton("cmdRevert", "Re&vert", "fmeMapper")};
}

std::vector<DialogControl> ChordsTab() {
    std::vector<DialogControl> controls{Check("chkChords(0)", "Show Chords on Score"),
                                        Check("chkChords(1)", "Use Guitar Symbols")};
    for (auto& control : ChordMapperFrame()) controls.push_back(std::move(control));
    controls.push_back(Check("chkCapo", "Capo"));
    controls.push_back(Text("txtCapo", "Capo", ""));
    return controls;
}

}  // namespace

ScorePropertiesDialog::ScorePropertiesDialog()
    : Dialog(std::string(kFormName), "Score Properties") {
    SetSize(kFormWidth, kFormHeight);
    DialogControl tabs = LabelControl("tabMain", "");
    tabs.Kind = ControlKind::Tabs;
    tabs.Items = Items({"&General", "&Titles", "&Dimensions", "&Chords"});
    tabs.ListIndex = 0;
    Add(std::move(tabs));
    for (auto* part : {&TimeFrame, &KeyFrame, &HeadingFrame, &NumberingFrame, &CopyrightFrame}) {
        Add(OnTab("&General", part()));
    }
    Add(OnTab("&Titles", TitlesTab()));
    Add(OnTab("&Dimensions", DimensionsTab()));
    Add(OnTab("&Chords", ChordsTab()));
    Add(OkCancel());
    DialogControl apply = ButtonControl("cmdApply", "&Apply");
    apply.Enabled = false;
    Add(std::move(apply));
}

const Font& ScorePropertiesDialog::WorkingFont(int32_t index) const {
    return mFonts[static_cast<size_t>(InRange(index, 0, kWorkingFonts - 1) ? index : 0)];
}

// --- change handlers ---------------------------------------------------------------------------

void ScorePropertiesDialog::OnListChanged(DialogControl& list) {
    if (list.Kind == ControlKind::Tabs) return;
    // Choosing a chord only shows its fingering.
    if (list.Name == "cboChord") {
        ShowChosenFingering();
        return;
    }
    if (list.Name == "cboPage") PageSizeChosen(list.ListIndex);
    MarkDirty();
}

void ScorePropertiesDialog::OnClick(DialogControl& control) {
    const std::string& name = control.Name;
    if (name == "cmdApply") {
        Apply();
        return;
    }
    if (name.starts_with("cmdFont(")) {
        FontChosen(IndexOf(name));
        return;
    }
    if (name == "cmdRemove") {
        FingeringRemoved();
        return;
    }
    if (name == "cmdRevert") {
        FingeringsReverted();
        return;
    }
    if (name.starts_with("optPage(")) OrientationChosen(IndexOf(name) == 1);
    if (name.starts_with("optTime(")) TimeChosen(IndexOf(name) == kFreeTimeOption);
    if (name.starts_with("optPos(")) At("pctNumber").Text = std::to_string(IndexOf(name));
    if (name == "chkMajMin") ModeSwitched(control.Value);
    if (name == "chkNumber") NumberingSwitched(control.Value);
    if (name == "pctTempo") TempoNoteCycled();
    if (name == "chkCapo") CapoSwitched(control.Value);
    MarkDirty();
}

void ScorePropertiesDialog::OnTextChanged(DialogControl& /*textBox*/) { MarkDirty(); }

void ScorePropertiesDialog::OnTextCommitted(DialogControl& textBox) {
    if (textBox.Name == "txtFrets") FretsTyped();
}

void ScorePropertiesDialog::MarkDirty() {
    if (!Ready()) return;
    mDirty = true;
    At("cmdApply").Enabled = true;
}

// A named size fills both boxes from the numbers in its list text and locks them.
void ScorePropertiesDialog::PageSizeChosen(int32_t size) {
    const bool custom = size == pgsCustom || size < 0;
    At("txtPage(0)").Locked = !custom;
    At("txtPage(1)").Locked = !custom;
    if (custom) return;
    auto [width, height] = PaperInches(PageSizeTexts()[static_cast<size_t>(size)]);
    if (At("optPage(1)").Value) std::swap(width, height);
    ShowLength("txtPage(0)", width);
    ShowLength("txtPage(1)", height);
}

// Choosing the orientation already shown changes nothing.
void ScorePropertiesDialog::OrientationChosen(bool landscape) {
    if (At("imgPage(1)").Visible == landscape) return;
    std::swap(At("txtPage(0)").Text, At("txtPage(1)").Text);
    At("imgPage(0)").Visible = !landscape;
    At("imgPage(1)").Visible = landscape;
}

void ScorePropertiesDialog::TimeChosen(bool free) {
    for (const char* box : {"txtTime(0)", "txtTime(1)"}) {
        At(box).Locked = !free;
        if (!free) At(box).Text.clear();
    }
}

void ScorePropertiesDialog::ModeSwitched(bool minor) {
    At("chkMajMin").Caption = minor ? "Minor" : "Major";
    At("cboMajor").Visible = !minor;
    At("cboMinor").Visible = minor;
}

void ScorePropertiesDialog::NumberingSwitched(bool on) {
    for (auto& control : Controls()) {
        const std::string& name = control.Name;
        if (name.starts_with("optNumber(") || name.starts_with("optPos(") || name == "txtNumber" ||
            name == "updNumber") {
            At(name).Enabled = on;
        }
    }
}

void ScorePropertiesDialog::TempoNoteCycled() {
    std::string& tag = At("pctTempo").Text;
    tag = NextTempoTag(tag);
}

void ScorePropertiesDialog::CapoSwitched(bool on) { At("txtCapo").Locked = !on; }

void ScorePropertiesDialog::FontChosen(int32_t index) {
    if (!InRange(index, 0, kWorkingFonts - 1)) return;
    if (CurrentPlatform().ChooseFont(mFonts[static_cast<size_t>(index)])) MarkDirty();
}

void ScorePropertiesDialog::ShowLength(std::string_view textBox, float inches) {
    At(textBox).Text = FormatMeasure(Process().gUOM, inches, uomInches);
}

}  // namespace corvendi
