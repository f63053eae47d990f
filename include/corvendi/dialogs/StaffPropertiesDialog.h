// "Staff Properties": one staff of the score (index, description, height, voices, playback and
// display switches) and the instruments of its voices. It edits working copies: nothing reaches
// the score before "Ok" or "Apply", and each of those writes everything at once.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;
class Staff;
class Voice;

class CORVENDI_API StaffPropertiesDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDStaff";
    // The description a voice added in the dialog carries until it is written.
    static constexpr std::string_view kAddedVoice = "[Add]";

    StaffPropertiesDialog();
    // Loads the score's selected staff (staff 1 when none is selected).
    void Init(Score& score);

    // Whether there are edits "Apply" would write.
    bool Dirty() const { return mDirty; }

  private:
    // One voice as the dialog edits it: its instrument's catalogue fields, drum map and range,
    // and the voice's description. `Voice` is null for a voice added in the dialog.
    struct VoiceRecord {
        std::shared_ptr<corvendi::Voice> Voice;
        int32_t Category = 0;
        int32_t Value = 0;
        std::string Description;
        int32_t RangeLow = 0;
        int32_t RangeHigh = 0;
        int32_t Pitch = 0;
        int32_t Offset = 0;
        std::array<int16_t, 8> DrumCode{};
        std::array<int16_t, 8> DrumValue{};
    };

    void Load();
    VoiceRecord RecordOf(const std::shared_ptr<corvendi::Voice>& voice) const;
    void SetVoiceCount(int32_t count);
    void ShowRecord();
    void ShowCategory(int32_t category);
    void FillTypes(int32_t category);
    void SelectTypeOfRecord();
    void ChooseType(int32_t entry);
    void FillDrumSlots();
    void ShowRangeAndOffsets();
    VoiceRecord* Current();
    bool DrumMode() const;

    void OnListChanged(DialogControl& list) override;
    void OnClick(DialogControl& control) override;
    void OnTextChanged(DialogControl& textBox) override;
    void OnTextCommitted(DialogControl& textBox) override;
    void BeforeOk() override { Apply(); }
    void Unload() override { mScore = nullptr; }
    void MarkDirty();
    void CommitPitchBox(DialogControl& box, bool low);
    void CommitOffsetBox(DialogControl& box, int32_t& field, int32_t limit);
    void ChangeStaff(int32_t index);

    // Writes every working value to the score: the one place the dialog changes the document.
    void Apply();
    void WriteToScore();
    void WriteVoices(Staff& staff);
    std::shared_ptr<corvendi::Voice> WriteRecord(Staff& staff, const VoiceRecord& record);

    Score* mScore = nullptr;
    std::shared_ptr<corvendi::Staff> mStaff;
    std::vector<VoiceRecord> mRecords;
    int32_t mShownVoice = 0;      // index into mRecords of the voice the tab shows
    int32_t mTypesCategory = -1;  // the category cboType was last filled for
    int32_t mHeight = 100;        // the height last shown, kept when the box holds no number
    bool mDirty = false;
};

}  // namespace corvendi
