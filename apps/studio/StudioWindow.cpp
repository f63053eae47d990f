#include "StudioWindow.h"

#include <corvendi/Enums.h>
#include <corvendi/Error.h>
#include <corvendi/FileName.h>
#include <corvendi/Instrument.h>
#include <corvendi/Region.h>
#include <corvendi/ScoreEvents.h>
#include <corvendi/Staff.h>
#include <corvendi/Voice.h>
#include <corvendi/cairo/Render.h>
#include <corvendi/gtk/CairoContextSurface.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "PageClick.h"
#include "StatusText.h"

namespace corvendi::studio {

namespace {

constexpr int32_t kScreenTwipsPerPixel = 15;  // 96 dpi: what exports and prints are laid out at
constexpr int32_t kRecentCount = 8;
constexpr unsigned kPointerStatusMs = 40;  // the status bar follows the mouse this often

Glib::RefPtr<Gtk::FileFilter> Filter(const std::string& name,
                                     std::initializer_list<const char*> patterns) {
    auto filter = Gtk::FileFilter::create();
    filter->set_name(name);
    for (const char* pattern : patterns) filter->add_pattern(pattern);
    return filter;
}

// What the Change Selection menu does to every selected note (ChangeSel's arguments).
struct SelectionChange {
    const char* Label;
    int32_t NewDur = 0;
    int32_t NewValue = 0;
    int32_t StemDir = 0;
    int32_t Ornaments = 0;
};

constexpr SelectionChange kSelectionChanges[] = {
    {"Whole Notes", durWhole},
    {"Half Notes", durHalf},
    {"Quarter Notes", durQuarter},
    {"Eighth Notes", durEighth},
    {"Sixteenth Notes", durSixteenth},
    {"Thirty-second Notes", durThirtySecond},
    {"Sixty-fourth Notes", durSixtyFourth},
    {"Dotted", 0, 0, stmPropDot},
    {"Not Dotted", 0, 0, stmPropNoDot},
    {"Triplets", 0, 0, stmPropTrip},
    {"Not Triplets", 0, 0, stmPropNoTrip},
    {"Stems Up", 0, 0, stmForceUp},
    {"Stems Down", 0, 0, stmForceDown},
    {"Clear Dots, Triplets and Marks", 0, 0, stmClearProp},
    {"Accent", 0, 0, 0, ornAccent},
    {"Staccato", 0, 0, 0, ornStacato},
    {"Trill", 0, 0, 0, ornTrill},
    {"Fermata", 0, 0, 0, ornFermata},
    {"Up a Semitone", 0, 256 + 1},
    {"Down a Semitone", 0, -1},
    {"Up an Octave", 0, 256 + 12},
    {"Down an Octave", 0, -12},
};
constexpr int32_t kUpASemitone = 18;
constexpr int32_t kDownASemitone = 19;

struct Ornament {
    const char* Label;
    int32_t Type;
};

constexpr Ornament kOrnaments[] = {
    {"Accent", ornAccent},    {"Strong Accent", ornAccent2},    {"Staccato", ornStacato},
    {"Trill", ornTrill},      {"Fermata", ornFermata},          {"Turn", ornTurn},
    {"Mordent", ornMordent},  {"Half Mordent", ornHalfMordent}, {"Bow Up", ornBowUp},
    {"Bow Down", ornBowDown},
};

}  // namespace

// The score's events, turned into updates of the window.
class StudioWindow::Listener : public ScoreEvents {
  public:
    explicit Listener(StudioWindow& window) : mWindow(window) {}
    void ChangeNotify(bool) override { mWindow.UpdateTitle(); }
    void ActiveMeasure(int32_t Number) override { mWindow.mActiveMeasure = Number; }
    void ActiveVoice(int32_t Number) override { mWindow.mPalette.SetVoice(Number); }
    void ActiveStaff(const std::shared_ptr<Staff>& CurStaff) override {
        mWindow.ShowDrumMap(CurStaff);
    }
    void WindowCleared() override { mWindow.mView.Area().queue_draw(); }
    void HistoryChanged(bool CanUndo) override { mWindow.EnableAction("undo", CanUndo); }
    void RedoChanged(bool CanRedo) override { mWindow.EnableAction("redo", CanRedo); }
    void SelectionCleared() override { mWindow.SelectionChanged(); }

