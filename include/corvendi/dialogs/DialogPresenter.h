// The seam that shows dialog models to a user: a terminal form, a window toolkit, a script.
//
// For whoever implements it:
// - Threading: Present runs on the thread of the score that opened the dialog, and returns only
//   when the dialog is closed (modal). It may run the host's message loop meanwhile.
// - What to do: show Dialog::Controls(), pass every user action to the dialog's action members
//   (Focus, KeyPress, Leave, SelectItem, Click, SpinUp, ...), and show the controls again after
//   each action: the dialog's handlers may have changed any of them. Keep no logic of your own:
//   corrections, lists and enabled states all come from the model.
// - Closing: return once Dialog::IsOpen() is false. If the user closes the window some other
//   way, call Dialog::CloseByFrame() before returning; a dialog still open on return is treated
//   the same way.
// - Failure: Present has no failure value. A presenter that cannot show anything presses
//   "Cancel" (Click("cmdCancel")), which leaves the caller's document untouched.
// - Fonts: a dialog's "Font" button asks ChooseFont while Present runs. Show a font chooser
//   on the font given; on confirmation store face, size, bold and italic in it and return true.
//   The default keeps the font and returns false, as a cancelled chooser does.
// - Growth: new dialogs are new Dialog subclasses with the same control kinds, so a presenter
//   that handles every ControlKind keeps working as dialogs are added.
#pragma once

#include "corvendi/Export.h"

namespace corvendi {

class Dialog;
class Font;

class CORVENDI_API DialogPresenter {
  public:
    virtual ~DialogPresenter() = default;
    virtual void Present(Dialog& dialog) = 0;
    virtual bool ChooseFont(Font& font);
};

// Presses "Cancel" on every dialog: the headless platform's default, so that nothing is ever
// changed by a dialog nobody answers.
class CORVENDI_API CancelPresenter : public DialogPresenter {
  public:
    void Present(Dialog& dialog) override;
};

}  // namespace corvendi
