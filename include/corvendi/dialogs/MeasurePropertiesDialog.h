// "Measure Properties": the score-wide marks at the start of one measure (repeat and section
// bars, endings, coda and segno marks and their jumps, a key change, a time signature change).
// Nothing reaches the score before "Ok" or "&Apply", and then only the groups of marks that
// were touched are written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;
class Staff;

class CORVENDI_API MeasurePropertiesDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDMeasure";

    MeasurePropertiesDialog();
    // Loads the score's selected measure, shown for its selected staff (staff 1 when none is).
    void Init(Score& score);

    int32_t MeasureNumber() const { return mMeasure; }
    int32_t StartTime() const { return mStart; }
    // Whether there are edits "&Apply" would write.
    bool Dirty() const { return mDirty != 0; }

  private:
    // The groups Apply writes separately; a bit each in mDirty.
    enum Group : int32_t { Bars = 1, Key = 2, Sections = 4, Time = 8, Other = 16 };

    void Load();
    void LoadTime();
    void LoadKey();
    void LoadMarks();
    void ShowKeyList();
    void CheckMisc(int32_t index);
    void ClearOrRestoreTime();

    void OnListChanged(DialogControl& list) override;
    void OnClick(DialogControl& control) override;
    void OnTextChanged(DialogControl& textBox) override;
    void OnTextCommitted(DialogControl& textBox) override;
    void BeforeOk() override { Apply(); }
    void Unload() override { mScore = nullptr; }
    void MarkDirty(Group group);
    void MoveTo(std::optional<int32_t> staff, std::optional<int32_t> measure);

    // Writes the touched groups to the score: the one place the dialog changes the document.
    void Apply();
    bool WriteToScore();
    bool WriteBars();
    bool WriteKey();
    bool WriteSectionDefine();
    bool WriteSectionGo();
    bool WriteTime();

    Score* mScore = nullptr;
    std::shared_ptr<corvendi::Staff> mStaff;
    int32_t mMeasure = 1;
    int32_t mStart = 0;
    // The time value of the measure's time change as last loaded or written; nullopt for none.
    std::optional<int32_t> mLoadedTime;
    // The option "Clear" took away, given back by "Restore".
    std::optional<int32_t> mClearedTimeOption;
    int32_t mDirty = 0;
};

}  // namespace corvendi
