// The editor of a ChordLibrary, behind the chord-map editor the Score Properties dialog holds.
//
// Init takes the score's chord map and hands the same object back: the editor works on that
// map, so its changes take effect on the score at once. A map that is not a ChordLibrary is
// handed back untouched and the editor has nothing to edit. What can be edited is the
// fingerings of the known chords; Revert reads the data file again and drops every change.
// Changes are not written to the data file.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "corvendi/ChordLibrary.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API ChordLibraryEditor : public ChordMapEditor {
  public:
    std::shared_ptr<ChordMapper> Init(std::shared_ptr<ChordMapper> map) override;

    // The map being edited; nullptr before Init or when the map is not a ChordLibrary.
    const std::shared_ptr<ChordLibrary>& Library() const { return mLibrary; }

    // Gives a known chord the fingering written as the data file writes frets ("x32010").
    // False, changing nothing, for an unknown code, bad frets or nothing to edit.
    bool SetFingering(int32_t code, std::string_view frets);
    // Removes a chord's fingering: the chord is then drawn as its name in diagram mode.
    bool RemoveFingering(int32_t code);
    // Reads the map's data file again; false when there is nothing to edit or it cannot be read.
    bool Revert();

  private:
    std::shared_ptr<ChordLibrary> mLibrary;
};

}  // namespace corvendi
