#include "corvendi/ChordLibraryEditor.h"

#include <utility>

namespace corvendi {

std::shared_ptr<ChordMapper> ChordLibraryEditor::Init(std::shared_ptr<ChordMapper> map) {
    mLibrary = std::dynamic_pointer_cast<ChordLibrary>(map);
    mWorking = mLibrary ? mLibrary->Vocabulary() : ChordVocabulary();
    return map;
}

std::string ChordLibraryEditor::FretsOf(int32_t code) const {
    const ChordFrets* frets = mWorking.Fingering(code);
    return frets ? ChordVocabulary::FretsText(*frets) : std::string();
}

bool ChordLibraryEditor::SetFingering(int32_t code, std::string_view frets) {
    if (!mLibrary) return false;
    const auto parsed = ChordVocabulary::ParseFrets(frets);
    return parsed && mWorking.SetFingering(code, *parsed);
}

bool ChordLibraryEditor::RemoveFingering(int32_t code) {
    if (!mLibrary || !mWorking.Fingering(code)) return false;
    mWorking.RemoveFingering(code);
    return true;
}

// The data file is read by a fresh library of the same folder: the map keeps what it has until
// Commit.
bool ChordLibraryEditor::Revert() {
    if (!mLibrary) return false;
    ChordLibrary fromFile;
    fromFile.SetDataFolder(mLibrary->DataFolder());
    if (!fromFile.Load()) return false;
    mWorking = std::move(fromFile.Vocabulary());
    return true;
}

void ChordLibraryEditor::Commit() {
    if (mLibrary) mLibrary->Vocabulary() = mWorking;
}

}  // namespace corvendi
