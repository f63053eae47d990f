// Controls and rules the property dialogs share: the time-signature options with their free
// entry, the pulse box, the two key lists, and reading whole numbers out of text boxes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/dialogs/DialogControl.h"

namespace corvendi {

// The form's own controls by name (a dialog passes its At).
using ControlLookup = std::function<DialogControl&(std::string_view)>;

// optTime(0..9) (the tags and captions of ScorePropertiesForm.h): each option's Text is its
// tag, the time value it stands for; the last option is the free entry, which unlocks
// txtTime(0) (beats) and txtTime(1) (beat note).
std::string TimeOptionName(int32_t index);
std::vector<DialogControl> TimeSignatureControls(const std::string& frame, const std::string& tab);

// Sets the option standing for `value` (a time value, beats x 128 + beat length), or the free
// option with its beats and beat note; nullopt clears every option.
void ShowTimeValue(const ControlLookup& at, std::optional<int32_t> value);
// The index of the option that is set; nullopt when none is.
std::optional<int32_t> ChosenTimeOption(const ControlLookup& at);
// Locks the free entry unless the free option is set.
void LockFreeTimeEntry(const ControlLookup& at);
// The time value the options say; nullopt when none is set. The free entry takes 1..16 beats
// and a beat note of 1, 2, 4, 8 or 16; anything else becomes 4 and its box is reset to "4".
std::optional<int32_t> ReadTimeValue(const ControlLookup& at);

// The pulses per measure in the box: below 1 (or no number) becomes 1 and the box is reset.
int32_t ReadPulses(DialogControl& box);

// The 15 entries of the major and minor key lists; entry i stands for the key i - 7 and
// carries it as its data.
std::vector<ListItem> MajorKeyItems();
std::vector<ListItem> MinorKeyItems();

// The whole number a text starts with (after blanks and a sign); nullopt when the text does
// not start with one. Values beyond 32 bits saturate.
std::optional<int32_t> WholeNumberIn(std::string_view text);

}  // namespace corvendi
