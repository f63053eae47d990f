#include "corvendi/dialogs/StaffPropertiesDialog.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "corvendi/Enums.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "dialogs/SharedRows.h"
#include "dialogs/TimeAndKeyRows.h"
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

// Window geometry in twips.
constexpr int32_t kFormWidth = 6600;
constexpr int32_t kFormHeight = 5400;

constexpr int32_t kFlagBoxes = 5;
constexpr int32_t kMinHeight = 25;
constexpr int32_t kMaxHeight = 100;
constexpr int32_t kMaxKeySteps = 7;
constexpr int32_t kMaxSemitones = 12;
// A drum map transposes by whatever its slots need.
constexpr int32_t kMaxDrumOffset = 32767;
constexpr int32_t kHighestPitch = 127;
// Catalogue entries from here on are single drum sounds.
constexpr int32_t kFirstDrumSound = 128;

const char* const kGeneral = "General";
const char* const kInstruments = "Instruments";

std::string FlagBoxName(int32_t bit) { return "chkDefault(" + std::to_string(bit) + ")"; }

std::vector<ListItem> NumberedItems(int32_t count) {
    std::vector<ListItem> items;
    for (int32_t i = 1; i <= count; ++i) items.push_back({std::to_string(i), i});
    return items;
}

// A pitch as the range boxes show it ("C5", "F#3", also "Bb3" or a MIDI number); nullopt for
// anything else or a pitch outside 0..127.
std::optional<int32_t> ParsePitchName(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    if (std::isdigit(static_cast<unsigned char>(text.front()))) {
        if (text.size() > 3 || !std::all_of(text.begin(), text.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            })) {
            return std::nullopt;
        }
        const int32_t value = WholeNumberIn(text).value_or(-1);
        return value <= kHighestPitch ? std::optional<int32_t>(value) : std::nullopt;
    }
    static constexpr std::string_view kLetters = "CDEFGAB";
    static constexpr int32_t kSteps[] = {0, 2, 4, 5, 7, 9, 11};
    const size_t letter = kLetters.find(static_cast<char>(std::toupper(text.front())));
    if (letter == std::string_view::npos) return std::nullopt;
    int32_t value = kSteps[letter];
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '#') {
        ++value;
        text.remove_prefix(1);
    } else if (!text.empty() && text.front() == 'b') {
        --value;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return std::nullopt;
    }
    value += 12 * WholeNumberIn(text).value_or(0);
    if (value < 0 || value > kHighestPitch) return std::nullopt;
    return value;
}

bool SameInstrument(const Instrument& instrument, const auto& record) {
    for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
        const auto i = static_cast<size_t>(slot - 1);
        if (instrument.DrumCode(slot) != record.DrumCode[i] ||
            instrument.DrumValue(slot) != record.DrumValue[i]) {
            return false;
        }
    }
    const auto range = instrument.Range();
    return instrument.Category() == record.Category && instrument.Value() == record.Value &&
           instrument.Pitch() == record.Pitch && instrument.Offset() == record.Offset &&
           range->Low() == record.RangeLow && range->High() == record.RangeHigh;
}

// The catalogue entry a new instrument for the record is made from: a drum kit is made from
// the drum sound of its first slot, so that it takes that sound's name.
int32_t EntryOf(const auto& record) {
    if (record.Category == catDrums && record.DrumCode[0] >= kFirstDrumSound) {
        return record.DrumCode[0];
    }
    return record.Value;
}

}  // namespace

