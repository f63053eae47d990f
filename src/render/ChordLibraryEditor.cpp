#include "corvendi/ChordLibraryEditor.h"

#include <utility>

namespace corvendi {

std::shared_ptr<ChordMapper> ChordLibraryEditor::Init(std::shared_ptr<ChordMapper> map) {
    mLibrary = std::dynamic_pointer_cast<ChordLibrary>(map);
    return map;
}

bool ChordLibraryEditor::SetFingering(int32_t code, std::string_view frets) {
    if (!mLibrary) return false;
    const auto parsed = ChordVocabulary::ParseFrets(frets);
    return parsed && mLibrary->Vocabulary().SetFingering(code, *parsed);
}

bool ChordLibraryEditor::RemoveFingering(int32_t code) {
    if (!mLibrary || !mLibrary->Vocabulary().Fingering(code)) return false;
    mLibrary->Vocabulary().RemoveFingering(code);
    return true;
}

bool ChordLibraryEditor::Revert() { return mLibrary && mLibrary->Load(); }

}  // namespace corvendi
