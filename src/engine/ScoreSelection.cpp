// The selection and the clipboard (SelectionEditor does the work).
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "engine/SelectionEditor.h"

namespace corvendi {

int32_t Score::SetSelection(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    return SelectionEditor(*this).SetSelection(Left, Top, Right, Bottom);
}

void Score::ClearSelection() {
    mState->Selected.clear();
    mState->SelVoiceIDs.clear();
    mState->SelStaffs.clear();
}

int32_t Score::PutClipboard(bool IsMove) {
    detail::EditStep step(*this);
    return SelectionEditor(*this).PutClipboard(IsMove);
}

void Score::GetClipboard(bool Clear) {
    (void)Clear;
    detail::EditStep step(*this);
    SelectionEditor(*this).GetClipboard();
}

}  // namespace corvendi
