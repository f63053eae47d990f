// The whole document as one JSON object: every stored property of the score, its score-wide
// events, instruments with their drum maps, and the staffs with their events, voices and notes.
// Two documents are equal exactly when their dumps are, so tests and tools compare documents
// through it. The shape is stable: keys are only ever added. Numbers are written without
// regard to the C locale; floats in their shortest round-trip form. The shape is documented in
// docs/ARCHITECTURE.md ("The document dump").
#pragma once

#include <string>

#include "corvendi/Export.h"

namespace corvendi {

class Score;

// One line of JSON, no trailing newline. "lastPage" is the score's LastPage() as it stands: a
// caller that wants the final count lets pagination finish first.
CORVENDI_API std::string ToJson(const Score& score);

}  // namespace corvendi
