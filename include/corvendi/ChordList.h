// A list a host shows chord names in, such as a combo box: Score::LoadChordList fills it with
// the chord mapper's chords, each entry carrying the chord's code (what a chord event stores in
// Value1).
//
// Implement it over a GUI combo box, a test list or a scripting object. The score calls it on the
// host's thread, Clear first and then AddItem and SetItemData once per chord in the mapper's
// order; an implementation must not call back into the score meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API ChordList {
  public:
    virtual ~ChordList() = default;
    // Removes every entry.
    virtual void Clear() = 0;
    // Appends an entry showing `text`.
    virtual void AddItem(const std::string& text) = 0;
    // Attaches `code` to entry `index` (0-based, in the order AddItem appended them).
    virtual void SetItemData(int32_t index, int32_t code) = 0;
};

}  // namespace corvendi