StaffPropertiesDialog::StaffPropertiesDialog()
    : Dialog(std::string(kFormName), "Staff Properties") {
    DialogControl tabs = ListControl("tabMain", "", TextItems({kGeneral, kInstruments}));
    tabs.Kind = ControlKind::Tabs;
    tabs.ListIndex = 0;
    Add(std::move(tabs));

    std::vector<DialogControl> c;
    AddOnTab(c, Labelled("Index", TextBoxControl("txtIndex", "")), kGeneral);
    AddOnTab(c, {UpDownControl("updIndex", "txtIndex", 1, 1)}, kGeneral);
    AddOnTab(c, Labelled("Description", TextBoxControl("txtDescription", "")), kGeneral);
    AddOnTab(c, Labelled("Height", TextBoxControl("txtHeight", "")), kGeneral);
    AddOnTab(c, Labelled("Voices", TextBoxControl("txtVoices", "")), kGeneral);
    AddOnTab(c,
             {UpDownControl("updVoices", "txtVoices", 1, Staff::kMaxVoices),
              CheckBoxControl("chkMute", "Mute on playback"),
              CheckBoxControl("chkVisible", "Visible"), FrameControl("fmeDefaults", "Options")},
             kGeneral);
    const char* const flagCaptions[kFlagBoxes] = {
        "Show Staff Description on Score", "Show Instrument Descriptions on Staff",
        "Print Dynamics on Score", "Transcribe Key and Pitch Offsets", "Enforce Pitch Range"};
    for (int32_t bit = 0; bit < kFlagBoxes; ++bit) {
        AddOnTab(c, {CheckBoxControl(FlagBoxName(bit), flagCaptions[bit], "fmeDefaults")},
                 kGeneral);
    }

    AddOnTab(c, Labelled("Voice", ListControl("cboVoice", "", {})), kInstruments);
    DialogControl drumSlots = ListControl("cboInst", "Inst", {});
    drumSlots.Visible = false;
    AddOnTab(c, {std::move(drumSlots)}, kInstruments);
    AddOnTab(c,
             Labelled("Category",
                      ListControl("cboCategory", "",
                                  TextItems({"Solo", "Vocal", "Wind", "Reed", "Brass", "String",
                                             "Guitar", "Percussion", "Grand", "Drums"}))),
             kInstruments);
    AddOnTab(c, Labelled("Type", ListControl("cboType", "", {})), kInstruments);
    AddOnTab(c,
             Labelled("Clef", ListControl("cboClef", "",
                                          TextItems({"Percussion", "Treble", "Bass", "Grand Staff",
                                                     "Alto", "Tenor"}))),
             kInstruments);
    AddOnTab(c, Labelled("Split:", TextBoxControl("txtSplit", "")), kInstruments);
    AddOnTab(c, {TextBoxControl("txtText", ""), FrameControl("fmeRange", "Range")}, kInstruments);
    AddOnTab(c, Labelled("Low:", TextBoxControl("txtLow", "", "fmeRange")), kInstruments);
    AddOnTab(c, Labelled("High:", TextBoxControl("txtHigh", "", "fmeRange")), kInstruments);
    AddOnTab(c, {FrameControl("fmeOffset", "Offsets")}, kInstruments);
    AddOnTab(c, Labelled("Pitch:", TextBoxControl("txtPitch", "", "fmeOffset")), kInstruments);
    AddOnTab(c, Labelled("Key:", TextBoxControl("txtOffset", "", "fmeOffset")), kInstruments);
    Add(std::move(c));

    Add(OkCancel());
    DialogControl apply = ButtonControl("cmdApply", "Apply");
    apply.Enabled = false;
    Add(std::move(apply));
    SetSize(kFormWidth, kFormHeight);
}

// --- loading -----------------------------------------------------------------------------------

void StaffPropertiesDialog::Init(Score& score) {
    mScore = &score;
    mStaff = score.SelectedStaff();
    if (!mStaff) mStaff = score.Staff(1);
    Load();
}

void StaffPropertiesDialog::Load() {
    SetReady(false);
    mRecords.clear();
    mShownVoice = 0;
    if (mStaff && mScore) {
        const Staff& staff = *mStaff;
        At("updIndex").Max = std::max(mScore->Staffs(), 1);
        SetNumber("txtIndex", staff.Index());
        At("txtDescription").Text = staff.Description();
        mHeight = staff.ScalePct();
        At("txtHeight").Text = std::to_string(mHeight);
        SetNumber("txtVoices", staff.Voices());
        At("chkMute").Value = staff.Mute();
        At("chkVisible").Value = staff.Visible();
        for (int32_t bit = 0; bit < kFlagBoxes; ++bit) {
            At(FlagBoxName(bit)).Value = (staff.Flags() & (1 << bit)) != 0;
        }
        for (int32_t v = 1; v <= staff.Voices(); ++v) mRecords.push_back(RecordOf(staff.Voice(v)));
        const int32_t clef = staff.DefaultClef();
        const bool listed = clef >= 0 && clef < static_cast<int32_t>(At("cboClef").Items.size());
        At("cboClef").ListIndex = listed ? clef : -1;
    }
    At("cboVoice").Items = NumberedItems(static_cast<int32_t>(mRecords.size()));
    At("cboVoice").ListIndex = mRecords.empty() ? -1 : 0;
    ShowRecord();
    mDirty = false;
    At("cmdApply").Enabled = false;
    SetReady(true);
}

