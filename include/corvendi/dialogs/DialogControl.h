// One control of a dialog model, as plain typed fields that a presenter reads to show it.
//
// A control is named as the form names it ("txtQuant", "optWhere(1)", "cmdOk"); indexed
// controls carry their index in the name. Presenters never change these fields themselves:
// they report what the user did through the Dialog's action members, and the dialog's own
// handlers update the fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

enum class ControlKind {
    Label,     // Caption only
    Frame,     // a captioned group; controls name it in Frame
    TextBox,   // Text
    UpDown,    // arrows beside the text box named in Buddy; Position within Min..Max
    Option,    // option button: Value; exactly one of a Group is set
    CheckBox,  // Value
    List,      // drop-down list: Items, ListIndex (-1 for none)
    Button,    // command button: Caption
    Tabs,      // a tab strip: Items are the tabs, ListIndex the one shown
    Picture,   // a small picture the form draws from Text (a tag); clicking it is an action
};

// One entry of a list: what it shows and the number it carries.
struct CORVENDI_API ListItem {
    std::string Text;
    int32_t Data = 0;

    bool operator==(const ListItem&) const = default;
};

struct CORVENDI_API DialogControl {
    std::string Name;
    ControlKind Kind = ControlKind::Label;
    // Its own caption (labels, frames, options, check boxes, buttons); "" for none.
    std::string Caption;
    // The caption of the label standing before it, where one names it; "" for none.
    std::string Label;
    // The frame holding it; "" on the form itself.
    std::string Frame;
    // The caption of the tab it stands on; "" on a form without tabs.
    std::string Tab;
    // The option group it belongs to (options of one group exclude each other).
    std::string Group;
    std::string Text;
    bool Value = false;
    std::vector<ListItem> Items;
    int32_t ListIndex = -1;
    // Up-down controls: the text box they step, the bounds and the position.
    std::string Buddy;
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Position = 0;
    bool Enabled = true;
    bool Visible = true;
    // A locked text box shows its text but takes no typing (drawn in the button-face colours).
    bool Locked = false;
};

}  // namespace corvendi
