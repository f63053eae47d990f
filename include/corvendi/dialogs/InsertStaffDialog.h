// "Insert Staff": how many staffs, where, playing which instrument, with which clef and how
// many voices.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;

class CORVENDI_API InsertStaffDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDInsStaff";
    // A score holds at most this many staffs.
    static constexpr int32_t kMaxStaffs = 85;
    static constexpr int32_t kMaxVoices = 4;

    InsertStaffDialog();
    // Start values: the staff list with "Last" chosen, "or After", quantity 1, one voice,
    // "Treble", and the "Wind" instruments with the first of them chosen. The quantity goes up
    // to the staffs the score still has room for (at least 1).
    void Init(Score& score);

    // Read back after "Ok".
    int32_t Quantity() const { return NumberIn("txtQuant"); }
    // Where the first new staff goes, 1..staffs + 1.
    int32_t Position() const;
    // The catalogue entry of the chosen instrument; nullopt when none is chosen.
    std::optional<int32_t> Instrument() const;
    // 1..4.
    int32_t Voices() const;
    // The chosen ClefTypes value; nullopt when none is chosen.
    std::optional<int32_t> Clef() const;

  private:
    void OnListChanged(DialogControl& list) override;
    void BeforeOk() override { Leave("txtQuant"); }
    void Unload() override { mScore = nullptr; }
    void FillTypes(int32_t category);

    Score* mScore = nullptr;
    int32_t mStaffCount = 0;
    int32_t mTypesCategory = -1;  // the category cboType was last filled for
};

}  // namespace corvendi
