// corvendi edit: a properties dialog answered from the command line. The dialog is opened
// through Score::ShowDialog like a host opens it; the presenter below either lists it or checks
// the keys and hands the answers to the engine's scripted presenter, which presses "Ok".
#include <corvendi/Enums.h>
#include <corvendi/FileName.h>
#include <corvendi/Staff.h>
#include <corvendi/dialogs/Dialog.h>
#include <corvendi/dialogs/ScriptedPresenter.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "Host.h"

namespace corvendi::cli {

namespace {

constexpr int32_t kScreenTwipsPerPixel = 15;

std::string KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::Frame: return "frame";
        case ControlKind::TextBox: return "text";
        case ControlKind::UpDown: return "arrows";
        case ControlKind::Option: return "option";
        case ControlKind::CheckBox: return "check";
        case ControlKind::List: return "list";
        case ControlKind::Button: return "button";
        case ControlKind::Tabs: return "tabs";
        case ControlKind::Picture: return "picture";
    }
    return "control";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ValueText(const DialogControl& control) {
    switch (control.Kind) {
        case ControlKind::TextBox:
        case ControlKind::Picture: return Quoted(control.Text);
        case ControlKind::Option:
        case ControlKind::CheckBox: return control.Value ? "1" : "0";
        case ControlKind::UpDown: return std::to_string(control.Position);
        case ControlKind::List:
        case ControlKind::Tabs: {
            const auto index = control.ListIndex;
            if (index < 0 || index >= static_cast<int32_t>(control.Items.size())) return "-1";
            return std::to_string(index) + " " +
                   Quoted(control.Items[static_cast<size_t>(index)].Text);
        }
        default: return {};
    }
}

// One line per control a script can answer: key, kind, caption aliases, value, state.
void PrintControls(const Dialog& dialog) {
    std::printf("%s (%s)\n", dialog.Title().c_str(), dialog.FormName().c_str());
    for (const DialogControl& control : dialog.Controls()) {
        if (control.Kind == ControlKind::Label || control.Kind == ControlKind::Frame) continue;
        std::string aliases;
        for (const std::string* alias : {&control.Caption, &control.Label}) {
            if (!alias->empty()) aliases += (aliases.empty() ? "" : ", ") + Quoted(*alias);
        }
        std::string state;
        if (!control.Enabled) state += " (disabled)";
        if (!control.Visible) state += " (hidden)";
        if (control.Locked) state += " (locked)";
        std::printf("  %-16s %-8s %-28s %s%s\n", control.Name.c_str(),
                    KindName(control.Kind).c_str(), aliases.c_str(), ValueText(control).c_str(),
                    state.c_str());
    }
}

// Lists the dialog, or answers it when every key names one of its controls; otherwise it is
// cancelled and the unknown keys are kept.
class EditPresenter : public DialogPresenter {
  public:
    EditPresenter(bool list, DialogAnswer answer) : mList(list) {
        mScript.Queue(std::move(answer));
    }

    void Present(Dialog& dialog) override {
        mPresented = true;
        mKeys.clear();
        for (const DialogControl& control : dialog.Controls()) {
            if (control.Kind != ControlKind::Label && control.Kind != ControlKind::Frame) {
                mKeys.push_back(control.Name);
            }
        }
        if (mList) {
            PrintControls(dialog);
            dialog.Click("cmdCancel");
            return;
        }
        for (const auto& [key, value] : mAnswerKeys) {
            if (!dialog.Find(key)) mUnknown.push_back(key);
        }
        if (!mUnknown.empty()) {
            dialog.Click("cmdCancel");
            return;
        }
        mScript.Present(dialog);
    }
    bool ChooseFont(Font& font) override { return mScript.ChooseFont(font); }

    void Expect(std::vector<std::pair<std::string, std::string>> values) {
        mAnswerKeys = std::move(values);
    }
    bool Presented() const { return mPresented; }
    const std::vector<std::string>& Unknown() const { return mUnknown; }
    const std::vector<std::string>& Keys() const { return mKeys; }
    const std::vector<std::string>& Problems() const { return mScript.Problems(); }

  private:
    bool mList;
    ScriptedPresenter mScript;
    std::vector<std::pair<std::string, std::string>> mAnswerKeys;
    std::vector<std::string> mUnknown;
    std::vector<std::string> mKeys;
    bool mPresented = false;
};

DialogAnswer AnswerOf(const std::vector<std::string>& sets) {
    DialogAnswer answer;
    for (const std::string& set : sets) {
        const size_t equals = set.find('=');
        answer.Values.emplace_back(set.substr(0, equals), set.substr(equals + 1));
    }
    answer.Button = "cmdOk";
    return answer;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

// The staff or measure the dialog opens on, as the score's selection; false (with a message)
// when the score has no such staff.
bool SelectTarget(const Host& host, Score& score, const CommandLine& line) {
    if (line.Dialog == "staff") {
        const auto staff = score.Staff(line.DialogTarget);
        if (!staff) {
            host.Error("--dialog staff " + std::to_string(line.DialogTarget) + ": the score has " +
                       std::to_string(score.Staffs()) + " staffs");
            return false;
        }
        staff->SetSelected(true);
    } else if (line.Dialog == "measure") {
        score.SetSelectedMeasure(line.DialogTarget);
    }
    return true;
}

int32_t DialogTypeOf(const std::string& name) {
    if (name == "staff") return dlgStaffProperties;
    if (name == "measure") return dlgMeasureProperties;
    return dlgScoreProperties;
}

}  // namespace

int RunEdit(const CommandLine& line) {
    const std::string& input = line.Operands[0];
    Host host(HostOptions{kScreenTwipsPerPixel, line.Quiet, line.FixedClock});
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return kExitFile;
    const std::string output = line.Output.empty() ? input : line.Output;
    const std::optional<int32_t> format =
        line.Output.empty() ? std::optional<int32_t>(score->FileType()) : FileFormatOf(output);
    if (!line.List && line.Output.empty() && score->FileType() != fmtQuavrix) {
        host.Error(input + ": a MIDI file is not edited in place: give -o OUT");
        return kExitUsage;
    }
    if (!format) {
        host.Error(output + ": the output must end in .sco, .mid or .midi");
        return kExitUsage;
    }
    if (!SelectTarget(host, *score, line)) return kExitUsage;

    const DialogAnswer answer = AnswerOf(line.Sets);
    auto presenter = std::make_shared<EditPresenter>(line.List, answer);
    presenter->Expect(answer.Values);
    host.Platform()->SetDialogPresenter(presenter);
    score->ShowDialog(DialogTypeOf(line.Dialog));
    host.Platform()->SetDialogPresenter(nullptr);

    if (!presenter->Presented()) {
        host.Error("the " + line.Dialog + " dialog cannot be opened yet");
        return kExitUsage;
    }
    if (!presenter->Unknown().empty()) {
        host.Error("unknown control " + Joined(presenter->Unknown()) +
                   "; the keys are: " + Joined(presenter->Keys()));
        return kExitUsage;
    }
    if (!presenter->Problems().empty()) {
        for (const std::string& problem : presenter->Problems()) host.Error(problem);
        host.Error("nothing was written");
        return kExitUsage;
    }
    if (line.List) return kExitOk;
    if (!score->SaveFile(output, *format)) {
        host.Error(output + ": the file could not be written");
        return kExitFile;
    }
    std::printf("wrote %s\n", std::filesystem::absolute(output).lexically_normal().c_str());
    return kExitOk;
}

}  // namespace corvendi::cli
