// The chord mapper of the Score Properties form: the chord list, the chosen chord's fingering,
// "&Remove" and "Re&vert", all working on the chord-map editor's copy of the fingerings.
#include <cstddef>
#include <string>
#include <vector>

#include "corvendi/Score.h"
#include "corvendi/dialogs/ScorePropertiesDialog.h"

namespace corvendi {

// Shown by Score::ShowDialog the editor already holds the score's map; a form loaded on its own
// takes it here, so that every way of opening the form edits the same map.
void ScorePropertiesDialog::LoadChordMapper() {
    mChordEditor.Init(mScore->ChordMapper());
    DialogControl& list = At("cboChord");
    list.Items.clear();
    if (const auto& library = mChordEditor.Library()) {
        for (int32_t i = 0; i < library->ChordCount(); ++i) {
            list.Items.push_back({library->ChordName(i), library->ChordCode(i)});
        }
    }
    list.ListIndex = list.Items.empty() ? -1 : 0;
    const bool editable = mChordEditor.CanEdit() && !list.Items.empty();
    for (const char* name : {"cboChord", "txtFrets", "cmdRevert"}) At(name).Enabled = editable;
    ShowChosenFingering();
}

// The code of the chord chosen in the list; 0 for none.
int32_t ScorePropertiesDialog::ChosenChord() const {
    const DialogControl& list = *Find("cboChord");
    if (list.ListIndex < 0 || static_cast<size_t>(list.ListIndex) >= list.Items.size()) return 0;
    return list.Items[static_cast<size_t>(list.ListIndex)].Data;
}

void ScorePropertiesDialog::ShowChosenFingering() {
    const std::string frets = mChordEditor.FretsOf(ChosenChord());
    At("txtFrets").Text = frets;
    At("cmdRemove").Enabled = !frets.empty();
}

// Frets that cannot be read leave the fingering as it was; an empty box removes it.
void ScorePropertiesDialog::FretsTyped() {
    const int32_t code = ChosenChord();
    const std::string typed = At("txtFrets").Text;
    const bool changed = typed.find_first_not_of(" \t") == std::string::npos
                             ? mChordEditor.RemoveFingering(code)
                             : mChordEditor.SetFingering(code, typed);
    ShowChosenFingering();
    if (changed) MarkDirty();
}

void ScorePropertiesDialog::FingeringRemoved() {
    if (mChordEditor.RemoveFingering(ChosenChord())) MarkDirty();
    ShowChosenFingering();
}

void ScorePropertiesDialog::FingeringsReverted() {
    if (mChordEditor.Revert()) MarkDirty();
    ShowChosenFingering();
}

}  // namespace corvendi
