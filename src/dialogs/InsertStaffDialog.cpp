#include "corvendi/dialogs/InsertStaffDialog.h"

#include <algorithm>

#include "corvendi/Enums.h"
#include "corvendi/Score.h"
#include "dialogs/SharedRows.h"
#include "model/InstrumentCatalog.h"

namespace corvendi {

namespace {

constexpr int32_t kLastEntry = 1;
// "Solo" lists the whole catalogue and chooses nothing.
constexpr int32_t kAllCategories = catSolo;

std::vector<ListItem> Items(std::initializer_list<const char*> texts) {
    std::vector<ListItem> items;
    int32_t data = 0;
    for (const char* text : texts) items.push_back({text, data++});
    return items;
}

}  // namespace

InsertStaffDialog::InsertStaffDialog() : Dialog(std::string(kFormName), "Insert Staff") {
    Add(QuantityRow("Insert", kMaxStaffs));
    Add(LabelControl("lblLabel(1)", "Staff(s)"));
    Add(OptionControl("optWhere(0)", "Before", "optWhere"));
    Add(OptionControl("optWhere(1)", "or After", "optWhere"));
    Add(LabelControl("lblLabel(2)", "Staff"));
    Add(ListControl("cboStaff", "Staff", {}));

    DialogControl instruments = LabelControl("fmeInstruments", "Instrument");
    instruments.Kind = ControlKind::Frame;
    Add(std::move(instruments));
    Add(LabelControl("lblLabel(3)", "Category", "fmeInstruments"));
    Add(ListControl("cboCategory", "Category",
                    Items({"Solo", "Vocal", "Wind", "Reed", "Brass", "String", "Guitar",
                           "Percussion", "Grand"}),
                    "fmeInstruments"));
    Add(LabelControl("lblLabel(4)", "Type", "fmeInstruments"));
    Add(ListControl("cboType", "Type", {}, "fmeInstruments"));

    DialogControl options = LabelControl("fmeOptions", "Options");
    options.Kind = ControlKind::Frame;
    Add(std::move(options));
    Add(LabelControl("lblLabel(5)", "Clef", "fmeOptions"));
    Add(ListControl("cboClef", "Clef",
                    Items({"Percussion", "Treble", "Bass", "Grand Staff", "Alto", "Tenor"}),
                    "fmeOptions"));
    Add(LabelControl("lblLabel(6)", "Voices", "fmeOptions"));
    Add(TextBoxControl("txtVoices", "Voices", "fmeOptions"));
    Add(UpDownControl("updVoices", "txtVoices", 1, kMaxVoices, "fmeOptions"));

    Add(OkCancel());
    SetNumberRule("txtQuant", NumberRule::WithinUpDown);
}

void InsertStaffDialog::Init(Score& score) {
    mScore = &score;
    mStaffCount = score.Staffs();
    At("cboStaff").Items = StaffListItems(score);
    At("cboStaff").ListIndex = kLastEntry;
    Click("optWhere(1)");
    At("updQuant").Max = std::max(kMaxStaffs - mStaffCount, 1);
    SetNumber("txtQuant", 1);
    SetNumber("txtVoices", 1);
    SelectItem("cboClef", clfTreble);
    SelectItem("cboCategory", catWind);
    SetReady(true);
}

void InsertStaffDialog::OnListChanged(DialogControl& list) {
    if (list.Name == "cboCategory") {
        const int32_t category = list.ListIndex;
        if (category == mTypesCategory) return;
        FillTypes(category);
        if (category != kAllCategories && !At("cboType").Items.empty()) SelectItem("cboType", 0);
    } else if (list.Name == "cboType" && list.ListIndex >= 0) {
        const int32_t entry = list.Items[static_cast<size_t>(list.ListIndex)].Data;
        const int32_t clef = InstrumentCatalogEntry(entry).DefaultClef;
        if (clef >= 0 && clef < static_cast<int32_t>(At("cboClef").Items.size())) {
            SelectItem("cboClef", clef);
        }
    }
}

// Entries the catalogue file left empty are not offered.
void InsertStaffDialog::FillTypes(int32_t category) {
    DialogControl& types = At("cboType");
    types.Items.clear();
    types.ListIndex = -1;
    mTypesCategory = category;
    for (int32_t entry = 0; entry < kCatalogEntries; ++entry) {
        const CatalogEntry& instrument = InstrumentCatalogEntry(entry);
        if (instrument.Description.empty()) continue;
        if (category != kAllCategories && instrument.Category != category) continue;
        types.Items.push_back({instrument.Description, instrument.Number});
    }
}

int32_t InsertStaffDialog::Position() const {
    const DialogControl* list = Find("cboStaff");
    const int32_t staff = StaffOfListIndex(list ? list->ListIndex : -1, mStaffCount);
    const DialogControl* after = Find("optWhere(1)");
    return std::clamp(staff + (after && after->Value ? 1 : 0), 1, mStaffCount + 1);
}

std::optional<int32_t> InsertStaffDialog::Instrument() const {
    const DialogControl* types = Find("cboType");
    if (!types || types->ListIndex < 0) return std::nullopt;
    return types->Items[static_cast<size_t>(types->ListIndex)].Data;
}

int32_t InsertStaffDialog::Voices() const {
    return std::clamp(NumberIn("txtVoices"), 1, kMaxVoices);
}

std::optional<int32_t> InsertStaffDialog::Clef() const {
    const DialogControl* clef = Find("cboClef");
    if (!clef || clef->ListIndex < 0) return std::nullopt;
    return clef->ListIndex;
}

}  // namespace corvendi
