#include "corvendi/dialogs/Dialog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "model/ProcessState.h"

namespace corvendi {

namespace {

// A caption as a key: without '&' marks, in lower case.
std::string KeyText(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (c != '&') key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

bool IsDigitKey(int32_t key) { return key >= '0' && key <= '9'; }

}  // namespace

Dialog::Dialog(std::string formName, std::string title)
    : mFormName(std::move(formName)), mTitle(std::move(title)) {
    // Loading the form: until Init has run, change handlers treat the dialog as not ready.
    SetResult(kDialogLoaded);
}

void Dialog::SetResult(int32_t result) {
    mResult = result;
    Process().DialogResult = result;
}

DialogControl& Dialog::Add(DialogControl control) {
    mControls.push_back(std::move(control));
    mTextBoxStates.emplace_back();
    return mControls.back();
}

void Dialog::Add(std::vector<DialogControl> controls) {
    for (auto& control : controls) Add(std::move(control));
}

const DialogControl* Dialog::Find(std::string_view key) const {
    for (const auto& control : mControls) {
        if (control.Name == key) return &control;
    }
    const std::string wanted = KeyText(key);
    if (wanted.empty()) return nullptr;
    for (const auto& control : mControls) {
        if (control.Kind != ControlKind::Label && control.Kind != ControlKind::Frame &&
            KeyText(control.Caption) == wanted) {
            return &control;
        }
    }
    for (const auto& control : mControls) {
        if (KeyText(control.Label) == wanted) return &control;
    }
    return nullptr;
}

DialogControl* Dialog::Control(std::string_view key) {
    return const_cast<DialogControl*>(std::as_const(*this).Find(key));
}

DialogControl& Dialog::At(std::string_view name) {
    for (auto& control : mControls) {
        if (control.Name == name) return control;
    }
    // Only the form's own code calls this, with the names it created.
    std::abort();
}

Dialog::TextBoxState& Dialog::StateOf(const DialogControl& textBox) {
    return mTextBoxStates[static_cast<size_t>(&textBox - mControls.data())];
}

void Dialog::SetNumberRule(std::string_view textBox, NumberRule rule) {
    StateOf(At(textBox)).Rule = rule;
}

int32_t Dialog::NumberIn(std::string_view textBox) const {
    const DialogControl* box = Find(textBox);
    return box ? NInt(LeadingNumber(box->Text)) : 0;
}

DialogControl* Dialog::UpDownOf(std::string_view textBox) {
    for (auto& control : mControls) {
        if (control.Kind == ControlKind::UpDown && control.Buddy == textBox) return &control;
    }
    return nullptr;
}

void Dialog::SetNumber(std::string_view textBox, int32_t value) {
    At(textBox).Text = std::to_string(value);
    if (DialogControl* upDown = UpDownOf(textBox)) upDown->Position = value;
}

// --- focus and typing ------------------------------------------------------------------------

namespace {

DialogControl* Usable(DialogControl* control, ControlKind kind) {
    if (!control || control->Kind != kind || !control->Enabled || !control->Visible) {
        return nullptr;
    }
    return control;
}

DialogControl* Typable(DialogControl* control) {
    control = Usable(control, ControlKind::TextBox);
    return control && !control->Locked ? control : nullptr;
}

}  // namespace

bool Dialog::Focus(std::string_view control) {
    DialogControl* box = Usable(Control(control), ControlKind::TextBox);
    if (!box) return false;
    TextBoxState& state = StateOf(*box);
    // A click places the caret instead of selecting everything.
    state.WholeTextSelected = !state.MouseDown;
    return true;
}

bool Dialog::MouseDown(std::string_view control) {
    DialogControl* box = Usable(Control(control), ControlKind::TextBox);
    if (!box) return false;
    StateOf(*box).MouseDown = true;
    return true;
}

bool Dialog::MouseUp(std::string_view control) {
    DialogControl* box = Usable(Control(control), ControlKind::TextBox);
    if (!box) return false;
    StateOf(*box).MouseDown = false;
    return true;
}

bool Dialog::KeyPress(std::string_view control, int32_t key) {
    DialogControl* box = Typable(Control(control));
    if (!box) return false;
    TextBoxState& state = StateOf(*box);
    if (state.Rule != NumberRule::None) {
        if (key == kKeyEnter) {
            Validate(*box);
            OnTextCommitted(*box);
            return false;
        }
        if (key != kKeyBackspace && !IsDigitKey(key)) {
            ++mBeeps;
            return false;
        }
    }
    if (key == kKeyBackspace) {
        if (state.WholeTextSelected) {
            box->Text.clear();
        } else if (!box->Text.empty()) {
            box->Text.pop_back();
        }
    } else if (key >= 32 && key < 256) {
        if (state.WholeTextSelected) box->Text.clear();
        box->Text += static_cast<char>(key);
    } else {
        return false;
    }
    state.WholeTextSelected = false;
    OnTextChanged(*box);
    return true;
}

bool Dialog::SetText(std::string_view control, std::string text) {
    DialogControl* box = Typable(Control(control));
    if (!box) return false;
    box->Text = std::move(text);
    StateOf(*box).WholeTextSelected = false;
    OnTextChanged(*box);
    return true;
}

bool Dialog::Leave(std::string_view control) {
    DialogControl* box = Usable(Control(control), ControlKind::TextBox);
    if (!box) return false;
    StateOf(*box).WholeTextSelected = false;
    Validate(*box);
    OnTextCommitted(*box);
    return true;
}

bool Dialog::TypeText(std::string_view control, std::string_view text) {
    if (!Focus(control)) return false;
    for (const char c : text) KeyPress(control, static_cast<unsigned char>(c));
    return Leave(control);
}

// Corrects a number box in place. The ready flag is cleared meanwhile, so that the correction
// does not run the arrows' handlers again.
bool Dialog::Validate(DialogControl& textBox) {
    const NumberRule rule = StateOf(textBox).Rule;
    if (rule == NumberRule::None) return true;
    const bool wasReady = mReady;
    mReady = false;
    int32_t value = NInt(LeadingNumber(textBox.Text));
    if (rule == NumberRule::AtLeastOne) {
        value = std::max(value, 1);
        textBox.Text = std::to_string(value);
    } else {
        DialogControl* upDown = UpDownOf(textBox.Name);
        if (upDown) value = std::clamp(value, upDown->Min, std::max(upDown->Min, upDown->Max));
        SetNumber(textBox.Name, value);
    }
    mReady = wasReady;
    return true;
}

// --- lists, buttons and arrows ---------------------------------------------------------------

bool Dialog::SelectItem(std::string_view control, int32_t index) {
    DialogControl* list = Control(control);
    if (list && list->Kind == ControlKind::Tabs)
        list = Usable(list, ControlKind::Tabs);
    else
        list = Usable(list, ControlKind::List);
    if (!list || index < -1 || index >= static_cast<int32_t>(list->Items.size())) return false;
    list->ListIndex = index;
    OnListChanged(*list);
    return true;
}

bool Dialog::Click(std::string_view control) {
    DialogControl* target = Control(control);
    if (!target || !target->Enabled || !target->Visible) return false;
    switch (target->Kind) {
        case ControlKind::Option:
            for (auto& other : mControls) {
                if (other.Kind == ControlKind::Option && other.Group == target->Group) {
                    other.Value = false;
                }
            }
            target->Value = true;
            break;
        case ControlKind::CheckBox: target->Value = !target->Value; break;
        case ControlKind::Picture: break;
        case ControlKind::Button: PressButton(*target); return true;
        default: return false;
    }
    OnClick(*target);
    return true;
}

void Dialog::PressButton(DialogControl& button) {
    if (!mOpen) return;
    if (button.Name == "cmdOk") {
        BeforeOk();
        SetResult(kDialogOk);
        mOpen = false;
    } else if (button.Name == "cmdCancel") {
        SetResult(kDialogCancel);
        mOpen = false;
        Unload();
    } else {
        OnClick(button);
    }
}

void Dialog::CloseByFrame() {
    if (!mOpen) return;
    mOpen = false;
    Unload();
}

bool Dialog::SpinUp(std::string_view control) {
    DialogControl* upDown = Usable(Control(control), ControlKind::UpDown);
    if (!upDown) return false;
    Spin(*upDown, 1);
    return true;
}

bool Dialog::SpinDown(std::string_view control) {
    DialogControl* upDown = Usable(Control(control), ControlKind::UpDown);
    if (!upDown) return false;
    Spin(*upDown, -1);
    return true;
}

// The arrows step the number in the box, not the up-down's own position, and act only once the
// dialog is ready. A box without a number rule (the voices) is simply kept in step.
void Dialog::Spin(DialogControl& upDown, int32_t step) {
    if (!mReady) return;
    DialogControl* box = Control(upDown.Buddy);
    if (!box) return;
    const int64_t wanted = int64_t{NumberIn(box->Name)} + step;
    const auto value = static_cast<int32_t>(
        std::clamp<int64_t>(wanted, upDown.Min, std::max(upDown.Min, upDown.Max)));
    box->Text = std::to_string(value);
    upDown.Position = value;
    Validate(*box);
    OnTextChanged(*box);
    OnTextCommitted(*box);
}

}  // namespace corvendi