  private:
    StudioWindow& mWindow;
};

StudioWindow::StudioWindow(std::shared_ptr<gtk::GtkPlatform> platform, std::string path)
    : mPlatform(std::move(platform)) {
    set_default_size(1100, 800);
    set_icon_name("corvendi-studio");
    mPlatform->SetParentWindow([this]() -> Gtk::Window* { return this; });

    mTiming.Mark("window made");
    mScore = Score::Create();
    mTiming.Mark("score made");
    mListener = std::make_shared<Listener>(*this);
    mScore->SetEvents(mListener);

    BuildActions();
    auto bar = Gtk::make_managed<Gtk::PopoverMenuBar>(BuildMenu());
    mBox.append(*bar);
    mBox.append(mPalette);
    mBox.append(mMarks);
    mBox.append(mView);
    auto status = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
    status->set_margin_start(8);
    mStatus.set_hexpand(true);
    status->append(mStatus);
    status->append(mLayoutStatus);
    status->append(*BuildPageBar());
    mBox.append(*status);
    set_child(mBox);
    ConnectView();

    mNoteMenu.set_parent(mView.Area());
    mNoteMenu.set_has_arrow(false);

    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) { return OnKey(key, state); }, false);
    add_controller(keys);

    signal_close_request().connect(
        [this] {
            if (mCloseConfirmed || !mScore->Changed()) return false;
            ConfirmDiscard([this] {
                mCloseConfirmed = true;
                close();
            });
            return true;
        },
        false);

    if (!path.empty()) {
        if (!mScore->OpenFile(path) && mScore->Staffs() == 0) mScore->CreateDefault();
    } else {
        mScore->CreateDefault();
    }
    mTiming.Mark("score read");
    UpdateTitle();
    RefreshRecent();
    EnableAction("undo", mScore->CanUndo());
    EnableAction("redo", mScore->CanRedo());
    SelectionChanged();
    // Moved to a monitor of another scale: an image of that monitor's resolution.
    property_scale_factor().signal_changed().connect([this] {
        mView.Geometry().SetScale(std::max(1, get_scale_factor()));
        mTiming.Mark("window on screen");
        AttachWindow();
        mTiming.Mark("first page painted");
    });
    // Each change of the status bar costs a frame: while pages are laid out in the background
    // their count is brought up to date once a second, not on every poll.
    mPoll = Glib::signal_timeout().connect(
        [this, poll = 0]() mutable {
            if (!mScore->Paginating() || ++poll % kPollsPerPageCount == 0) UpdatePages();
            return true;
        },
        250);
}

StudioWindow::~StudioWindow() {
    mPoll.disconnect();
    mPointerStatus.disconnect();
    mNoteMenu.unparent();
    mPlatform->SetParentWindow({});
    mScore->SetEvents(nullptr);
    mScore->SetWindow(nullptr);
}

void StudioWindow::ShowFirstPage() {
    mView.Geometry().SetScale(std::max(1, get_scale_factor()));
    mTiming.Mark("window presented");
    // The engine waits for its first layout step on the main loop, which maps and draws the
    // window meanwhile.
    AttachWindow();
    mTiming.Mark("first page painted");
}

void StudioWindow::SetAccelerators(Gtk::Application& app) {
    app.set_accels_for_action("win.new", {"<Primary>n"});
    app.set_accels_for_action("win.open", {"<Primary>o"});
    app.set_accels_for_action("win.save", {"<Primary>s"});
    app.set_accels_for_action("win.save-as", {"<Primary><Shift>s"});
    app.set_accels_for_action("win.print", {"<Primary>p"});
    app.set_accels_for_action("win.close", {"<Primary>w"});
    app.set_accels_for_action("win.quit", {"<Primary>q"});
    app.set_accels_for_action("win.undo", {"<Primary>z"});
    app.set_accels_for_action("win.redo", {"<Primary><Shift>z", "<Primary>y"});
    app.set_accels_for_action("win.cut", {"<Primary>x"});
    app.set_accels_for_action("win.copy", {"<Primary>c"});
    app.set_accels_for_action("win.paste", {"<Primary>v"});
    app.set_accels_for_action("win.zoom-in", {"<Primary>plus", "<Primary>equal"});
    app.set_accels_for_action("win.zoom-out", {"<Primary>minus"});
    app.set_accels_for_action("win.zoom-normal", {"<Primary>0"});
    app.set_accels_for_action("win.previous-page", {"Page_Up"});
    app.set_accels_for_action("win.next-page", {"Page_Down"});
    app.set_accels_for_action("win.help", {"F1"});
    app.set_accels_for_action("win.lyrics", {"<Primary>l"});
    app.set_accels_for_action("win.marks", {"<Primary>m"});
    app.set_accels_for_action("win.score-properties", {"<Alt>Return"});
    app.set_accels_for_action("win.play", {"F5"});
    app.set_accels_for_action("win.play-selected", {"<Shift>F5"});
    app.set_accels_for_action("win.stop", {"F8"});
}

void StudioWindow::EnableAction(const std::string& name, bool enabled) {
    auto action = std::dynamic_pointer_cast<Gio::SimpleAction>(lookup_action(name));
    if (action) action->set_enabled(enabled);
}