StaffPropertiesDialog::VoiceRecord StaffPropertiesDialog::RecordOf(
    const std::shared_ptr<corvendi::Voice>& voice) const {
    VoiceRecord record;
    record.Voice = voice;
    if (!voice) return record;
    record.Description = voice->Description();
    const auto instrument = voice->Instrument();
    if (!instrument) return record;
    record.Category = instrument->Category();
    record.Value = instrument->Value();
    record.RangeLow = instrument->Range()->Low();
    record.RangeHigh = instrument->Range()->High();
    record.Pitch = instrument->Pitch();
    record.Offset = instrument->Offset();
    for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
        record.DrumCode[static_cast<size_t>(slot - 1)] = instrument->DrumCode(slot);
        record.DrumValue[static_cast<size_t>(slot - 1)] = instrument->DrumValue(slot);
    }
    return record;
}

StaffPropertiesDialog::VoiceRecord* StaffPropertiesDialog::Current() {
    if (mShownVoice < 0 || mShownVoice >= static_cast<int32_t>(mRecords.size())) return nullptr;
    return &mRecords[static_cast<size_t>(mShownVoice)];
}

bool StaffPropertiesDialog::DrumMode() const {
    const DialogControl* category = Find("cboCategory");
    return category && category->ListIndex == catDrums;
}

// The Instruments tab shows the voice chosen in cboVoice.
void StaffPropertiesDialog::ShowRecord() {
    const VoiceRecord* record = Current();
    if (!record) {
        // A staff without voices: nothing to show on the tab.
        for (const char* box : {"txtText", "txtLow", "txtHigh", "txtPitch", "txtOffset"}) {
            At(box).Text.clear();
        }
        At("cboCategory").ListIndex = -1;
        FillTypes(-1);
        return;
    }
    ShowCategory(record->Category);
    At("txtText").Text = record->Description;
    ShowRangeAndOffsets();
}

void StaffPropertiesDialog::ShowCategory(int32_t category) {
    DialogControl& list = At("cboCategory");
    const bool listed = category >= 0 && category < static_cast<int32_t>(list.Items.size());
    list.ListIndex = listed ? category : -1;
    if (list.ListIndex != mTypesCategory) FillTypes(list.ListIndex);
    const bool drums = DrumMode();
    At("lblVoice").Caption = drums ? "Inst" : "Voice";
    At("cboVoice").Visible = !drums;
    At("cboInst").Visible = drums;
    if (drums) FillDrumSlots();
    SelectTypeOfRecord();
}

// Entries the catalogue file left empty are not offered.
void StaffPropertiesDialog::FillTypes(int32_t category) {
    DialogControl& types = At("cboType");
    types.Items.clear();
    types.ListIndex = -1;
    mTypesCategory = category;
    if (category < 0) return;
    for (int32_t entry = 0; entry < kCatalogEntries; ++entry) {
        const CatalogEntry& instrument = InstrumentCatalogEntry(entry);
        if (instrument.Description.empty()) continue;
        if (category != catSolo && instrument.Category != category) continue;
        types.Items.push_back({instrument.Description, instrument.Number});
    }
}

// Shows the record's instrument in cboType (in drum mode the sound of the chosen slot) without
// choosing it again.
void StaffPropertiesDialog::SelectTypeOfRecord() {
    const VoiceRecord* record = Current();
    DialogControl& types = At("cboType");
    types.ListIndex = -1;
    if (!record) return;
    int32_t wanted = record->Value;
    if (DrumMode()) {
        const int32_t slot = std::max(At("cboInst").ListIndex, 0);
        wanted = record->DrumCode[static_cast<size_t>(slot)];
    }
    for (size_t i = 0; i < types.Items.size(); ++i) {
        if (types.Items[i].Data == wanted) types.ListIndex = static_cast<int32_t>(i);
    }
}

