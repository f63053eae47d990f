#include "corvendi/dialogs/ScriptedPresenter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "corvendi/Font.h"
#include "corvendi/dialogs/Dialog.h"

namespace corvendi {

namespace {

// The largest point size a font chooser offers.
constexpr double kLargestFontSize = 1638.0;

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

int32_t ListIndexOf(const DialogControl& list, const std::string& value) {
    if (IsWholeNumber(value)) return NInt(LeadingNumber(value));
    for (size_t i = 0; i < list.Items.size(); ++i) {
        if (list.Items[i].Text == value) return static_cast<int32_t>(i);
    }
    return -2;  // no such entry: refused by SelectItem
}

bool SetCheck(Dialog& dialog, const DialogControl& box, const std::string& value) {
    const bool wanted = value != "0";
    return box.Value == wanted || dialog.Click(box.Name);
}

bool Spin(Dialog& dialog, const DialogControl& upDown, const std::string& value) {
    if (value == "up") return dialog.SpinUp(upDown.Name);
    if (value == "down") return dialog.SpinDown(upDown.Name);
    if (!IsWholeNumber(value)) return false;
    const int32_t steps = NInt(LeadingNumber(value));
    for (int32_t i = 0; i < std::min(std::abs(steps), 1000); ++i) {
        if (!(steps > 0 ? dialog.SpinUp(upDown.Name) : dialog.SpinDown(upDown.Name))) return false;
    }
    return true;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

bool IsNumberText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '.';
    });
}

}  // namespace

bool DialogPresenter::ChooseFont(Font& /*font*/) { return false; }

void CancelPresenter::Present(Dialog& dialog) { dialog.Click("cmdCancel"); }

std::optional<DialogAnswer> DialogAnswer::Parse(std::string_view text) {
    DialogAnswer answer;
    answer.Button.clear();
    while (!text.empty()) {
        const size_t end = std::min(text.find(';'), text.size());
        const std::string_view entry = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (entry.empty()) continue;
        const size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            // A bare key presses something; the last one closes the dialog.
            if (!answer.Button.empty()) answer.Values.emplace_back(answer.Button, "");
            answer.Button = std::string(entry);
        } else {
            if (!answer.Button.empty()) answer.Values.emplace_back(answer.Button, "");
            answer.Button.clear();
            answer.Values.emplace_back(std::string(Trimmed(entry.substr(0, equals))),
                                       std::string(Trimmed(entry.substr(equals + 1))));
        }
    }
    if (answer.Button.empty()) return std::nullopt;
    return answer;
}

std::optional<FontAnswer> FontAnswer::Parse(std::string_view text) {
    FontAnswer answer;
    size_t part = 0;
    while (!text.empty() || part == 0) {
        const size_t end = std::min(text.find(','), text.size());
        const std::string_view entry = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::string word = Lowered(entry);
        if (part++ == 0) {
            answer.Face = std::string(entry);
        } else if (word.empty()) {
            continue;
        } else if (word == "bold") {
            answer.Bold = true;
        } else if (word == "italic") {
            answer.Italic = true;
        } else if (IsNumberText(word) && LeadingNumber(word) > 0.0 && answer.Size == 0.0f) {
            answer.Size = static_cast<float>(std::min(LeadingNumber(word), kLargestFontSize));
        } else if (word != "regular") {
            return std::nullopt;
        }
    }
    if (answer.Face.empty()) return std::nullopt;
    return answer;
}

bool ScriptedPresenter::ChooseFont(Font& font) {
    if (!mFontAnswer) return false;
    font.SetName(mFontAnswer->Face);
    if (mFontAnswer->Size > 0.0f) font.SetSize(mFontAnswer->Size);
    font.SetBold(mFontAnswer->Bold);
    font.SetItalic(mFontAnswer->Italic);
    mFontAnswer.reset();
    return true;
}

void ScriptedPresenter::Queue(DialogAnswer answer) { mAnswers.push_back(std::move(answer)); }

void ScriptedPresenter::Present(Dialog& dialog) {
    mPresented.push_back(dialog.FormName());
    if (mAnswers.empty()) {
        mProblems.push_back(dialog.FormName() + ": no answer queued");
        dialog.Click("cmdCancel");
        return;
    }
    const DialogAnswer answer = std::move(mAnswers.front());
    mAnswers.pop_front();
    if (!answer.Form.empty() && answer.Form != dialog.FormName()) {
        mProblems.push_back(dialog.FormName() + ": the answer is for " + answer.Form);
        dialog.Click("cmdCancel");
        return;
    }
    for (const auto& [key, value] : answer.Values) {
        if (!Apply(dialog, key, value)) {
            mProblems.push_back(dialog.FormName() + ": " + key + " refused \"" + value + "\"");
        }
    }
    if (!dialog.Click(answer.Button)) {
        mProblems.push_back(dialog.FormName() + ": no button " + answer.Button);
    }
    if (dialog.IsOpen()) dialog.CloseByFrame();
}

bool ScriptedPresenter::Apply(Dialog& dialog, const std::string& key, const std::string& value) {
    const DialogControl* control = dialog.Find(key);
    if (!control) return false;
    switch (control->Kind) {
        case ControlKind::TextBox: return dialog.TypeText(control->Name, value);
        case ControlKind::List:
        case ControlKind::Tabs:
            return dialog.SelectItem(control->Name, ListIndexOf(*control, value));
        case ControlKind::CheckBox: return SetCheck(dialog, *control, value);
        case ControlKind::UpDown: return Spin(dialog, *control, value);
        case ControlKind::Button: return PressWithFont(dialog, *control, value);
        case ControlKind::Option:
        case ControlKind::Picture: return dialog.Click(control->Name);
        case ControlKind::Label:
        case ControlKind::Frame: return false;
    }
    return false;
}

// The font answer stays for this press only: a button that opens no chooser leaves none behind.
bool ScriptedPresenter::PressWithFont(Dialog& dialog, const DialogControl& button,
                                      const std::string& value) {
    if (!value.empty()) {
        mFontAnswer = FontAnswer::Parse(value);
        if (!mFontAnswer) return false;
    }
    const bool pressed = dialog.Click(button.Name);
    mFontAnswer.reset();
    return pressed;
}

}  // namespace corvendi