void StudioWindow::BuildActions() {
    add_action("new", [this] { ConfirmDiscard([this] { NewScore(); }); });
    add_action("open", [this] { ConfirmDiscard([this] { ChooseOpen(); }); });
    add_action_with_parameter(
        "open-recent", Glib::VARIANT_TYPE_STRING, [this](const Glib::VariantBase& value) {
            const auto path =
                Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get();
            ConfirmDiscard([this, path] { Open(path); });
        });
    add_action("save", [this] { Save(); });
    add_action("save-as", [this] { ChooseSaveAs(); });
    add_action("export-pdf", [this] { ChooseExport(".pdf"); });
    add_action("export-png", [this] { ChooseExport(".png"); });
    add_action("export-svg", [this] { ChooseExport(".svg"); });
    add_action("print", [this] { Print(); });
    add_action("close", [this] { close(); });
    add_action("quit", [this] { close(); });
    add_action("zoom-in", [this] { Zoom(mView.Geometry().ZoomStep() + 1, {}); });
    add_action("zoom-out", [this] { Zoom(mView.Geometry().ZoomStep() - 1, {}); });
    add_action("zoom-normal", [this] { Zoom(0, {}); });
    add_action("previous-page", [this] { TurnTo(mScore->CurPage() - 1); });
    add_action("next-page", [this] { TurnTo(mScore->CurPage() + 1); });
    add_action("help", [this] { ShowHelp(); });
    // The engine asks where and how many through its own dialogs.
    add_action("insert-measures", [this] {
        mScore->AddMeasure(std::nullopt, false, true);
        Show();
    });
    add_action("delete-measures", [this] {
        mScore->DelMeasure(std::nullopt, true);
        Show();
    });
    add_action("note-delete", [this] {
        int32_t time = 0;
        int32_t duration = 0;
        const PagePoint p = mNoteMenuPoint;
        if (!mScore->OnNote(p.X, p.Y, time, duration)) return;
        const auto region = mScore->InRegion(p.X, p.Y);
        mScore->DelNote(time, 0, region ? region->Staff : 0);
        Show();
    });
    add_action_with_parameter(
        "note-ornament", Glib::VARIANT_TYPE_INT32, [this](const Glib::VariantBase& value) {
            const int32_t type =
                Glib::VariantBase::cast_dynamic<Glib::Variant<int32_t>>(value).get();
            mScore->AddOrnamentByHit(mNoteMenuPoint.X, mNoteMenuPoint.Y, type);
            Show();
        });
    mScoreMenu.AddActions(*this);
    add_action("lyrics", [this] { mLyrics.Begin(mScore); });
    add_action("marks", [this] { mMarks.OpenList(); });
    add_action("play", [this] { mPlayer.Play(1); });
    add_action("play-selected", [this] { mPlayer.Play(mScore->SelectedMeasure()); });
    add_action("stop", [this] { mPlayer.Stop(); });
    add_action("soundfont", [this] { ChooseSoundFont(); });
    add_action("undo", [this] {
        mScore->Undo();
        Show();
    });
    add_action("redo", [this] {
        mScore->Redo();
        Show();
    });
    add_action("cut", [this] {
        mScore->PutClipboard(true);
        SelectionChanged();
        Show();
    });
    add_action("copy", [this] { mScore->PutClipboard(false); });
    add_action("paste", [this] { Paste(); });
    add_action("delete", [this] {
        mScore->ChangeSel(0, 0, 0, 0, true);
        SelectionChanged();
        Show();
    });
    add_action("tie", [this] {
        mScore->ChangeSel(0, 0, 0, 0, false, true);
        Show();
    });
    add_action_with_parameter(
        "change-selection", Glib::VARIANT_TYPE_INT32, [this](const Glib::VariantBase& value) {
            ChangeSelection(Glib::VariantBase::cast_dynamic<Glib::Variant<int32_t>>(value).get());
        });
}

void StudioWindow::ChangeSelection(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(std::size(kSelectionChanges))) return;
    const SelectionChange& change = kSelectionChanges[index];
    mScore->ChangeSel(change.NewDur, change.NewValue, change.StemDir, change.Ornaments);
    Show();
}

void StudioWindow::SelectionChanged() {
    const int32_t count = mScore->SelCount();
    for (const char* action : {"cut", "copy", "delete", "tie", "change-selection"}) {
        EnableAction(action, count > 0);
    }
    if (count == 0) mView.SetMark(std::nullopt);
    mStatus.SetText(count > 0 ? std::to_string(count) + " notes selected" : "");
}

void StudioWindow::Select(PageRect rect) {
    mScore->SetSelection(rect.From.X, rect.From.Y, rect.To.X, rect.To.Y);
    mView.SetMark(rect);
    SelectionChanged();
}

void StudioWindow::Paste() {
    // Into the measure and staff under the mouse when it is on one, else the active ones.
    if (mPointer && mScore->InRegion(mPointer->X, mPointer->Y)) {
        mScore->SetActiveByHit(mPointer->X, mPointer->Y);
    }
    mScore->GetClipboard(false);
    Show();
}

