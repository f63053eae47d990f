#include <corvendi/Font.h>
#include <corvendi/dialogs/Dialog.h>
#include <corvendi/gtk/GtkDialogPresenter.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtkmm.h>

#include <map>

namespace corvendi::gtk {

std::string PlainCaption(const std::string& caption) {
    std::string plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        plain += caption[i];
    }
    return plain;
}

namespace {

// The most height a form takes before it scrolls, in pixels.
constexpr int kMostHeight = 700;

// One dialog shown: builds the widgets from the model and builds them again after each action.
class DialogView {
  public:
    DialogView(Dialog& dialog, Gtk::Window* parent) : mDialog(dialog) {
        mWindow.set_title(dialog.Title());
        mWindow.set_modal(true);
        if (parent) mWindow.set_transient_for(*parent);
        mWindow.set_resizable(false);
        mWindow.signal_close_request().connect(
            [this] {
                if (mDialog.IsOpen()) mDialog.CloseByFrame();
                return true;
            },
            false);
        // Escape presses the form's Cancel button, as in any dialog.
        auto keys = Gtk::EventControllerKey::create();
        keys->signal_key_pressed().connect(
            [this](guint key, guint, Gdk::ModifierType) {
                if (key != GDK_KEY_Escape || !mDialog.Find("cmdCancel")) return false;
                Act([&] { mDialog.Click("cmdCancel"); });
                return true;
            },
            false);
        mWindow.add_controller(keys);
    }

    ~DialogView() { mRefresh.disconnect(); }

    void Run() {
        Build();
        mWindow.show();
        RunNestedLoopUntil([this] { return !mDialog.IsOpen(); });
        mWindow.hide();
    }

  private:
    const std::string& ShownTab() const {
        static const std::string none;
        for (const DialogControl& c : mDialog.Controls()) {
            if (c.Kind == ControlKind::Tabs && c.ListIndex >= 0 &&
                c.ListIndex < static_cast<int>(c.Items.size())) {
                return c.Items[static_cast<size_t>(c.ListIndex)].Text;
            }
        }
        return none;
    }

    // After an action the model may have changed anything; widgets are rebuilt once the signal
    // that reported the action has returned.
    void Refresh() {
        if (mRefreshQueued) return;
        mRefreshQueued = true;
        mRefresh = Glib::signal_idle().connect([this] {
            mRefreshQueued = false;
            if (mDialog.IsOpen()) Build();
            return false;
        });
    }

