// The editor of a ChordLibrary: the chord-map editor the Score Properties dialog holds.
//
// Init takes the score's chord map and hands the same object back. The editor works on a copy
// of the map's vocabulary, so that a dialog that is cancelled leaves the map as it was; Commit
// gives the map the edited vocabulary. A map that is not a ChordLibrary is handed back untouched
// and the editor has nothing to edit. What can be edited is the fingerings of the known chords;
// Revert reads the map's data file again into the copy, dropping every change. Changes are never
// written to the data file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "corvendi/ChordLibrary.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/ChordVocabulary.h"
#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API ChordLibraryEditor : public ChordMapEditor {
  public:
    std::shared_ptr<ChordMapper> Init(std::shared_ptr<ChordMapper> map) override;

    // The map being edited; nullptr before Init or when the map is not a ChordLibrary.
    const std::shared_ptr<ChordLibrary>& Library() const { return mLibrary; }
    bool CanEdit() const { return mLibrary != nullptr; }
    // A chord's edited fingering as the data file writes frets ("x32010"); "" for none.
    std::string FretsOf(int32_t code) const;

    // Gives a known chord the fingering written as the data file writes frets ("x32010").
    // False, changing nothing, for an unknown code, bad frets or nothing to edit.
    bool SetFingering(int32_t code, std::string_view frets);
    // Removes a chord's fingering: the chord is then drawn as its name in diagram mode.
    bool RemoveFingering(int32_t code);
    // Reads the map's data file again; false when there is nothing to edit or it cannot be read.
    bool Revert();
    // Gives the map the edited vocabulary.
    void Commit();

  private:
    std::shared_ptr<ChordLibrary> mLibrary;
    ChordVocabulary mWorking;
};

}  // namespace corvendi