Glib::RefPtr<Gio::Menu> StudioWindow::BuildMenu() {
    auto menu = Gio::Menu::create();

    auto file = Gio::Menu::create();
    auto files = Gio::Menu::create();
    files->append("_New", "win.new");
    files->append("_Open…", "win.open");
    mRecentMenu = Gio::Menu::create();
    files->append_submenu("Open _Recent", mRecentMenu);
    file->append_section(files);
    auto saving = Gio::Menu::create();
    saving->append("_Save", "win.save");
    saving->append("Save _As…", "win.save-as");
    auto exports = Gio::Menu::create();
    exports->append("_PDF…", "win.export-pdf");
    exports->append("P_NG…", "win.export-png");
    exports->append("_SVG…", "win.export-svg");
    saving->append_submenu("_Export", exports);
    saving->append("_Print…", "win.print");
    file->append_section(saving);
    auto closing = Gio::Menu::create();
    closing->append("_Quit", "win.quit");
    file->append_section(closing);
    menu->append_submenu("_File", file);

    auto edit = Gio::Menu::create();
    auto history = Gio::Menu::create();
    history->append("_Undo", "win.undo");
    history->append("_Redo", "win.redo");
    edit->append_section(history);
    auto clip = Gio::Menu::create();
    clip->append("Cu_t", "win.cut");
    clip->append("_Copy", "win.copy");
    clip->append("_Paste", "win.paste");
    clip->append("_Delete", "win.delete");
    edit->append_section(clip);
    auto selection = Gio::Menu::create();
    selection->append("_Tie", "win.tie");
    auto changes = Gio::Menu::create();
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(kSelectionChanges)); ++i) {
        auto item = Gio::MenuItem::create(kSelectionChanges[i].Label, "");
        item->set_action_and_target("win.change-selection", Glib::Variant<int32_t>::create(i));
        changes->append_item(item);
    }
    selection->append_submenu("C_hange Selection", changes);
    edit->append_section(selection);
    auto measures = Gio::Menu::create();
    measures->append("_Insert Measures…", "win.insert-measures");
    measures->append("_Delete Measures…", "win.delete-measures");
    edit->append_section(measures);
    menu->append_submenu("_Edit", edit);
    menu->append_submenu("_Score", mScoreMenu.Menu());
    auto play = Gio::Menu::create();
    play->append("_Play", "win.play");
    play->append("Play from the _Selected Measure", "win.play-selected");
    play->append("_Stop", "win.stop");
    auto preferences = Gio::Menu::create();
    preferences->append("Choose Sound_font…", "win.soundfont");
    play->append_section(preferences);
    menu->append_submenu("_Play", play);

    auto view = Gio::Menu::create();
    auto zoom = Gio::Menu::create();
    zoom->append("Zoom _In", "win.zoom-in");
    zoom->append("Zoom _Out", "win.zoom-out");
    zoom->append("_Normal Size", "win.zoom-normal");
    view->append_section(zoom);
    auto pages = Gio::Menu::create();
    pages->append("_Previous Page", "win.previous-page");
    pages->append("_Next Page", "win.next-page");
    view->append_section(pages);
    menu->append_submenu("_View", view);

    auto help = Gio::Menu::create();
    help->append("_Keyboard and Mouse", "win.help");
    menu->append_submenu("_Help", help);
    return menu;
}

Gtk::Box* StudioWindow::BuildPageBar() {
    auto bar = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    bar->set_margin(2);
    auto zoomOut = Gtk::make_managed<Gtk::Button>("−");
    zoomOut->set_tooltip_text("Zoom out (Ctrl+−)");
    zoomOut->set_action_name("win.zoom-out");
    auto zoomIn = Gtk::make_managed<Gtk::Button>("+");
    zoomIn->set_tooltip_text("Zoom in (Ctrl++)");
    zoomIn->set_action_name("win.zoom-in");
    bar->append(*zoomOut);
    bar->append(mZoomLabel);
    bar->append(*zoomIn);
    bar->append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::VERTICAL));
    auto previous = Gtk::make_managed<Gtk::Button>("◀");
    previous->set_tooltip_text("Previous page (Page Up)");
    previous->set_action_name("win.previous-page");
    auto next = Gtk::make_managed<Gtk::Button>("▶");
    next->set_tooltip_text("Next page (Page Down); after the last page, a new empty page");
    next->set_action_name("win.next-page");
    mPageSpin.set_range(1, 1);
    mPageSpin.set_increments(1, 1);
    mPageSpin.set_numeric(true);
    mPageSpin.set_tooltip_text("Page shown");
    mPageSpin.signal_value_changed().connect([this] {
        if (!mUpdatingPages) TurnTo(mPageSpin.get_value_as_int());
    });
    bar->append(*previous);
    bar->append(mPageSpin);
    bar->append(mPageCount);
    bar->append(*next);
    return bar;
}

void StudioWindow::ConnectView() {
    mView.OnPress = [this](PagePoint point, guint button, Gdk::ModifierType) {
        OnPress(point, button);
    };
    mView.OnMotion = [this](PagePoint point) { OnMotion(point); };
    mView.OnSelect = [this](PageRect rect) { Select(rect); };
    mView.OnZoom = [this](int32_t direction, ViewPoint anchor) {
        Zoom(mView.Geometry().ZoomStep() + direction, anchor);
    };
    mView.OnScrolled = [this] {
        mTiming.Begin("scroll");
        PaintVisible();
    };
    mView.OnResized = [this] { PaintVisible(); };
    mView.OnDrawn = [this](double drawMs) { mTiming.Drawn(drawMs, mView.Image() != nullptr); };
    mView.OnPainted = [this] { mTiming.Painted(); };
    mPalette.OnToolChanged = [this] { mView.SetSelecting(mPalette.Choice().Selecting); };
    mPalette.OnVoice = [this](int32_t voice) {
        mScore->SetVoice(voice);
        Show();
    };
    mPalette.OnDrum = [this](int32_t drum) { mScore->SetDrumIX(drum); };
    mPlayer.OnPosition = [this](int32_t tick) { ShowPlaying(tick); };
    mView.OnOverlay = [this](const Cairo::RefPtr<Cairo::Context>& cr) { DrawPlaying(cr); };
}

