#include "corvendi/dialogs/DeleteStaffDialog.h"

#include <algorithm>

#include "corvendi/Score.h"
#include "dialogs/SharedRows.h"

namespace corvendi {

namespace {
constexpr int32_t kLastEntry = 1;
}

DeleteStaffDialog::DeleteStaffDialog() : Dialog(std::string(kFormName), "Delete Staff") {
    Add(QuantityRow("Delete", 1));
    Add(LabelControl("lblLabel(1)", "Staff(s) starting from Staff"));
    Add(ListControl("cboStaff", "Staff(s) starting from Staff", {}));
    Add(OkCancel());
    SetNumberRule("txtQuant", NumberRule::WithinUpDown);
}

void DeleteStaffDialog::Init(Score& score) {
    mScore = &score;
    mStaffCount = score.Staffs();
    At("updQuant").Max = std::max(mStaffCount, 1);
    At("cboStaff").Items = StaffListItems(score);
    At("cboStaff").ListIndex = kLastEntry;
    SetNumber("txtQuant", 1);
    SetReady(true);
}

int32_t DeleteStaffDialog::FirstStaff() const {
    const DialogControl* list = Find("cboStaff");
    return StaffOfListIndex(list ? list->ListIndex : -1, mStaffCount);
}

}  // namespace corvendi