void StaffPropertiesDialog::FillDrumSlots() {
    const VoiceRecord* record = Current();
    DialogControl& slots = At("cboInst");
    const int32_t chosen = std::max(slots.ListIndex, 0);
    slots.Items.clear();
    for (int32_t slot = 0; slot < Instrument::kDrumSlots; ++slot) {
        std::string text = std::to_string(slot + 1);
        const int32_t code = record ? record->DrumCode[static_cast<size_t>(slot)] : 0;
        if (code > 0) text += ": " + InstrumentCatalogEntry(code).Description;
        slots.Items.push_back({std::move(text), slot + 1});
    }
    slots.ListIndex = chosen;
}

void StaffPropertiesDialog::ShowRangeAndOffsets() {
    const VoiceRecord* record = Current();
    if (!record) return;
    At("txtLow").Text = PitchName(record->RangeLow);
    At("txtHigh").Text = PitchName(record->RangeHigh);
    At("txtPitch").Text = std::to_string(record->Pitch);
    At("txtOffset").Text = std::to_string(record->Offset);
}

// --- change handlers ---------------------------------------------------------------------------

void StaffPropertiesDialog::MarkDirty() {
    if (!Ready()) return;
    mDirty = true;
    At("cmdApply").Enabled = true;
}

void StaffPropertiesDialog::OnListChanged(DialogControl& list) {
    VoiceRecord* record = Current();
    if (list.Name == "cboVoice") {
        mShownVoice = list.ListIndex;
        ShowRecord();
    } else if (list.Name == "cboInst") {
        SelectTypeOfRecord();
    } else if (list.Name == "cboCategory") {
        const int32_t category = list.ListIndex;
        if (category == mTypesCategory) return;
        // A voice switched to drums becomes a drum kit (program 0) whose slots are then filled.
        if (record && category == catDrums && record->Category != catDrums) {
            record->Category = catDrums;
            record->Value = 0;
            record->Pitch = 0;
            record->Offset = 0;
            ShowRangeAndOffsets();
        }
        FillTypes(category);
        ShowCategory(category);
        if (category == catSolo && !DrumMode()) At("cboType").ListIndex = -1;
        MarkDirty();
    } else if (list.Name == "cboType") {
        if (list.ListIndex >= 0) ChooseType(list.Items[static_cast<size_t>(list.ListIndex)].Data);
        MarkDirty();
    } else if (list.Name == "cboClef") {
        MarkDirty();
    }
}

void StaffPropertiesDialog::ChooseType(int32_t entryNumber) {
    VoiceRecord* record = Current();
    if (!record) return;
    const CatalogEntry& entry = InstrumentCatalogEntry(entryNumber);
    if (DrumMode()) {
        const auto slot = static_cast<size_t>(std::max(At("cboInst").ListIndex, 0));
        record->DrumCode[slot] = static_cast<int16_t>(entry.Number);
        record->DrumValue[slot] = entry.RangeLow;
        FillDrumSlots();
        return;
    }
    record->Description = entry.Description;
    At("txtText").Text = entry.Description;
    if (entry.DefaultClef >= 0 &&
        entry.DefaultClef < static_cast<int32_t>(At("cboClef").Items.size())) {
        At("cboClef").ListIndex = entry.DefaultClef;
    }
    record->Category = entry.Category;
    record->Value = entry.Number;
    record->RangeLow = entry.RangeLow;
    record->RangeHigh = entry.RangeHigh;
    record->Pitch = entry.Pitch;
    record->Offset = entry.Offset;
    record->DrumCode.fill(0);
    record->DrumValue.fill(0);
    // A single drum sound chosen from the whole list makes a kit playing it in its first slot.
    if (entry.Category == catDrums) {
        record->DrumCode[0] = static_cast<int16_t>(entry.Number);
        record->DrumValue[0] = entry.RangeLow;
    }
    ShowRangeAndOffsets();
}

void StaffPropertiesDialog::OnClick(DialogControl& control) {
    if (control.Name == "cmdApply") {
        Apply();
    } else if (control.Kind == ControlKind::CheckBox) {
        MarkDirty();
    }
}

void StaffPropertiesDialog::OnTextChanged(DialogControl& textBox) {
    if (!Ready() || textBox.Name == "txtIndex") return;
    if (textBox.Name == "txtText") {
        if (VoiceRecord* record = Current()) record->Description = textBox.Text;
    }
    MarkDirty();
}