bool StudioWindow::OnKey(guint key, Gdk::ModifierType state) {
    const bool control =
        (state & Gdk::ModifierType::CONTROL_MASK) == Gdk::ModifierType::CONTROL_MASK;
    const bool alt = (state & Gdk::ModifierType::ALT_MASK) == Gdk::ModifierType::ALT_MASK;
    if (alt || mLyrics.Active()) return false;
    if (!control) {
        static constexpr int32_t kDurationKeys[] = {durWhole,      durHalf,      durQuarter,
                                                    durEighth,     durSixteenth, durThirtySecond,
                                                    durSixtyFourth};
        if (key >= GDK_KEY_1 && key <= GDK_KEY_7) {
            mPalette.ChooseDuration(kDurationKeys[key - GDK_KEY_1]);
            return true;
        }
        if (key == GDK_KEY_s) {
            mPalette.ChooseDuration(0);
            return true;
        }
        const int32_t flag = key == GDK_KEY_period ? nteDot
                             : key == GDK_KEY_t    ? nteTriplet
                             : key == GDK_KEY_g    ? nteGrace
                                                   : 0;
        if (flag != 0) {
            mPalette.ToggleFlag(flag);
            return true;
        }
    }
    const bool shift = (state & Gdk::ModifierType::SHIFT_MASK) == Gdk::ModifierType::SHIFT_MASK;
    switch (key) {
        case GDK_KEY_Delete:
            if (control || mScore->SelCount() == 0) return false;
            activate_action("delete");
            return true;
        case GDK_KEY_Up:
        case GDK_KEY_Down:
            if (control) return false;
            if (shift) {
                if (mScore->SelCount() > 0) {
                    ChangeSelection(key == GDK_KEY_Up ? kUpASemitone : kDownASemitone);
                }
                return true;
            }
            if (mScore->ChangeLast(key == GDK_KEY_Up ? 1 : -1)) Show();
            return true;
        case GDK_KEY_Left:
        case GDK_KEY_Right:
            if (!control) return false;
            // A moved note is not repainted by the engine: the page is painted again.
            if (mScore->ChangeLast(key == GDK_KEY_Right ? 1 : -1, true)) {
                mScore->PaintWindow();
                Show();
            }
            return true;
        default: return false;
    }
}

// --- the score and its window -----------------------------------------------------------------

void StudioWindow::AttachWindow(double margin) {
    ViewGeometry& geometry = mView.Geometry();
    const int32_t twips = geometry.TwipsPerDevicePixel();
    geometry.SetPage(mScore->SheetWidthTw(), mScore->SheetHeightTw());
    auto image = std::make_shared<PageImage>(mScore->SheetWidthTw(), mScore->SheetHeightTw(), twips,
                                             AreaToPaint(margin), mView.Image().get());
    // Without a window the new resolution is only taken note of; the new window then has the
    // score laid out and painted once.
    mScore->SetWindow(nullptr);
    mScore->SetTwipsPerPixel(twips, twips);
    mScore->SetWindow(image);
    mView.SetImage(image);
    mZoomLabel.SetText(std::to_string(geometry.ZoomPercent()) + " %");
    Show();
}

PixelArea StudioWindow::AreaToPaint(double margin) const {
    const ViewGeometry& geometry = mView.Geometry();
    // Before the view has a size the whole page is painted.
    if (geometry.ViewportWidth() <= 0 || geometry.ViewportHeight() <= 0) {
        return geometry.PagePixels();
    }
    return geometry.VisiblePixels(margin);
}

void StudioWindow::PaintVisible() {
    const auto& image = mView.Image();
    const ViewGeometry& geometry = mView.Geometry();
    if (!image || image->TwipsPerPixelX() != geometry.TwipsPerDevicePixel()) return;
    // Each paint is rasterised at once, while the frame clock waits, rather than by whichever
    // draw handler comes next (after the margin's paint, the next zoom's).
    if (!image->Painted().Contains(geometry.VisiblePixels())) {
        PaintAround(*image);
        mTiming.Step("the newly visible area painted");
        return;
    }
    // Near the painted area's edge: the area moves round the view once this frame is shown,
    // so that scrolling on rarely waits for a paint.
    if (mRecentrePending || image->Painted().Contains(geometry.VisiblePixels(kPaintMargin / 2)))
        return;
    mRecentrePending = true;
    mView.AfterNextFrame([this, shown = image] {
        mRecentrePending = false;
        if (mView.Image() == shown) PaintAround(*shown);
    });
}

void StudioWindow::PaintAround(PageImage& image) {
    image.PaintOnly(AreaToPaint());
    mScore->PaintWindow();
    image.Flush();
}

void StudioWindow::Show() {
    mMarks.LoadChords(*mScore);
    // A page of another size (another paper, turned) needs an image of its size.
    if (mView.Image() &&
        (mScore->SheetWidthTw() != static_cast<int32_t>(mView.Image()->Width()) ||
         mScore->SheetHeightTw() != static_cast<int32_t>(mView.Image()->Height()))) {
        AttachWindow();
        return;
    }
    mView.Refresh();
    UpdatePages();
    UpdateTitle();
}

void StudioWindow::ShowDrumMap(const std::shared_ptr<Staff>& staff) {
    std::vector<std::string> names;
    const auto voice = staff ? staff->Voice(std::min(mScore->Voice(), staff->Voices())) : nullptr;
    const auto instrument = voice ? voice->Instrument() : nullptr;
    if (instrument && instrument->Category() == catDrums) {
        for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
            names.push_back(mScore->InsDesc(instrument->DrumCode(slot)));
        }
    }
    mPalette.SetDrumNames(names);
}

void StudioWindow::UpdateTitle() {
    const std::string title =
        (mScore->Changed() ? "*" : "") + mScore->FileTitle() + " – Corvendi Studio";
    if (get_title().raw() != title) set_title(title);
}

