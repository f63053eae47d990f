#include "dialogs/TimeAndKeyRows.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "dialogs/ScorePropertiesForm.h"

namespace corvendi {

using namespace score_form;

namespace {

constexpr int32_t kBeatUnit = 128;

DialogControl& Beats(const ControlLookup& at) { return at("txtTime(0)"); }
DialogControl& BeatNote(const ControlLookup& at) { return at("txtTime(1)"); }

std::vector<ListItem> KeyItems(const std::vector<std::string>& texts) {
    std::vector<ListItem> items;
    int32_t key = -kKeyListOffset;
    for (const std::string& text : texts) items.push_back({text, key++});
    return items;
}

}  // namespace

std::string TimeOptionName(int32_t index) { return "optTime(" + std::to_string(index) + ")"; }

std::vector<DialogControl> TimeSignatureControls(const std::string& frame, const std::string& tab) {
    std::vector<DialogControl> controls;
    for (int32_t i = 0; i < kTimeOptions; ++i) {
        DialogControl option;
        option.Name = TimeOptionName(i);
        option.Kind = ControlKind::Option;
        option.Caption = kTimeCaptions[static_cast<size_t>(i)];
        option.Text = std::to_string(kTimeTags[static_cast<size_t>(i)]);
        option.Group = "optTime";
        option.Frame = frame;
        option.Tab = tab;
        controls.push_back(std::move(option));
    }
    for (const char* name : {"txtTime(0)", "txtTime(1)"}) {
        DialogControl box;
        box.Name = name;
        box.Kind = ControlKind::TextBox;
        box.Frame = frame;
        box.Tab = tab;
        box.Locked = true;
        controls.push_back(std::move(box));
    }
    return controls;
}

void ShowTimeValue(const ControlLookup& at, std::optional<int32_t> value) {
    int32_t chosen = -1;
    if (value) {
        chosen = kFreeTimeOption;
        for (int32_t i = 0; i < kFreeTimeOption; ++i) {
            if (kTimeTags[static_cast<size_t>(i)] == *value) chosen = i;
        }
    }
    for (int32_t i = 0; i < kTimeOptions; ++i) at(TimeOptionName(i)).Value = i == chosen;
    if (chosen == kFreeTimeOption) {
        Beats(at).Text = std::to_string(IDiv(*value, kBeatUnit));
        BeatNote(at).Text = std::to_string(BeatNoteOfLength(IMod(*value, kBeatUnit)));
    }
    LockFreeTimeEntry(at);
}

std::optional<int32_t> ChosenTimeOption(const ControlLookup& at) {
    for (int32_t i = 0; i < kTimeOptions; ++i) {
        if (at(TimeOptionName(i)).Value) return i;
    }
    return std::nullopt;
}

void LockFreeTimeEntry(const ControlLookup& at) {
    const bool free = at(TimeOptionName(kFreeTimeOption)).Value;
    Beats(at).Locked = !free;
    BeatNote(at).Locked = !free;
}

std::optional<int32_t> ReadTimeValue(const ControlLookup& at) {
    const std::optional<int32_t> option = ChosenTimeOption(at);
    if (!option) return std::nullopt;
    if (*option != kFreeTimeOption) return kTimeTags[static_cast<size_t>(*option)];

    int32_t length = LengthOfBeatNote(WholeNumberIn(BeatNote(at).Text).value_or(0));
    if (length == 0) {
        length = LengthOfBeatNote(kFallbackBeatNote);
        BeatNote(at).Text = std::to_string(kFallbackBeatNote);
    }
    int32_t beats = WholeNumberIn(Beats(at).Text).value_or(0);
    if (beats < 1 || beats > kMostFreeBeats) {
        beats = kFallbackBeats;
        Beats(at).Text = std::to_string(kFallbackBeats);
    }
    return beats * kBeatUnit + length;
}

int32_t ReadPulses(DialogControl& box) {
    const int32_t pulses = WholeNumberIn(box.Text).value_or(0);
    if (pulses >= 1) return pulses;
    box.Text = "1";
    return 1;
}

std::vector<ListItem> MajorKeyItems() { return KeyItems(MajorKeys()); }

std::vector<ListItem> MinorKeyItems() { return KeyItems(MinorKeys()); }

std::optional<int32_t> WholeNumberIn(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        return std::nullopt;
    }
    return NInt(LeadingNumber(text));
}

}  // namespace corvendi