    void Build() {
        mGroups.clear();
        mOk = nullptr;
        auto content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6);
        content->set_margin(12);
        auto buttons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
        buttons->set_halign(Gtk::Align::END);
        std::map<std::string, Gtk::Box*> frames;
        std::map<std::string, Gtk::Box*> frameButtons;
        const std::string& tab = ShownTab();
        for (const DialogControl& c : mDialog.Controls()) {
            if (!c.Visible || (!c.Tab.empty() && PlainCaption(c.Tab) != PlainCaption(tab)))
                continue;
            Gtk::Box* into = content;
            if (const auto frame = frames.find(c.Frame); frame != frames.end())
                into = frame->second;
            if (c.Kind == ControlKind::Frame) {
                auto frame = Gtk::make_managed<Gtk::Frame>(PlainCaption(c.Caption));
                auto box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 4);
                box->set_margin(6);
                frame->set_child(*box);
                frames[c.Name] = box;
                into->append(*frame);
                continue;
            }
            if (c.Kind == ControlKind::Button) {
                // A frame's buttons end the frame in a row of their own; the form's end the form.
                Gtk::Box*& row = frames.contains(c.Frame) ? frameButtons[c.Frame] : buttons;
                if (!row) row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
                row->append(*ButtonFor(c));
                continue;
            }
            Gtk::Widget* widget = WidgetFor(c);
            if (!widget) continue;
            widget->set_sensitive(c.Enabled);
            if (!c.Label.empty() && c.Kind != ControlKind::Label) {
                auto row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
                auto label = Gtk::make_managed<Gtk::Label>(PlainCaption(c.Label));
                label->set_xalign(0.0f);
                label->set_hexpand(true);
                row->append(*label);
                row->append(*widget);
                into->append(*row);
            } else {
                into->append(*widget);
            }
        }
        for (const auto& [frame, row] : frameButtons) frames[frame]->append(*row);
        content->append(*buttons);
        // A tall form scrolls within the screen's height.
        auto scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
        scroller->set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
        scroller->set_propagate_natural_height(true);
        scroller->set_max_content_height(kMostHeight);
        scroller->set_child(*content);
        mWindow.set_child(*scroller);
        // Enter in a text box presses Ok, once the box has handed its text to the model.
        if (mOk) mWindow.set_default_widget(*mOk);
    }

    Gtk::Widget* ButtonFor(const DialogControl& c) {
        auto button = Gtk::make_managed<Gtk::Button>(PlainCaption(c.Caption));
        button->set_sensitive(c.Enabled);
        if (c.Name == "cmdOk") mOk = button;
        const std::string name = c.Name;
        button->signal_clicked().connect([this, name] { Act([&] { mDialog.Click(name); }); });
        return button;
    }

    template <typename Action>
    void Act(Action action) {
        if (mBuilding) return;
        action();
        Refresh();
    }

    // A tab strip as a row of linked toggle buttons, the shown tab pressed.
    Gtk::Widget* TabsFor(const DialogControl& c) {
        auto row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 0);
        row->add_css_class("linked");
        row->set_halign(Gtk::Align::CENTER);
        const std::string name = c.Name;
        for (size_t i = 0; i < c.Items.size(); ++i) {
            auto tab = Gtk::make_managed<Gtk::ToggleButton>(PlainCaption(c.Items[i].Text));
            tab->set_active(static_cast<int32_t>(i) == c.ListIndex);
            const auto index = static_cast<int32_t>(i);
            tab->signal_clicked().connect(
                [this, name, index] { Act([&] { mDialog.SelectItem(name, index); }); });
            row->append(*tab);
        }
        return row;
    }

    Gtk::Widget* WidgetFor(const DialogControl& c) {
        const std::string name = c.Name;
        switch (c.Kind) {
            case ControlKind::Label: {
                auto label = Gtk::make_managed<Gtk::Label>(PlainCaption(c.Caption));
                label->set_xalign(0.0f);
                return label;
            }
            case ControlKind::TextBox: {
                auto entry = Gtk::make_managed<Gtk::Entry>();
                entry->set_text(c.Text);
                entry->set_editable(!c.Locked);
                auto typed = [this, name, entry] {
                    const std::string text = entry->get_text();
                    const DialogControl* now = mDialog.Find(name);
                    if (now && now->Text != text) Act([&] { mDialog.TypeText(name, text); });
                };
                entry->signal_activate().connect([this, typed] {
                    typed();
                    if (mOk) Act([&] { mDialog.Click("cmdOk"); });
                });
                auto focus = Gtk::EventControllerFocus::create();
                focus->signal_leave().connect(typed);
                entry->add_controller(focus);
                return entry;
            }
            case ControlKind::UpDown: {
                auto box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 0);
                auto up = Gtk::make_managed<Gtk::Button>("▲");
                auto down = Gtk::make_managed<Gtk::Button>("▼");
                up->signal_clicked().connect([this, name] { Act([&] { mDialog.SpinUp(name); }); });
                down->signal_clicked().connect(
                    [this, name] { Act([&] { mDialog.SpinDown(name); }); });
                box->append(*up);
                box->append(*down);
                return box;
            }
            case ControlKind::Option:
            case ControlKind::CheckBox: {
                auto check = Gtk::make_managed<Gtk::CheckButton>(PlainCaption(c.Caption));
                // Options of one group are shown as radio buttons.
                if (c.Kind == ControlKind::Option) {
                    auto [first, added] = mGroups.emplace(c.Group, check);
                    if (!added) check->set_group(*first->second);
                }
                mBuilding = true;
                check->set_active(c.Value);
                mBuilding = false;
                const bool option = c.Kind == ControlKind::Option;
                check->signal_toggled().connect([this, name, check, option] {
                    // An option is chosen, never unchosen, by a click.
                    if (option && !check->get_active()) return;
                    Act([&] { mDialog.Click(name); });
                });
                return check;
            }
            case ControlKind::Tabs: return TabsFor(c);
            case ControlKind::List: {
                std::vector<Glib::ustring> texts;
                for (const ListItem& item : c.Items) texts.emplace_back(PlainCaption(item.Text));
                auto list = Gtk::make_managed<Gtk::DropDown>(texts);
                mBuilding = true;
                list->set_selected(c.ListIndex >= 0 ? static_cast<guint>(c.ListIndex)
                                                    : GTK_INVALID_LIST_POSITION);
                mBuilding = false;
                list->property_selected().signal_changed().connect([this, name, list] {
                    const guint selected = list->get_selected();
                    const int32_t index =
                        selected == GTK_INVALID_LIST_POSITION ? -1 : static_cast<int32_t>(selected);
                    Act([&] { mDialog.SelectItem(name, index); });
                });
                return list;
            }
            case ControlKind::Picture: {
                auto button = Gtk::make_managed<Gtk::Button>(c.Text);
                button->signal_clicked().connect(
                    [this, name] { Act([&] { mDialog.Click(name); }); });
                return button;
            }
            case ControlKind::Frame:
            case ControlKind::Button: break;
        }
        return nullptr;
    }

    Dialog& mDialog;
    Gtk::Window mWindow;
    sigc::connection mRefresh;
    std::map<std::string, Gtk::CheckButton*> mGroups;
    Gtk::Button* mOk = nullptr;  // the first option of each group
    bool mRefreshQueued = false;
    bool mBuilding = false;
};

}  // namespace