void StudioWindow::UpdatePages() {
    const int32_t last = std::max(mScore->LastPage(), mScore->CurPage());
    mUpdatingPages = true;
    // A new range may widen the spin button: set only when it changed (the poll repeats it).
    double low = 0, high = 0;
    mPageSpin.get_range(low, high);
    if (high != std::max(last, 1)) mPageSpin.set_range(1, std::max(last, 1));
    mPageSpin.set_value(mScore->CurPage());
    mUpdatingPages = false;
    mPageCount.SetText("of " + std::to_string(last));
    // The count while laying out is the page count's beside it.
    mLayoutStatus.SetText(mScore->Paginating() ? "Laying out pages…"
                                               : std::to_string(mScore->LastPage()) + " pages");
}

void StudioWindow::Zoom(int32_t step, ViewPoint anchor) {
    ViewGeometry& geometry = mView.Geometry();
    if (anchor.X == 0.0 && anchor.Y == 0.0) {
        anchor = {geometry.ViewportWidth() / 2, geometry.ViewportHeight() / 2};
    }
    if (!geometry.ZoomAround(step, anchor)) return;
    // The score lays out and paints the view alone at the new resolution, a quarter of the
    // usual area, and rasterises it at once; the margin round it follows once that frame is
    // shown. Showing the old picture stretched first would hold the sharp one back by a frame
    // interval: the frame clock spaces frames a refresh apart.
    mTiming.Begin("zoom to " + std::to_string(geometry.ZoomPercent()) + " %");
    AttachWindow(0.0);
    mView.Image()->Flush();
    mTiming.Step("laid out and painted at the new size");
    PaintVisible();
}

void StudioWindow::TurnTo(int32_t page) {
    if (page < 1 || page == mScore->CurPage()) return;
    mTiming.Begin("page turn");
    mScore->SetCurPage(page);
    Show();
}

// --- mouse -----------------------------------------------------------------------------------

void StudioWindow::OnPress(PagePoint point, guint button) {
    if (button == GDK_BUTTON_SECONDARY) {
        ShowNoteMenu(point);
        return;
    }
    if (button != GDK_BUTTON_PRIMARY) return;
    mTiming.Begin("page click: button press");
    const PageClick click = ClickOnPage(*mScore, point, mMarks.Choice(), mPalette.Choice());
    mTiming.Step("ClickOnPage");
    Show();
    mPointer = point;
    if (click == PageClick::Note) ShowPointerStatus();
    mTiming.Step("the window's update");
}

void StudioWindow::OnMotion(PagePoint point) {
    mPointer = point;
    // A new status text costs a frame, and a frame holds back the next for a frame interval: a
    // click just after the mouse arrived would wait for it before showing its note. The text
    // follows the mouse at most every 40 ms instead of with every motion.
    if (mPointerStatus.connected()) return;
    mPointerStatus = Glib::signal_timeout().connect(
        [this] {
            ShowPointerStatus();
            return false;
        },
        kPointerStatusMs);
}

void StudioWindow::ShowPointerStatus() {
    mPointerStatus.disconnect();
    if (!mPointer) return;
    const PagePoint point = *mPointer;
    if (!mScore->InRegion(point.X, point.Y)) {
        mStatus.SetText("");
        return;
    }
    const int32_t value = mScore->GetNoteValueByHit(point.X, point.Y);
    mStatus.SetText(PitchName(value) + "    Measure " + std::to_string(mScore->SelectedMeasure()));
}

void StudioWindow::ShowNoteMenu(PagePoint point) {
    int32_t time = 0;
    int32_t duration = 0;
    const bool onNote = mScore->OnNote(point.X, point.Y, time, duration);
    if (!onNote && !mScore->InRegion(point.X, point.Y)) return;
    mNoteMenuPoint = point;
    auto menu = Gio::Menu::create();
    if (onNote) {
        menu->append("_Delete Note", "win.note-delete");
        auto marks = Gio::Menu::create();
        for (const Ornament& ornament : kOrnaments) {
            auto item = Gio::MenuItem::create(ornament.Label, "");
            item->set_action_and_target("win.note-ornament",
                                        Glib::Variant<int32_t>::create(ornament.Type));
            marks->append_item(item);
        }
        menu->append_section(marks);
    }
    menu->append_section(mScoreMenu.BraceSection(point));
    mNoteMenu.set_menu_model(menu);
    const ViewPoint at = mView.Geometry().ToView(point);
    mNoteMenu.set_pointing_to(Gdk::Rectangle(static_cast<int>(at.X), static_cast<int>(at.Y), 1, 1));
    mNoteMenu.popup();
}

// --- files -------------------------------------------------------------------------------------

void StudioWindow::ConfirmDiscard(std::function<void()> then) {
    if (!mScore->Changed()) {
        then();
        return;
    }
    mQuestion = std::make_unique<Gtk::MessageDialog>(
        *this, "Save changes to “" + mScore->FileTitle() + "” before closing?", false,
        Gtk::MessageType::QUESTION, Gtk::ButtonsType::NONE, true);
    mQuestion->set_secondary_text("If you don't save, your changes will be lost.");
    mQuestion->add_button("Close _without Saving", Gtk::ResponseType::NO);
    mQuestion->add_button("_Cancel", Gtk::ResponseType::CANCEL);
    mQuestion->add_button("_Save", Gtk::ResponseType::YES);
    mQuestion->set_default_response(Gtk::ResponseType::YES);
    mQuestion->signal_response().connect([this, then](int response) {
        mQuestion->hide();
        if (response == Gtk::ResponseType::NO) then();
        if (response == Gtk::ResponseType::YES) Save(then);
    });
    mQuestion->show();
}

