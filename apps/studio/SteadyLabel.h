// A status-bar label whose size never follows its text: a fixed number of characters, longer
// texts ellipsized. A label that grows or shrinks with its text makes GTK lay the window out
// again, which costs the next frame; the pitch read-out changes on every pointer move, so a
// click right after a move would wait a whole frame for its note to show.
#pragma once

#include <gtkmm.h>

#include <string>

namespace corvendi::studio {

class SteadyLabel : public Gtk::Label {
  public:
    explicit SteadyLabel(int widthChars, float xalign = 0.0f) {
        set_width_chars(widthChars);
        set_max_width_chars(widthChars);
        set_ellipsize(Pango::EllipsizeMode::END);
        set_xalign(xalign);
    }

    // Changes the text; the same text again changes nothing (no redraw).
    void SetText(const std::string& text) {
        if (get_text().raw() != text) set_text(text);
    }
};

}  // namespace corvendi::studio
