// "Insert Measure": how many measures, before or after which measure.
#pragma once

#include <cstdint>
#include <string_view>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;

class CORVENDI_API InsertMeasureDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDInsMes";
    static constexpr int32_t kMaxQuantity = 999;

    InsertMeasureDialog();
    // Start values: measure "1", quantity 1, "Before".
    void Init(Score& score);
    // The caller's own start values, set after Init.
    void SetMeasure(int32_t number);
    void SetAfter(bool after);

    // Read back after "Ok".
    int32_t Quantity() const { return NumberIn("txtQuant"); }
    int32_t MeasureNumber() const { return NumberIn("txtMesNo"); }
    bool After() const;

  private:
    void BeforeOk() override { Leave("txtQuant"); }
    void Unload() override { mScore = nullptr; }

    Score* mScore = nullptr;
};

}  // namespace corvendi
