#include "corvendi/dialogs/MeasurePropertiesDialog.h"

#include <algorithm>
#include <array>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "dialogs/ScorePropertiesForm.h"
#include "dialogs/SharedRows.h"
#include "dialogs/TimeAndKeyRows.h"
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

using score_form::kKeyListOffset;
using score_form::kTimeOptions;

namespace {

// Window geometry in twips.
constexpr int32_t kFormWidth = 7920;
constexpr int32_t kFormHeight = 5400;

const char* const kGeneral = "&General";
const char* const kChanges = "&Changes";

constexpr int32_t kHighestMeasure = 99999;
constexpr int32_t kBarBoxes = 4;
constexpr std::array<int32_t, kBarBoxes> kBarEvents{evtRepeatBegin, evtRepeatEnd, evtSectionEnd,
                                                    evtScoreEnd};
// The section marks as MeasureFlags carries them: 16 x the SectionTypes value, of which the
// measure dialog shows all but the repeat-measure and pickup marks.
constexpr int32_t kSectionShift = 4;
constexpr int32_t kShownSections = 0x33F;
constexpr int32_t kEndingBits = sctEnding1 | sctEnding2;
constexpr int32_t kTimeUnit = 128;

// The Miscellaneous options that cannot go together: a multi-measure rest, a measure repeat
// and a pickup measure each say how long the measure is and what it holds.
constexpr int32_t kEnding = 0;
constexpr int32_t kRest = 1;
constexpr int32_t kFirstExclusiveMisc = 1;
constexpr int32_t kMiscBoxes = 4;

std::string Indexed(const char* name, int32_t index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The box of a Miscellaneous option that has one.
const char* BoxOfMisc(int32_t index) {
    if (index == kEnding) return "txtEnding";
    if (index == kRest) return "txtRest";
    return nullptr;
}

}  // namespace

MeasurePropertiesDialog::MeasurePropertiesDialog()
    : Dialog(std::string(kFormName), "Measure Properties") {
    DialogControl tabs = ListControl("tabMeasure", "", TextItems({kGeneral, kChanges}));
    tabs.Kind = ControlKind::Tabs;
    tabs.ListIndex = 0;
    Add(std::move(tabs));

    std::vector<DialogControl> c;
    AddOnTab(c, Labelled("&Staff", TextBoxControl("txtIndex", "")), kGeneral);
    AddOnTab(c, {UpDownControl("updIndex", "txtIndex", 1, 1)}, kGeneral);
    DialogControl description = TextBoxControl("txtDescription", "");
    description.Locked = true;  // shown for orientation; the staff dialog edits it
    AddOnTab(c, Labelled("Description", std::move(description)), kGeneral);
    AddOnTab(c, Labelled("&Number", TextBoxControl("txtNumber", "")), kGeneral);
    AddOnTab(
        c,
        {UpDownControl("updNumber", "txtNumber", 1, kHighestMeasure),
         FrameControl("fmeBars", "&Bars"), CheckBoxControl("chkBars(0)", "Begin Repeat", "fmeBars"),
         CheckBoxControl("chkBars(1)", "End Repeat", "fmeBars"),
         CheckBoxControl("chkBars(2)", "End Section", "fmeBars"),
         CheckBoxControl("chkBars(3)", "End Score", "fmeBars"),
         FrameControl("fmeSections", "Sectio&ns"),
         CheckBoxControl("chkSection(0)", "Coda", "fmeSections"),
         CheckBoxControl("chkSection(1)", "Segundo", "fmeSections"),
         CheckBoxControl("chkSection(2)", "To Coda", "fmeSections"),
         CheckBoxControl("chkSection(3)", "To Segundo", "fmeSections"),
         FrameControl("fmeMisc", "&Miscellaneous"),
         CheckBoxControl("chkMisc(0)", "Ending", "fmeMisc"),
         TextBoxControl("txtEnding", "", "fmeMisc"),
         CheckBoxControl("chkMisc(1)", "Multi-measure rest", "fmeMisc"),
         TextBoxControl("txtRest", "", "fmeMisc"),
         CheckBoxControl("chkMisc(2)", "Measure repeat", "fmeMisc"),
         CheckBoxControl("chkMisc(3)", "Pickup/Short measure", "fmeMisc")},
        kGeneral);

    AddOnTab(c, {FrameControl("fmeTime", "&Time Signature")}, kChanges);
    AddOnTab(c, TimeSignatureControls("fmeTime", kChanges), kChanges);
    AddOnTab(c, Labelled("Pulse:", TextBoxControl("txtPulse", "", "fmeTime")), kChanges);
    DialogControl clearTime = ButtonControl("cmdClearRest", "Clear");
    clearTime.Frame = "fmeTime";
    DialogControl major = ListControl("cboMajor", "", MajorKeyItems(), "fmeKey");
    DialogControl minor = ListControl("cboMinor", "", MinorKeyItems(), "fmeKey");
    minor.Visible = false;
    DialogControl clearKey = ButtonControl("cmdClear", "Clear");
    clearKey.Frame = "fmeKey";
    AddOnTab(c,
             {std::move(clearTime), FrameControl("fmeKey", "&Key"),
              CheckBoxControl("chkMajMin", "Major", "fmeKey"), std::move(major), std::move(minor),
              std::move(clearKey), FrameControl("fmeOther", "&Miscellaneous")},
             kChanges);
    AddOnTab(
        c,
        Labelled("Cle&f", ListControl("cboClef", "",
                                      TextItems({"Percussion", "Treble", "Bass", "Alto", "Tenor"}),
                                      "fmeOther")),
        kChanges);
    AddOnTab(c, Labelled("&Position at", TextBoxControl("txtClef", "", "fmeOther")), kChanges);
    AddOnTab(c,
             {CheckBoxControl("chkOther(0)", "Raise Octave", "fmeOther"),
              CheckBoxControl("chkOther(1)", "Lower Octave", "fmeOther")},
             kChanges);
    Add(std::move(c));

    Add(OkCancel());
    DialogControl apply = ButtonControl("cmdApply", "&Apply");
    apply.Enabled = false;
    Add(std::move(apply));
    SetNumberRule("txtNumber", NumberRule::AtLeastOne);
    SetSize(kFormWidth, kFormHeight);
}

// --- loading -----------------------------------------------------------------------------------

void MeasurePropertiesDialog::Init(Score& score) {
    mScore = &score;
    mMeasure = score.SelectedMeasure();
    mStaff = score.SelectedStaff();
    if (!mStaff) mStaff = score.Staff(1);
    Load();
}

void MeasurePropertiesDialog::Load() {
    SetReady(false);
    mStart = mScore && mScore->AllGlobals() ? mScore->AllGlobals()->MeasureTime(mMeasure) : 0;
    SetNumber("txtNumber", mMeasure);
    if (mStaff && mScore) {
        At("updIndex").Max = std::max(mScore->Staffs(), 1);
        SetNumber("txtIndex", mStaff->Index());
        At("txtDescription").Text = mStaff->Description();
        LoadTime();
        LoadKey();
        LoadMarks();
    }
    mDirty = 0;
    At("cmdApply").Enabled = false;
    SetReady(true);
}

void MeasurePropertiesDialog::LoadTime() {
    const ControlLookup at = [this](std::string_view name) -> DialogControl& { return At(name); };
    const auto change = mScore->AllGlobals()->Find(mStart, evtTimeChange, true);
    mLoadedTime.reset();
    if (change) {
        // A symbol signature is common or cut time whatever its second value says.
        const int32_t v1 = change->Value1();
        const int32_t v2 = change->Value2();
        mLoadedTime = v1 == 0 ? (v2 != 0 ? 1 : 0) : v1 * kTimeUnit + v2;
    }
    ShowTimeValue(at, mLoadedTime);
    At("txtPulse").Text = change ? change->Text() : std::string();
    At("cmdClearRest").Caption = "Clear";
    mClearedTimeOption.reset();
}

void MeasurePropertiesDialog::LoadKey() {
    const auto change = mScore->AllGlobals()->Find(mStart, evtKeyChange, true);
    At("chkMajMin").Value = mScore->Minor();
    At("cboMajor").ListIndex = -1;
    At("cboMinor").ListIndex = -1;
    if (change) {
        At(mScore->Minor() ? "cboMinor" : "cboMajor").ListIndex =
            KeyFromByte(change->Value1()) + kKeyListOffset;
    }
    ShowKeyList();
}

void MeasurePropertiesDialog::ShowKeyList() {
    const bool minor = At("chkMajMin").Value;
    At("chkMajMin").Caption = minor ? "Minor" : "Major";
    At("cboMajor").Visible = !minor;
    At("cboMinor").Visible = minor;
}

// Bars and section marks as the layout reads them (MeasureFlags). An ending with its own text
// shows that text; the jumps to the coda and the segno are read from their own event.
void MeasurePropertiesDialog::LoadMarks() {
    const GlobalEvents& globals = *mScore->AllGlobals();
    const int32_t flags = mScore->MeasureFlags(mStart);
    for (int32_t i = 0; i < kBarBoxes; ++i)
        At(Indexed("chkBars", i)).Value = (flags & (1 << i)) != 0;
    const int32_t sections = (flags >> kSectionShift) & kShownSections;
    const int32_t ending = sections & kEndingBits;
    std::string endingText;
    if (ending == sctEnding1) endingText = "1";
    if (ending == sctEnding2) endingText = "2";
    if (ending == sctEnding) {
        if (const auto define = globals.Find(mStart, evtSectionDefine, true)) {
            endingText = define->Text();
        }
    }
    int32_t jumps = 0;
    if (const auto go = globals.Find(mStart, evtSectionGo, true)) jumps = go->Value1();
    At("chkSection(0)").Value = (sections & sctCoda) != 0;
    At("chkSection(1)").Value = (sections & sctSegundo) != 0;
    At("chkSection(2)").Value = ((sections | jumps) & sctToCoda) != 0;
    At("chkSection(3)").Value = ((sections | jumps) & sctToSegundo) != 0;
    for (int32_t i = 0; i < kMiscBoxes; ++i) {
        At(Indexed("chkMisc", i)).Value = i == kEnding && ending != 0;
        At(Indexed("chkMisc", i)).Enabled = true;
    }
    At("txtEnding").Text = endingText;
    At("txtEnding").Locked = ending == 0;
    At("txtRest").Text.clear();
    At("txtRest").Locked = true;
    At("cboClef").ListIndex = -1;
    At("txtClef").Text.clear();
    At("chkOther(0)").Value = false;
    At("chkOther(1)").Value = false;
}

// --- change handlers ---------------------------------------------------------------------------

void MeasurePropertiesDialog::MarkDirty(Group group) {
    if (!Ready()) return;
    mDirty |= group;
    At("cmdApply").Enabled = true;
}

void MeasurePropertiesDialog::OnListChanged(DialogControl& list) {
    if (list.Name == "cboMajor" || list.Name == "cboMinor") MarkDirty(Key);
    if (list.Name == "cboClef") MarkDirty(Other);
}

void MeasurePropertiesDialog::OnClick(DialogControl& control) {
    const std::string& name = control.Name;
    if (name == "cmdApply") {
        Apply();
    } else if (name.starts_with("chkBars")) {
        MarkDirty(Bars);
    } else if (name.starts_with("chkSection")) {
        MarkDirty(Sections);
    } else if (name.starts_with("chkMisc")) {
        CheckMisc(name[8] - '0');
    } else if (name == "chkMajMin") {
        ShowKeyList();
        MarkDirty(Key);
    } else if (name == "cmdClear") {
        At("cboMajor").ListIndex = -1;
        At("cboMinor").ListIndex = -1;
        MarkDirty(Key);
    } else if (name.starts_with("optTime")) {
        const ControlLookup at = [this](std::string_view n) -> DialogControl& { return At(n); };
        LockFreeTimeEntry(at);
        At("cmdClearRest").Caption = "Clear";
        mClearedTimeOption.reset();
        MarkDirty(Time);
    } else if (name == "cmdClearRest") {
        ClearOrRestoreTime();
        MarkDirty(Time);
    } else if (name.starts_with("chkOther")) {
        // The octave can be raised or lowered, not both.
        if (control.Value) At(name == "chkOther(0)" ? "chkOther(1)" : "chkOther(0)").Value = false;
        MarkDirty(Other);
    }
}

void MeasurePropertiesDialog::CheckMisc(int32_t index) {
    const bool on = At(Indexed("chkMisc", index)).Value;
    if (const char* box = BoxOfMisc(index)) {
        DialogControl& text = At(box);
        text.Locked = !on;
        if (on && text.Text.empty()) text.Text = "1";
    }
    if (index >= kFirstExclusiveMisc) {
        for (int32_t other = kFirstExclusiveMisc; other < kMiscBoxes; ++other) {
            if (other == index) continue;
            DialogControl& box = At(Indexed("chkMisc", other));
            if (on) box.Value = false;
            box.Enabled = !on;
            if (const char* name = BoxOfMisc(other); name && on) At(name).Locked = true;
        }
    }
    MarkDirty(index == kEnding ? Sections : Other);
}

void MeasurePropertiesDialog::ClearOrRestoreTime() {
    const ControlLookup at = [this](std::string_view n) -> DialogControl& { return At(n); };
    DialogControl& button = At("cmdClearRest");
    if (mClearedTimeOption) {
        At(TimeOptionName(*mClearedTimeOption)).Value = true;
        mClearedTimeOption.reset();
        button.Caption = "Clear";
    } else {
        mClearedTimeOption = ChosenTimeOption(at);
        for (int32_t i = 0; i < kTimeOptions; ++i) At(TimeOptionName(i)).Value = false;
        button.Caption = "Restore";
    }
    LockFreeTimeEntry(at);
}

void MeasurePropertiesDialog::OnTextChanged(DialogControl& textBox) {
    const std::string& name = textBox.Name;
    if (name.starts_with("txtTime") || name == "txtPulse") MarkDirty(Time);
    if (name == "txtEnding") MarkDirty(Sections);
    if (name == "txtRest" || name == "txtClef") MarkDirty(Other);
}

// Another staff or measure: pending edits are written first, then the dialog shows that one.
void MeasurePropertiesDialog::OnTextCommitted(DialogControl& textBox) {
    if (!Ready() || !mScore) return;
    if (textBox.Name == "txtIndex") {
        const int32_t current = mStaff ? mStaff->Index() : 1;
        const int32_t wanted =
            std::clamp(WholeNumberIn(textBox.Text).value_or(current), 1, At("updIndex").Max);
        SetNumber("txtIndex", wanted);
        if (wanted != current) MoveTo(wanted, std::nullopt);
    } else if (textBox.Name == "txtNumber") {
        const int32_t wanted = std::min(NumberIn("txtNumber"), kHighestMeasure);
        SetNumber("txtNumber", wanted);
        if (wanted != mMeasure) MoveTo(std::nullopt, wanted);
    }
}

void MeasurePropertiesDialog::MoveTo(std::optional<int32_t> staff, std::optional<int32_t> measure) {
    Apply();
    if (!mScore) return;
    if (staff) {
        if (const auto chosen = mScore->Staff(*staff)) {
            chosen->SetSelected(true);
            mStaff = chosen;
        }
    }
    if (measure) {
        mMeasure = *measure;
        detail::ScoreAccess::SelectedMeasureSet(*mScore, mMeasure);
    }
    Load();
}

// --- writing -----------------------------------------------------------------------------------

void MeasurePropertiesDialog::Apply() {
    if (mDirty == 0 || !Ready() || !mScore || !mScore->AllGlobals()) return;
    WriteToScore();
    mDirty = 0;
    At("cmdApply").Enabled = false;
}

// Everything one "Ok" or "&Apply" writes is one step of the score's undo history.
bool MeasurePropertiesDialog::WriteToScore() {
    detail::EditStep step(*mScore);
    bool wrote = false;
    if (mDirty & Bars) wrote |= WriteBars();
    if (mDirty & Key) wrote |= WriteKey();
    if (mDirty & Sections) {
        wrote |= WriteSectionDefine();
        wrote |= WriteSectionGo();
    }
    if (mDirty & Time) wrote |= WriteTime();
    if (!wrote) return false;
    mScore->SetChanged(true);
    // Repeat signs, keys and time signatures change measure widths and later systems.
    detail::ScoreAccess::StartPagination(*mScore, true);
    mScore->PaintWindow();
    return true;
}

bool MeasurePropertiesDialog::WriteBars() {
    GlobalEvents& globals = *mScore->AllGlobals();
    bool wrote = false;
    for (int32_t i = 0; i < kBarBoxes; ++i) {
        const int32_t type = kBarEvents[static_cast<size_t>(i)];
        const auto existing = globals.Find(mStart, type, true);
        const bool wanted = At(Indexed("chkBars", i)).Value;
        if (wanted && !existing) {
            globals.Add(mStart, type, 0, 0, "");
            wrote = true;
        } else if (!wanted && existing) {
            detail::GlobalEventsAccess::RemoveEvent(globals, existing);
            wrote = true;
        }
    }
    return wrote;
}

bool MeasurePropertiesDialog::WriteKey() {
    GlobalEvents& globals = *mScore->AllGlobals();
    const DialogControl& list = At(At("chkMajMin").Value ? "cboMinor" : "cboMajor");
    auto change = globals.Find(mStart, evtKeyChange, true);
    if (list.ListIndex < 0) {
        if (!change) return false;
        detail::GlobalEventsAccess::RemoveEvent(globals, change);
        return true;
    }
    if (!change) change = globals.Add(mStart, evtKeyChange, 0, 0, "");
    change->SetValue1(ByteFromKey(list.ListIndex - kKeyListOffset));
    return true;
}

// An ending, a coda and a segno share the measure's section event, each with its own bit.
bool MeasurePropertiesDialog::WriteSectionDefine() {
    GlobalEvents& globals = *mScore->AllGlobals();
    auto define = globals.Find(mStart, evtSectionDefine, true);
    const bool ending = At("chkMisc(0)").Value;
    const bool coda = At("chkSection(0)").Value;
    const bool segno = At("chkSection(1)").Value;
    if (!ending && !coda && !segno) {
        if (!define) return false;
        detail::GlobalEventsAccess::RemoveEvent(globals, define);
        return true;
    }
    int32_t value = 0;
    std::string text;
    if (ending) {
        const std::string label = Trimmed(At("txtEnding").Text);
        if (label == "1") {
            value = sctEnding1;
        } else if (label == "2") {
            value = sctEnding2;
        } else {
            value = sctEnding;
            text = label;
        }
    }
    if (coda) value |= sctCoda;
    if (segno) value |= sctSegundo;
    if (!define) define = globals.Add(mStart, evtSectionDefine, 0, 0, "");
    define->SetValue1(static_cast<uint8_t>(value));
    define->SetValue2(0);
    define->SetText(std::move(text));
    return true;
}

bool MeasurePropertiesDialog::WriteSectionGo() {
    GlobalEvents& globals = *mScore->AllGlobals();
    auto go = globals.Find(mStart, evtSectionGo, true);
    const bool toCoda = At("chkSection(2)").Value;
    const bool toSegno = At("chkSection(3)").Value;
    if (!toCoda && !toSegno) {
        if (!go) return false;
        detail::GlobalEventsAccess::RemoveEvent(globals, go);
        return true;
    }
    if (!go) go = globals.Add(mStart, evtSectionGo, 0, 0, "");
    go->SetValue1(static_cast<uint8_t>(toCoda ? sctToCoda : sctToSegundo));
    go->SetValue2(0);
    go->SetText("");
    return true;
}

bool MeasurePropertiesDialog::WriteTime() {
    GlobalEvents& globals = *mScore->AllGlobals();
    const ControlLookup at = [this](std::string_view n) -> DialogControl& { return At(n); };
    auto change = globals.Find(mStart, evtTimeChange, true);
    const std::optional<int32_t> value = ReadTimeValue(at);
    if (!value) {
        mLoadedTime.reset();
        if (!change) return false;
        detail::GlobalEventsAccess::RemoveEvent(globals, change);
        return true;
    }
    if (value == mLoadedTime) return false;
    if (!change) change = globals.Add(mStart, evtTimeChange, 0, 0, "");
    const bool counted = *value >= kTimeUnit;
    change->SetValue1(static_cast<uint8_t>(counted ? *value / kTimeUnit : 0));
    change->SetValue2(static_cast<uint8_t>(counted ? *value % kTimeUnit : *value));
    change->SetText(std::to_string(ReadPulses(At("txtPulse"))));
    mLoadedTime = value;
    return true;
}

}  // namespace corvendi
