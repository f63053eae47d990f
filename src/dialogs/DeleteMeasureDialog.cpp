#include "corvendi/dialogs/DeleteMeasureDialog.h"

#include "dialogs/NumberBoxes.h"

namespace corvendi {

DeleteMeasureDialog::DeleteMeasureDialog() : Dialog(std::string(kFormName), "Delete Measure") {
    Add(LabelControl("lblLabel(0)", "Delete"));
    Add(TextBoxControl("txtQuant", "Delete"));
    Add(UpDownControl("updQuant", "txtQuant", 1, kMaxQuantity));
    Add(LabelControl("lblLabel(1)", "Measure(s) starting from Measure"));
    Add(TextBoxControl("txtMesNo", "Measure(s) starting from Measure"));
    Add(UpDownControl("updMesNo", "txtMesNo", 1, 99999));
    Add(ButtonControl("cmdOk", "Ok"));
    Add(ButtonControl("cmdCancel", "Cancel"));
    SetNumberRule("txtQuant", NumberRule::WithinUpDown);
    SetNumberRule("txtMesNo", NumberRule::AtLeastOne);
}

void DeleteMeasureDialog::Init(Score& score) {
    mScore = &score;
    SetNumber("txtMesNo", 1);
    SetNumber("txtQuant", 1);
    SetReady(true);
}

void DeleteMeasureDialog::SetMeasure(int32_t number) { SetNumber("txtMesNo", number); }

}  // namespace corvendi