void StudioWindow::NewScore() {
    mScore->CreateDefault();
    Show();
}

void StudioWindow::ChooseOpen() {
    mChooser = Gtk::FileChooserNative::create("Open Score", *this, Gtk::FileChooser::Action::OPEN,
                                              "_Open", "_Cancel");
    mChooser->add_filter(
        Filter("Scores and MIDI files", {"*.sco", "*.SCO", "*.mid", "*.MID", "*.midi", "*.MIDI"}));
    mChooser->add_filter(Filter("All files", {"*"}));
    mChooser->signal_response().connect([this](int response) {
        if (response == Gtk::ResponseType::ACCEPT) Open(mChooser->get_file()->get_path());
    });
    mChooser->show();
}

void StudioWindow::ShowPlaying(int32_t tick) {
    std::optional<PageBox> box;
    if (tick >= 0) {
        PlayingMeasure playing = FindPlayingMeasure(*mScore, tick);
        // Followed page by page: at most one turn per look, as the music moves on.
        const int32_t page = mScore->CurPage();
        if (playing.Place == MeasurePlace::LaterPage && page < mScore->LastPage()) {
            TurnTo(page + 1);
            playing = FindPlayingMeasure(*mScore, tick);
        } else if (playing.Place == MeasurePlace::EarlierPage && page > 1) {
            TurnTo(page - 1);
            playing = FindPlayingMeasure(*mScore, tick);
        }
        if (playing.Place == MeasurePlace::OnPage) box = playing.Box;
    }
    if (box.has_value() == mPlaying.has_value() &&
        (!box || (box->From == mPlaying->From && box->To == mPlaying->To)))
        return;
    mPlaying = box;
    mView.Area().queue_draw();
}

void StudioWindow::DrawPlaying(const Cairo::RefPtr<Cairo::Context>& cr) {
    if (!mPlaying) return;
    const ViewPoint from = mView.Geometry().ToView(mPlaying->From);
    const ViewPoint to = mView.Geometry().ToView(mPlaying->To);
    cr->rectangle(from.X, from.Y, to.X - from.X, to.Y - from.Y);
    cr->set_source_rgba(1.0, 0.85, 0.2, 0.3);
    cr->fill();
}

void StudioWindow::ChooseSoundFont() {
    mChooser = Gtk::FileChooserNative::create("Choose Soundfont", *this,
                                              Gtk::FileChooser::Action::OPEN, "_Choose", "_Cancel");
    mChooser->add_filter(Filter("Soundfonts", {"*.sf2", "*.SF2", "*.sf3", "*.SF3"}));
    mChooser->add_filter(Filter("All files", {"*"}));
    mChooser->signal_response().connect([this](int response) {
        if (response == Gtk::ResponseType::ACCEPT)
            mPlayer.ChooseSoundFont(mChooser->get_file()->get_path());
    });
    mChooser->show();
}

void StudioWindow::Open(const std::string& path) {
    mPlatform->ClearMessages();
    // A file that cannot be read leaves the open score as it was.
    if (!mScore->OpenFile(path) && mPlatform->Messages().empty()) {
        Error(path + ": Invalid data encountered loading file.", "Open");
    }
    RefreshRecent();
    Show();
}

void StudioWindow::Save(std::function<void()> then) {
    if (mScore->FileName().empty()) {
        ChooseSaveAs(std::move(then));
        return;
    }
    if (SaveAs(mScore->FileName()) && then) then();
}

void StudioWindow::ChooseSaveAs(std::function<void()> then) {
    mChooser = Gtk::FileChooserNative::create("Save Score As", *this,
                                              Gtk::FileChooser::Action::SAVE, "_Save", "_Cancel");
    mChooser->add_filter(Filter("Scores (.sco)", {"*.sco"}));
    mChooser->add_filter(Filter("MIDI files (.mid)", {"*.mid", "*.midi"}));
    mChooser->set_current_name(mScore->FileTitle() + ".sco");
    mChooser->signal_response().connect([this, then](int response) {
        if (response != Gtk::ResponseType::ACCEPT) return;
        if (SaveAs(mChooser->get_file()->get_path()) && then) then();
    });
    mChooser->show();
}

bool StudioWindow::SaveAs(std::string path) {
    if (!FileFormatOf(path)) path += ".sco";
    mPlatform->ClearMessages();
    const bool saved = mScore->SaveFile(path, FileFormatOf(path).value_or(fmtQuavrix));
    if (!saved && mPlatform->Messages().empty()) {
        Error(path + ": the score could not be written there.", "Save");
    }
    if (saved) mPlatform->AddToRecentDocs(path);
    RefreshRecent();
    UpdateTitle();
    return saved;
}

