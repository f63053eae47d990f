// Controls that several insert and delete forms share.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "corvendi/dialogs/DialogControl.h"

namespace corvendi {

class Score;

DialogControl LabelControl(std::string name, std::string caption, std::string frame = {});
DialogControl TextBoxControl(std::string name, std::string label, std::string frame = {});
DialogControl UpDownControl(std::string name, std::string buddy, int32_t min, int32_t max,
                            std::string frame = {});
DialogControl OptionControl(std::string name, std::string caption, std::string group);
DialogControl ListControl(std::string name, std::string label, std::vector<ListItem> items,
                          std::string frame = {});
DialogControl ButtonControl(std::string name, std::string caption);
DialogControl CheckBoxControl(std::string name, std::string caption, std::string frame = {});
DialogControl FrameControl(std::string name, std::string caption);
// A label named "lbl" + the control's name without its prefix, then the control it names.
std::vector<DialogControl> Labelled(const std::string& caption, DialogControl control);
// Entries carrying their 0-based index.
std::vector<ListItem> TextItems(std::initializer_list<const char*> texts);
// Appends `controls` to `to`, each placed on the tab `tab`.
void AddOnTab(std::vector<DialogControl>& to, std::vector<DialogControl> controls,
              const std::string& tab);

// The rows the insert and delete forms share: "Insert"/"Delete" with the quantity box and its
// arrows (1..max); a measure-number box with its arrows after its label; "Ok" and "Cancel".
std::vector<DialogControl> QuantityRow(std::string verb, int32_t max);
std::vector<DialogControl> MeasureNumberRow(std::string label);
std::vector<DialogControl> OkCancel();

// "First", "Last", then one entry per staff: its number, followed by ": " and its description
// when it has one. Each entry carries the staff number (0 for "First", -1 for "Last").
std::vector<ListItem> StaffListItems(const Score& score);

// The staff an entry of that list stands for, with `staffCount` staffs: "First" 1, "Last"
// `staffCount`, entry k the staff k - 1.
int32_t StaffOfListIndex(int32_t listIndex, int32_t staffCount);

}  // namespace corvendi