// Text that holds no number leaves a number box at its previous value.
void StaffPropertiesDialog::OnTextCommitted(DialogControl& textBox) {
    if (!Ready()) return;
    const std::optional<int32_t> number = WholeNumberIn(textBox.Text);
    VoiceRecord* record = Current();
    if (textBox.Name == "txtIndex") {
        const int32_t current = mStaff ? mStaff->Index() : 1;
        const int32_t wanted = std::clamp(number.value_or(current), 1, At("updIndex").Max);
        SetNumber("txtIndex", wanted);
        if (wanted != current) ChangeStaff(wanted);
    } else if (textBox.Name == "txtHeight") {
        mHeight = std::clamp(number.value_or(mHeight), kMinHeight, kMaxHeight);
        textBox.Text = std::to_string(mHeight);
    } else if (textBox.Name == "txtVoices") {
        const auto count = static_cast<int32_t>(mRecords.size());
        SetVoiceCount(std::clamp(number.value_or(count), 1, Staff::kMaxVoices));
    } else if (record && textBox.Name == "txtLow") {
        CommitPitchBox(textBox, true);
    } else if (record && textBox.Name == "txtHigh") {
        CommitPitchBox(textBox, false);
    } else if (record && textBox.Name == "txtPitch") {
        CommitOffsetBox(textBox, record->Pitch, kMaxKeySteps);
    } else if (record && textBox.Name == "txtOffset") {
        const bool drums = record->Category == catDrums;
        CommitOffsetBox(textBox, record->Offset, drums ? kMaxDrumOffset : kMaxSemitones);
    }
}

// The low end never lies above the high end: a pitch beyond the other end is taken as it.
void StaffPropertiesDialog::CommitPitchBox(DialogControl& box, bool low) {
    VoiceRecord& record = *Current();
    int32_t& field = low ? record.RangeLow : record.RangeHigh;
    if (const std::optional<int32_t> pitch = ParsePitchName(box.Text)) {
        field = low ? std::min(*pitch, record.RangeHigh) : std::max(*pitch, record.RangeLow);
    }
    box.Text = PitchName(field);
}

void StaffPropertiesDialog::CommitOffsetBox(DialogControl& box, int32_t& field, int32_t limit) {
    if (const std::optional<int32_t> number = WholeNumberIn(box.Text)) {
        field = std::clamp(*number, -limit, limit);
    }
    box.Text = std::to_string(field);
}

// Fewer voices drop records from the end; more take up the staff's own voices again, then new
// ones that play the instrument of the last voice.
void StaffPropertiesDialog::SetVoiceCount(int32_t count) {
    const auto previous = static_cast<int32_t>(mRecords.size());
    if (count < previous) mRecords.resize(static_cast<size_t>(count));
    for (int32_t v = previous + 1; v <= count; ++v) {
        if (mStaff && v <= mStaff->Voices()) {
            mRecords.push_back(RecordOf(mStaff->Voice(v)));
            continue;
        }
        VoiceRecord added = mRecords.empty() ? VoiceRecord{} : mRecords.back();
        added.Voice = nullptr;
        added.Description = std::string(kAddedVoice);
        mRecords.push_back(std::move(added));
    }
    SetNumber("txtVoices", count);
    DialogControl& voices = At("cboVoice");
    voices.Items = NumberedItems(count);
    if (voices.ListIndex >= count) {
        voices.ListIndex = count - 1;
        mShownVoice = count - 1;
        ShowRecord();
    }
    if (count != previous) MarkDirty();
}

// Pending edits are written first; then the dialog shows the other staff, now the selected one.
void StaffPropertiesDialog::ChangeStaff(int32_t index) {
    if (!mScore) return;
    Apply();
    const auto staff = mScore->Staff(index);
    if (!staff) return;
    staff->SetSelected(true);
    mStaff = staff;
    Load();
}

// --- writing -----------------------------------------------------------------------------------

void StaffPropertiesDialog::Apply() {
    if (!mDirty || !Ready() || !mScore || !mStaff) return;
    WriteToScore();
    mDirty = false;
    At("cmdApply").Enabled = false;
}

