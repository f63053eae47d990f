#include "corvendi/dialogs/DeleteMeasureDialog.h"

#include "dialogs/SharedRows.h"

namespace corvendi {

DeleteMeasureDialog::DeleteMeasureDialog() : Dialog(std::string(kFormName), "Delete Measure") {
    Add(QuantityRow("Delete", kMaxQuantity));
    Add(LabelControl("lblLabel(1)", "Measure(s) starting from Measure"));
    Add(MeasureNumberRow("Measure(s) starting from Measure"));
    Add(OkCancel());
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