void StudioWindow::ChooseExport(const std::string& extension) {
    mChooser = Gtk::FileChooserNative::create("Export", *this, Gtk::FileChooser::Action::SAVE,
                                              "_Export", "_Cancel");
    mChooser->set_current_name(mScore->FileTitle() + extension);
    mChooser->signal_response().connect([this, extension](int response) {
        if (response != Gtk::ResponseType::ACCEPT) return;
        std::string path = mChooser->get_file()->get_path();
        if (FileExtension(path) != extension) path += extension;
        Export(path);
    });
    mChooser->show();
}

void StudioWindow::Export(const std::string& path) {
    // Exports are laid out at the screen resolution whatever the zoom, on a window of their own.
    mScore->SetWindow(nullptr);
    mScore->SetTwipsPerPixel(kScreenTwipsPerPixel, kScreenTwipsPerPixel);
    const auto format = cairo::RenderFormatOf(path);
    try {
        if (format) cairo::Render(*mScore, *format, path);
    } catch (const corvendi::Error& error) {
        Error(error.Message(), "Export");
    }
    AttachWindow();
}

void StudioWindow::Print() {
    // Printing draws the pages pagination found: let it finish first.
    while (mScore->Paginating() && mPlatform->ProcessPendingEvents()) {
    }
    auto operation = Gtk::PrintOperation::create();
    operation->set_job_name(mScore->FileTitle());
    operation->set_n_pages(std::max(mScore->LastPage(), 1));
    operation->set_use_full_page(true);
    operation->set_unit(Gtk::Unit::POINTS);
    auto setup = Gtk::PageSetup::create();
    const bool landscape = mScore->PageOrientation() == pgeLandscape;
    const double width = (landscape ? mScore->SheetHeightTw() : mScore->SheetWidthTw()) / 20.0;
    const double height = (landscape ? mScore->SheetWidthTw() : mScore->SheetHeightTw()) / 20.0;
    setup->set_paper_size(
        Gtk::PaperSize("corvendi", mScore->FileTitle(), width, height, Gtk::Unit::POINTS));
    setup->set_orientation(landscape ? Gtk::PageOrientation::LANDSCAPE
                                     : Gtk::PageOrientation::PORTRAIT);
    operation->set_default_page_setup(setup);
    operation->signal_draw_page().connect(
        [this](const Glib::RefPtr<Gtk::PrintContext>& context, int page) {
            auto device =
                std::make_shared<gtk::CairoContextSurface>(context->get_cairo_context()->cobj());
            mScore->PrintScore(device, page + 1, page + 1);
            device->Flush();
        });
    try {
        operation->run(Gtk::PrintOperation::Action::PRINT_DIALOG, *this);
    } catch (const Glib::Error& error) {
        Error(error.what(), "Print");
    }
    // The printed pages replaced the screen's hit regions: paint the page again.
    mScore->PaintWindow();
    Show();
}

void StudioWindow::RefreshRecent() {
    if (!mRecentMenu) return;
    mRecentMenu->remove_all();
    // Newest first. The date is read through GTK's C call: the C++ wrapper of this version
    // releases a date it does not own.
    std::vector<std::pair<gint64, Glib::RefPtr<Gtk::RecentInfo>>> items;
    for (const auto& item : Gtk::RecentManager::get_default()->get_items()) {
        GDateTime* modified = gtk_recent_info_get_modified(item->gobj());
        items.emplace_back(modified ? g_date_time_to_unix(modified) : 0, item);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    int32_t shown = 0;
    for (const auto& [modified, item] : items) {
        if (shown == kRecentCount) break;
        std::string path;
        try {
            path = Glib::filename_from_uri(item->get_uri());
        } catch (const Glib::Error&) {
            continue;
        }
        if (!FileFormatOf(path) || !item->exists()) continue;
        auto entry = Gio::MenuItem::create(item->get_display_name(), "");
        entry->set_action_and_target("win.open-recent", Glib::Variant<Glib::ustring>::create(path));
        mRecentMenu->append_item(entry);
        ++shown;
    }
}

void StudioWindow::Error(const std::string& text, const std::string& title) {
    mPlatform->ShowMessage(text, title, MessageIcon::Critical);
}

void StudioWindow::ShowHelp() {
    mPlatform->ShowMessage(
        "Click on a staff to enter a note of the chosen duration where you click; the status bar "
        "names the pitch and measure under the mouse.\n\n"
        "1–7: whole to sixty-fourth note    . dot    T triplet    G grace note\n"
        "S: select tool (drag a rectangle; a click makes that staff and measure active)\n"
        "Up / Down: raise or lower the last note    Ctrl+Left / Right: move it\n"
        "Right click on a note: delete it or add an articulation or ornament\n"
        "Ctrl+Z / Shift+Ctrl+Z: undo / redo    Ctrl+X, C, V: cut, copy, paste the selection "
        "(pasted into the measure under the mouse)\n"
        "Delete: delete the selection    Shift+Up / Down: transpose it\n"
        "Ctrl+M: choose a mark, then click to place it (again to take it away)\n"
        "Ctrl+L: type lyrics (Space next, - hyphen, Shift+Tab back, Escape stop)\n"
        "Alt+Return: Score Properties    F5 / Shift+F5 / F8: play / from the measure / stop\n"
        "Ctrl+wheel or Ctrl++ / Ctrl+−: zoom    Page Up / Page Down: turn pages",
        "Keyboard and Mouse", MessageIcon::Information);
}

}  // namespace corvendi::studio