GtkDialogPresenter::GtkDialogPresenter(std::function<Gtk::Window*()> parent)
    : mParent(std::move(parent)) {}

void GtkDialogPresenter::Present(Dialog& dialog) {
    if (!GtkPlatform::HasDisplay()) {
        dialog.Click("cmdCancel");
        return;
    }
    DialogView view(dialog, mParent ? mParent() : nullptr);
    view.Run();
    if (dialog.IsOpen()) dialog.CloseByFrame();
}

bool GtkDialogPresenter::ChooseFont(Font& font) {
    if (!GtkPlatform::HasDisplay()) return false;
    Gtk::Window* parent = mParent ? mParent() : nullptr;
    Gtk::FontChooserDialog chooser("Font");
    if (parent) chooser.set_transient_for(*parent);
    chooser.set_modal(true);
    chooser.set_level(Gtk::FontChooser::Level::FAMILY | Gtk::FontChooser::Level::STYLE |
                      Gtk::FontChooser::Level::SIZE);
    Pango::FontDescription shown;
    shown.set_family(font.Name());
    shown.set_size(static_cast<int>(font.Size() * PANGO_SCALE));
    shown.set_weight(font.Bold() ? Pango::Weight::BOLD : Pango::Weight::NORMAL);
    shown.set_style(font.Italic() ? Pango::Style::ITALIC : Pango::Style::NORMAL);
    chooser.set_font_desc(shown);
    int response = Gtk::ResponseType::NONE;
    chooser.signal_response().connect([&](int r) { response = r; });
    chooser.show();
    RunNestedLoopUntil([&] { return response != Gtk::ResponseType::NONE; });
    chooser.hide();
    if (response != Gtk::ResponseType::OK) return false;
    const Pango::FontDescription chosen = chooser.get_font_desc();
    font.SetName(chosen.get_family());
    if (chosen.get_size() > 0) font.SetSize(static_cast<float>(chosen.get_size()) / PANGO_SCALE);
    font.SetBold(chosen.get_weight() >= Pango::Weight::SEMIBOLD);
    font.SetItalic(chosen.get_style() != Pango::Style::NORMAL);
    return true;
}

}  // namespace corvendi::gtk
