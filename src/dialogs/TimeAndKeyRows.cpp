#include "dialogs/TimeAndKeyRows.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/Arith.h"
#include "common/NumberText.h"

namespace corvendi {

namespace {

struct TimeOption {
    const char* Caption;
    int32_t Value;
};

// Common and cut time are the symbol signatures with 64- and 32-tick measures.
constexpr std::array<TimeOption, kTimeOptions> kTimeOptionTable{{{"Common time", 0},
                                                                 {"Cut time", 1},
                                                                 {"4/4", 528},
                                                                 {"2/4", 272},
                                                                 {"3/4", 400},
                                                                 {"5/4", 656},
                                                                 {"3/8", 392},
                                                                 {"6/8", 776},
                                                                 {"9/8", 1160},
                                                                 {"Other", -1}}};

constexpr int32_t kBeatUnit = 128;
constexpr int32_t kMaxBeats = 16;
constexpr int32_t kFallback = 4;  // beats, and the beat note, that a bad entry becomes
constexpr int32_t kWholeNote = 64;

// Beat note (1, 2, 4, 8, 16) to its length in ticks and back; 0 for other notes.
int32_t BeatLengthOfNote(int32_t note) {
    switch (note) {
        case 1: return 64;
        case 2: return 32;
        case 4: return 16;
        case 8: return 8;
        case 16: return 4;
        default: return 0;
    }
}

int32_t NoteOfBeatLength(int32_t ticks) {
    switch (ticks) {
        case 4: return 16;
        case 8: return 8;
        case 32: return 2;
        case 64: return 1;
        default: return 4;
    }
}

DialogControl& Beats(const ControlLookup& at) { return at("txtTime(0)"); }
DialogControl& BeatNote(const ControlLookup& at) { return at("txtTime(1)"); }

std::vector<ListItem> KeyItems(std::initializer_list<const char*> texts) {
    std::vector<ListItem> items;
    int32_t key = -kKeyListOffset;
    for (const char* text : texts) items.push_back({text, key++});
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
        option.Caption = kTimeOptionTable[static_cast<size_t>(i)].Caption;
        option.Text = std::to_string(kTimeOptionTable[static_cast<size_t>(i)].Value);
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
            if (kTimeOptionTable[static_cast<size_t>(i)].Value == *value) chosen = i;
        }
    }
    for (int32_t i = 0; i < kTimeOptions; ++i) at(TimeOptionName(i)).Value = i == chosen;
    if (chosen == kFreeTimeOption) {
        Beats(at).Text = std::to_string(IDiv(*value, kBeatUnit));
        BeatNote(at).Text = std::to_string(NoteOfBeatLength(IMod(*value, kBeatUnit)));
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
    if (*option != kFreeTimeOption) return kTimeOptionTable[static_cast<size_t>(*option)].Value;

    int32_t length = BeatLengthOfNote(WholeNumberIn(BeatNote(at).Text).value_or(0));
    if (length == 0) {
        length = kWholeNote / kFallback;
        BeatNote(at).Text = std::to_string(kFallback);
    }
    int32_t beats = WholeNumberIn(Beats(at).Text).value_or(0);
    if (beats < 1 || beats > kMaxBeats) {
        beats = kFallback;
        Beats(at).Text = std::to_string(kFallback);
    }
    return beats * kBeatUnit + length;
}

int32_t ReadPulses(DialogControl& box) {
    const int32_t pulses = WholeNumberIn(box.Text).value_or(0);
    if (pulses >= 1) return pulses;
    box.Text = "1";
    return 1;
}

std::vector<ListItem> MajorKeyItems() {
    return KeyItems({"Cb - 7 flats", "Gb - 6 flats", "Db - 5 flats", "Ab - 4 flats", "Eb - 3 flats",
                     "Bb - 2 flats", "F - 1 flat", "C", "G - 1 sharp", "D - 2 sharps",
                     "A - 3 sharps", "E - 4 sharps", "B - 5 sharps", "F# - 6 sharps",
                     "C# - 7 sharps"});
}

std::vector<ListItem> MinorKeyItems() {
    return KeyItems({"Ab - 7 flats", "Eb - 6 flats", "Bb - 5 flats", "F - 4 flats", "C - 3 flats",
                     "G - 2 flats", "D - 1 flat", "A", "E - 1 sharp", "B - 2 sharps",
                     "F# - 3 sharps", "C# - 4 sharps", "G# - 5 sharps", "D# - 6 sharps",
                     "A# - 7 sharps"});
}

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
