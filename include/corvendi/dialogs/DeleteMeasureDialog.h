// "Delete Measure": how many measures, starting from which measure.
#pragma once

#include <cstdint>
#include <string_view>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;

class CORVENDI_API DeleteMeasureDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDDelMes";
    static constexpr int32_t kMaxQuantity = 999;

    DeleteMeasureDialog();
    // Start values: measure "1", quantity 1.
    void Init(Score& score);
    // The caller's own start value, set after Init.
    void SetMeasure(int32_t number);

    // Read back after "Ok".
    int32_t Quantity() const { return NumberIn("txtQuant"); }
    int32_t MeasureNumber() const { return NumberIn("txtMesNo"); }

  private:
    void BeforeOk() override { Leave("txtQuant"); }
    void Unload() override { mScore = nullptr; }

    Score* mScore = nullptr;
};

}  // namespace corvendi
