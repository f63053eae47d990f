// Shows dialog models as GTK windows: every control of the model as a widget, every user action
// passed to the model, and the widgets shown again from the model after each action. The view
// holds no logic of its own. Present is modal (a nested main loop) and returns once the model is
// closed; closing the window by its frame counts as the frame closing the dialog. Fonts are
// chosen in GTK's font chooser.
#pragma once

#include <corvendi/dialogs/DialogPresenter.h>

#include <functional>
#include <string>

namespace Gtk {
class Window;
}

namespace corvendi::gtk {

class GtkDialogPresenter : public DialogPresenter {
  public:
    // `parent` names the window the dialogs belong to (may return nullptr).
    explicit GtkDialogPresenter(std::function<Gtk::Window*()> parent = {});
    void Present(Dialog& dialog) override;
    // Gtk::FontChooserDialog on the font: face, size, bold and italic come back on "Select".
    bool ChooseFont(Font& font) override;

  private:
    std::function<Gtk::Window*()> mParent;
};

// A control's caption as a window shows it: "&" access-key marks removed, "&&" kept as "&".
std::string PlainCaption(const std::string& caption);

}  // namespace corvendi::gtk
