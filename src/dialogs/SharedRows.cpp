#include "dialogs/SharedRows.h"

#include <algorithm>

#include "corvendi/Score.h"
#include "corvendi/Staff.h"

namespace corvendi {

namespace {

constexpr int32_t kFirstEntry = 0;
constexpr int32_t kLastEntry = 1;
// The measure-number arrows stop here.
constexpr int32_t kHighestMeasureNumber = 99999;

DialogControl Make(std::string name, ControlKind kind) {
    DialogControl control;
    control.Name = std::move(name);
    control.Kind = kind;
    return control;
}

}  // namespace

DialogControl LabelControl(std::string name, std::string caption, std::string frame) {
    DialogControl control = Make(std::move(name), ControlKind::Label);
    control.Caption = std::move(caption);
    control.Frame = std::move(frame);
    return control;
}

DialogControl TextBoxControl(std::string name, std::string label, std::string frame) {
    DialogControl control = Make(std::move(name), ControlKind::TextBox);
    control.Label = std::move(label);
    control.Frame = std::move(frame);
    return control;
}

DialogControl UpDownControl(std::string name, std::string buddy, int32_t min, int32_t max,
                            std::string frame) {
    DialogControl control = Make(std::move(name), ControlKind::UpDown);
    control.Buddy = std::move(buddy);
    control.Min = min;
    control.Max = max;
    control.Position = min;
    control.Frame = std::move(frame);
    return control;
}

DialogControl OptionControl(std::string name, std::string caption, std::string group) {
    DialogControl control = Make(std::move(name), ControlKind::Option);
    control.Caption = std::move(caption);
    control.Group = std::move(group);
    return control;
}

DialogControl ListControl(std::string name, std::string label, std::vector<ListItem> items,
                          std::string frame) {
    DialogControl control = Make(std::move(name), ControlKind::List);
    control.Label = std::move(label);
    control.Items = std::move(items);
    control.Frame = std::move(frame);
    return control;
}

DialogControl ButtonControl(std::string name, std::string caption) {
    DialogControl control = Make(std::move(name), ControlKind::Button);
    control.Caption = std::move(caption);
    return control;
}

DialogControl CheckBoxControl(std::string name, std::string caption, std::string frame) {
    DialogControl box = LabelControl(std::move(name), std::move(caption), std::move(frame));
    box.Kind = ControlKind::CheckBox;
    return box;
}

DialogControl FrameControl(std::string name, std::string caption) {
    DialogControl frame = LabelControl(std::move(name), std::move(caption));
    frame.Kind = ControlKind::Frame;
    return frame;
}

std::vector<DialogControl> Labelled(const std::string& caption, DialogControl control) {
    DialogControl label = LabelControl("lbl" + control.Name.substr(3), caption, control.Frame);
    control.Label = caption;
    return {std::move(label), std::move(control)};
}

std::vector<ListItem> TextItems(std::initializer_list<const char*> texts) {
    std::vector<ListItem> items;
    int32_t data = 0;
    for (const char* text : texts) items.push_back({text, data++});
    return items;
}

void AddOnTab(std::vector<DialogControl>& to, std::vector<DialogControl> controls,
              const std::string& tab) {
    for (auto& control : controls) {
        control.Tab = tab;
        to.push_back(std::move(control));
    }
}

std::vector<DialogControl> QuantityRow(std::string verb, int32_t max) {
    return {LabelControl("lblLabel(0)", verb), TextBoxControl("txtQuant", verb),
            UpDownControl("updQuant", "txtQuant", 1, max)};
}

std::vector<DialogControl> MeasureNumberRow(std::string label) {
    return {TextBoxControl("txtMesNo", std::move(label)),
            UpDownControl("updMesNo", "txtMesNo", 1, kHighestMeasureNumber)};
}

std::vector<DialogControl> OkCancel() {
    return {ButtonControl("cmdOk", "Ok"), ButtonControl("cmdCancel", "Cancel")};
}

std::vector<ListItem> StaffListItems(const Score& score) {
    std::vector<ListItem> items{{"First", 0}, {"Last", -1}};
    for (int32_t number = 1; number <= score.Staffs(); ++number) {
        const auto staff = score.Staff(number);
        std::string text = std::to_string(number);
        if (staff && !staff->Description().empty()) text += ": " + staff->Description();
        items.push_back({std::move(text), number});
    }
    return items;
}

// The staff number comes from the entry's place in the list rather than from its text, so an
// entry without a description ("2") stands for its own staff too.
int32_t StaffOfListIndex(int32_t listIndex, int32_t staffCount) {
    if (listIndex == kFirstEntry || listIndex < 0) return 1;
    if (listIndex == kLastEntry) return std::max(staffCount, 1);
    return std::clamp(listIndex - 1, 1, std::max(staffCount, 1));
}

}  // namespace corvendi
