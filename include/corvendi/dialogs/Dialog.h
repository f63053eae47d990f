// A modal dialog as a model: its controls as typed fields, and the form's own logic (loading,
// change handlers, key filters, validation, buttons). It never draws; a DialogPresenter shows it
// and reports what the user does through the action members below.
//
// Lifecycle: constructing a dialog loads the form (the shared dialog result becomes 5 and the
// ready flag is cleared); the derived dialog's Init fills the start values and sets the ready
// flag; the caller presents it (Platform::PresentDialog) and afterwards reads the values back.
// "Ok" sets the dialog result to 1 and hides the form, "Cancel" sets 2 and unloads it; a dialog
// closed any other way (its window frame) keeps 5 and counts as neither.
//
// Every action names a control by its name or, where it has one, by its caption or the caption
// of the label before it ('&' marks ignored, letter case ignored). An action on a control that
// does not exist, does not take that action, is disabled or hidden (or typing into a locked
// text box) returns false and changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/dialogs/DialogControl.h"

#include "corvendi/Export.h"

namespace corvendi {

// Key codes a presenter passes to KeyPress besides printable characters.
constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeyEnter = 13;

// The outcome of a dialog, as the shared dialog result holds it.
constexpr int32_t kDialogOk = 1;
constexpr int32_t kDialogCancel = 2;
constexpr int32_t kDialogLoaded = 5;

class CORVENDI_API Dialog {
  public:
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // The form's name ("frmCVDInsMes") and its title bar.
    const std::string& FormName() const { return mFormName; }
    const std::string& Title() const { return mTitle; }

    // The form's place on the screen and its size, in twips.
    int32_t Left() const { return mLeft; }
    int32_t Top() const { return mTop; }
    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    void Move(int32_t left, int32_t top) {
        mLeft = left;
        mTop = top;
    }

    const std::vector<DialogControl>& Controls() const { return mControls; }
    // By name or alias; nullptr when absent.
    const DialogControl* Find(std::string_view key) const;

    // True from loading until a button or the frame closes the dialog.
    bool IsOpen() const { return mOpen; }
    // kDialogLoaded while open or after closing by the frame, else kDialogOk or kDialogCancel.
    int32_t Result() const { return mResult; }
    // How often the dialog sounded the system beep (a refused key).
    int32_t Beeps() const { return mBeeps; }

    // --- what the user does ------------------------------------------------------------------
    // Focus on a text box selects its whole text, unless the mouse button is down over it.
    bool Focus(std::string_view control);
    bool MouseDown(std::string_view control);
    bool MouseUp(std::string_view control);
    // A key typed into a text box: a character, kKeyBackspace or kKeyEnter. True when the key
    // reached the box (typed text replaces a whole-text selection); false when it was swallowed.
    bool KeyPress(std::string_view control, int32_t key);
    // The text box's whole text replaced at once (pasting), without the key filter.
    bool SetText(std::string_view control, std::string text);
    // Leaving a text box runs its validation.
    bool Leave(std::string_view control);
    // Focus, each character of `text` typed, then leaving: what a user typing a value does.
    bool TypeText(std::string_view control, std::string_view text);
    // A list entry chosen (-1 for none), or a tab of a tab strip.
    bool SelectItem(std::string_view control, int32_t index);
    // A button pressed, an option chosen, a check box toggled or a picture clicked.
    bool Click(std::string_view control);
    // An up-down control's arrows.
    bool SpinUp(std::string_view control);
    bool SpinDown(std::string_view control);
    // The window frame closed the dialog.
    void CloseByFrame();

  protected:
    Dialog(std::string formName, std::string title);

    // How a text box reads and corrects its number.
    enum class NumberRule {
        None,          // any text, no filter
        AtLeastOne,    // digits only; below 1 becomes 1 on leaving; arrows within its up-down
        WithinUpDown,  // digits only; clamped to its up-down's bounds on leaving
    };

    DialogControl& Add(DialogControl control);
    void Add(std::vector<DialogControl> controls);
    DialogControl* Control(std::string_view key);
    DialogControl& At(std::string_view name);
    void SetNumberRule(std::string_view textBox, NumberRule rule);
    void SetSize(int32_t width, int32_t height) {
        mWidth = width;
        mHeight = height;
    }
    void SetReady(bool ready) { mReady = ready; }
    bool Ready() const { return mReady; }
    // The number a text box holds, read as a leading number (no number: 0).
    int32_t NumberIn(std::string_view textBox) const;
    // The up-down stepping a text box, or nullptr.
    DialogControl* UpDownOf(std::string_view textBox);
    void SetNumber(std::string_view textBox, int32_t value);

    // Handlers of the derived forms; the defaults do nothing.
    virtual void OnListChanged(DialogControl& /*list*/) {}
    virtual void OnClick(DialogControl& /*control*/) {}
    // A text box's text was edited: typed or pasted (before its validation), or stepped by its
    // arrows.
    virtual void OnTextChanged(DialogControl& /*textBox*/) {}
    // A text box's value was settled: the box was left or Enter pressed (after its validation),
    // or its up-down stepped it.
    virtual void OnTextCommitted(DialogControl& /*textBox*/) {}
    // Runs before "Ok" closes the dialog.
    virtual void BeforeOk() {}
    // "Cancel" unloads the form: a dialog drops what it holds of its caller.
    virtual void Unload() {}

  private:
    struct TextBoxState {
        NumberRule Rule = NumberRule::None;
        bool WholeTextSelected = false;
        bool MouseDown = false;
    };
    TextBoxState& StateOf(const DialogControl& textBox);
    bool Validate(DialogControl& textBox);
    void Spin(DialogControl& upDown, int32_t step);
    void PressButton(DialogControl& button);
    void SetResult(int32_t result);

    std::string mFormName;
    std::string mTitle;
    std::vector<DialogControl> mControls;
    std::vector<TextBoxState> mTextBoxStates;  // parallel to mControls
    bool mReady = false;
    bool mOpen = true;
    int32_t mResult = kDialogLoaded;
    int32_t mBeeps = 0;
    int32_t mLeft = 0;
    int32_t mTop = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
};

}  // namespace corvendi
