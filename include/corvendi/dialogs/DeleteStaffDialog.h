// "Delete Staff": how many staffs, starting from which staff.
#pragma once

#include <cstdint>
#include <string_view>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;

class CORVENDI_API DeleteStaffDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDDelStaff";

    DeleteStaffDialog();
    // Start values: the staff list with "Last" chosen, quantity 1 (up to the staffs there are).
    void Init(Score& score);

    // Read back after "Ok".
    int32_t Quantity() const { return NumberIn("txtQuant"); }
    // The first staff to delete, 1..staffs.
    int32_t FirstStaff() const;

  private:
    void BeforeOk() override { Leave("txtQuant"); }
    void Unload() override { mScore = nullptr; }

    Score* mScore = nullptr;
    int32_t mStaffCount = 0;
};

}  // namespace corvendi
