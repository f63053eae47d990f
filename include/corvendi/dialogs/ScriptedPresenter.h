// A presenter that answers dialogs from a queue of prepared answers: for tests, scripts and
// command-line editing.
//
// An answer names controls by their form names ("txtQuant", "optWhere(1)", "cboStaff",
// "txtTitle(0)") or by their captions ("or After", "Ok"), or by the caption of the label before
// them ("Voices", "Category"); gives each a value; and ends with a button ("cmdOk", "cmdCancel",
// "cmdApply", or "Ok", "Cancel", ...). Values are applied in order, as a user would:
// - text box: focus (whole text selected), each character typed through the box's key filter,
//   then leaving the box (its validation runs);
// - list or tab strip: the entry at that 0-based index, or the entry with exactly that text;
//   "-1" for none;
// - option, picture: chosen, clicked (the value is ignored);
// - check box: "1" checks, "0" clears;
// - up-down: "up" or "down" presses that arrow, a number presses it as often (negative: down);
// - button (before the last): pressed; a value is the font chooser's answer to the press
//   (a "Font" button): "face, size, bold, italic", the size and the styles optional, e.g.
//   "Times New Roman, 14, bold". Without a value the chooser is cancelled.
//
// The text form of an answer, for scripts: entries separated by ";", each "key=value" or a
// bare key (an option, check box or button to press); the last bare button entry closes it:
//     "txtQuant=2; or After; txtMesNo=5; Ok"
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corvendi/dialogs/DialogControl.h"
#include "corvendi/dialogs/DialogPresenter.h"

#include "corvendi/Export.h"

namespace corvendi {

struct CORVENDI_API DialogAnswer {
    // The form the answer is meant for ("frmCVDInsMes"); empty: any form.
    std::string Form;
    std::vector<std::pair<std::string, std::string>> Values;
    // The button that closes the dialog.
    std::string Button = "cmdOk";

    // nullopt for a text without a closing button.
    static std::optional<DialogAnswer> Parse(std::string_view text);
};

// What a user picks in a font chooser. Size 0 keeps the font's size.
struct CORVENDI_API FontAnswer {
    std::string Face;
    float Size = 0.0f;
    bool Bold = false;
    bool Italic = false;

    // "face[, size][, bold][, italic]"; nullopt without a face, or for a size that is not a
    // positive number or another style word.
    static std::optional<FontAnswer> Parse(std::string_view text);
};

class CORVENDI_API ScriptedPresenter : public DialogPresenter {
  public:
    void Queue(DialogAnswer answer);
    // Each answer in turn goes to the next dialog presented.
    void Present(Dialog& dialog) override;
    // Answers with the font given with the button being pressed; false when none was.
    bool ChooseFont(Font& font) override;

    std::size_t Pending() const { return mAnswers.size(); }
    // The forms presented so far, in order.
    const std::vector<std::string>& Presented() const { return mPresented; }
    // What could not be applied: a dialog without an answer or of another form (both cancelled),
    // an unknown control, a refused value. Empty when every answer went through.
    const std::vector<std::string>& Problems() const { return mProblems; }

  private:
    bool Apply(Dialog& dialog, const std::string& key, const std::string& value);
    bool PressWithFont(Dialog& dialog, const DialogControl& button, const std::string& value);

    std::deque<DialogAnswer> mAnswers;
    std::vector<std::string> mPresented;
    std::vector<std::string> mProblems;
    std::optional<FontAnswer> mFontAnswer;  // for the button being pressed
};

}  // namespace corvendi
