// The selection of notes.
#include "engine/ScoreAccess.h"

namespace corvendi {

void Score::ClearSelection() {
    mState->Selected.clear();
    mState->SelVoiceIDs.clear();
    mState->SelStaffs.clear();
}

}  // namespace corvendi
