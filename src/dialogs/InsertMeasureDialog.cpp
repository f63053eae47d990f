#include "corvendi/dialogs/InsertMeasureDialog.h"

#include "dialogs/SharedRows.h"

namespace corvendi {

InsertMeasureDialog::InsertMeasureDialog() : Dialog(std::string(kFormName), "Insert Measure") {
    Add(QuantityRow("Insert", kMaxQuantity));
    Add(LabelControl("lblLabel(1)", "Measure(s)"));
    Add(OptionControl("optWhere(0)", "Before", "optWhere"));
    Add(OptionControl("optWhere(1)", "or After", "optWhere"));
    Add(LabelControl("lblLabel(2)", "Measure"));
    Add(MeasureNumberRow("Measure"));
    Add(OkCancel());
    SetNumberRule("txtQuant", NumberRule::WithinUpDown);
    SetNumberRule("txtMesNo", NumberRule::AtLeastOne);
}

void InsertMeasureDialog::Init(Score& score) {
    mScore = &score;
    SetNumber("txtMesNo", 1);
    SetNumber("txtQuant", 1);
    Click("optWhere(0)");
    SetReady(true);
}

void InsertMeasureDialog::SetMeasure(int32_t number) { SetNumber("txtMesNo", number); }

void InsertMeasureDialog::SetAfter(bool after) { Click(after ? "optWhere(1)" : "optWhere(0)"); }

bool InsertMeasureDialog::After() const {
    const DialogControl* after = Find("optWhere(1)");
    return after && after->Value;
}

}  // namespace corvendi
