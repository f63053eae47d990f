#include "corvendi/ChordMapper.h"

#include "corvendi/ChordLibrary.h"

namespace corvendi {

// A new score names and draws its chords with the chord library of Common/Config/Chords.txt.
std::shared_ptr<ChordMapper> CreateChordMapper() { return std::make_shared<ChordLibrary>(); }

}  // namespace corvendi