// Everything one "Ok" or "Apply" writes is one step of the score's undo history.
void StaffPropertiesDialog::WriteToScore() {
    Score& score = *mScore;
    Staff& staff = *mStaff;
    detail::EditStep step(score);
    score.SetChanged(true);
    staff.SetDescription(At("txtDescription").Text);
    staff.SetScalePct(WholeNumberIn(At("txtHeight").Text).value_or(mHeight));
    staff.SetMute(At("chkMute").Value);
    staff.SetVisible(At("chkVisible").Value);
    int32_t flags = 0;
    for (int32_t bit = 0; bit < kFlagBoxes; ++bit) {
        if (At(FlagBoxName(bit)).Value) flags += 1 << bit;
    }
    staff.SetFlags(static_cast<int16_t>(flags & 0xFF));
    WriteVoices(staff);
    if (At("cboClef").ListIndex >= 0) staff.SetDefaultClef(At("cboClef").ListIndex);
    // Height, visibility, voices and transposition all change the systems: lay the pages out.
    detail::ScoreAccess::StartPagination(score, false);
    score.PaintWindow();
}

// Each voice plays an instrument of its own made from its record, unless its instrument still
// matches the record; voices beyond the records leave the staff and the score; instruments no
// voice plays any more are dropped, so that repeated edits never fill the sixteen places.
void StaffPropertiesDialog::WriteVoices(Staff& staff) {
    auto voices = mScore->AllVoices();
    auto instruments = mScore->AllInstruments();
    if (!voices || !instruments) return;
    std::vector<std::string> before;
    for (int32_t v = 1; v <= staff.Voices(); ++v) {
        if (const auto voice = staff.Voice(v)) before.push_back(voice->InstrumentID());
    }
    std::vector<std::shared_ptr<corvendi::Voice>> written;
    for (const VoiceRecord& record : mRecords) {
        if (auto voice = WriteRecord(staff, record)) written.push_back(std::move(voice));
    }
    for (int32_t v = staff.Voices(); v > static_cast<int32_t>(written.size()); --v) {
        if (const auto voice = staff.Voice(v)) voices->Remove(voice->ID());
    }
    detail::StaffAccess::KeepVoices(staff, static_cast<int32_t>(written.size()));
    for (const std::string& id : before) {
        const bool played = std::any_of(voices->begin(), voices->end(), [&](const auto& voice) {
            return voice->InstrumentID() == id;
        });
        if (!played) instruments->Remove(id);
    }
    detail::InstrumentsAccess::AssignChannels(*instruments);
    // Records now stand for the written voices, so a second Apply finds them unchanged.
    for (size_t i = 0; i < written.size() && i < mRecords.size(); ++i) {
        mRecords[i] = RecordOf(written[i]);
    }
}

std::shared_ptr<corvendi::Voice> StaffPropertiesDialog::WriteRecord(Staff& staff,
                                                                    const VoiceRecord& record) {
    Instruments& instruments = *mScore->AllInstruments();
    std::shared_ptr<Instrument> instrument = record.Voice ? record.Voice->Instrument() : nullptr;
    if (!instrument || !SameInstrument(*instrument, record)) {
        auto made = detail::InstrumentsAccess::AddDistinct(instruments, instruments.NewID(),
                                                           EntryOf(record));
        if (made) {
            detail::InstrumentAccess::CategorySet(*made, record.Category);
            detail::InstrumentAccess::PitchSet(*made, record.Pitch);
            detail::InstrumentAccess::OffsetSet(*made, record.Offset);
            for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
                made->SetDrumCode(slot, record.DrumCode[static_cast<size_t>(slot - 1)]);
                made->SetDrumValue(slot, record.DrumValue[static_cast<size_t>(slot - 1)]);
            }
            detail::RangeAccess::LowSet(*made->Range(), record.RangeLow);
            detail::RangeAccess::HighSet(*made->Range(), record.RangeHigh);
            instrument = std::move(made);
        }
    }
    if (!instrument) return record.Voice;
    std::shared_ptr<corvendi::Voice> voice = record.Voice;
    if (!voice) voice = staff.AddVoice(instrument);
    if (!voice) return nullptr;
    detail::VoiceAccess::SetInstrumentID(*voice, instrument->ID());
    const bool placeholder = record.Description == kAddedVoice;
    voice->SetDescription(placeholder ? instrument->Description() : record.Description);
    return voice;
}

}  // namespace corvendi
