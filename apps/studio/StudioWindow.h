// The studio's main window: the menus, the note palette, the page view and the status bar
// around one score. Every edit is a call of the engine's public API; the window only turns the
// user's gestures into those calls and shows what the engine painted.
#pragma once

#include <corvendi/Score.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtkmm.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "LyricEntry.h"
#include "MarksPalette.h"
#include "NotePalette.h"
#include "PageView.h"
#include "PlayingMeasure.h"
#include "ScoreMenu.h"
#include "SteadyLabel.h"
#include "StudioPlayer.h"
#include "StudioTiming.h"

namespace corvendi::studio {

// Of the view's size, painted beyond each side of it.
inline constexpr double kPaintMargin = 0.5;
// Polls (a quarter of a second each) between updates of the page count during layout.
inline constexpr int kPollsPerPageCount = 4;

class StudioWindow : public Gtk::ApplicationWindow {
  public:
    // Opens `path` when given, else starts with a new score.
    StudioWindow(std::shared_ptr<gtk::GtkPlatform> platform, std::string path);
    ~StudioWindow() override;

    // Lays out and paints the first page; call once the window is presented.
    void ShowFirstPage();
    // The keyboard shortcuts of the window's actions.
    static void SetAccelerators(Gtk::Application& app);

  private:
    class Listener;

    // --- building --------------------------------------------------------------------------
    void BuildActions();
    Glib::RefPtr<Gio::Menu> BuildMenu();
    Gtk::Box* BuildPageBar();
    void ConnectView();
    bool OnKey(guint key, Gdk::ModifierType state);

    // --- the score and its window ------------------------------------------------------------
    // Hands the score a page image of the view's zoom; the score lays out and paints on it.
    // `margin` (of the view's size beyond each side) is how much more than the view is painted.
    void AttachWindow(double margin = kPaintMargin);
    // The page's pixels the score paints: what the view shows and, usually, half a view around.
    PixelArea AreaToPaint(double margin = kPaintMargin) const;
    // Paints the area around what the view shows when that is not painted yet (after
    // scrolling or a larger view at a high zoom), or after the frame when the view nears the
    // painted area's edge.
    void PaintVisible();
    // Moves the image's area round what the view shows, paints and rasterises it there.
    void PaintAround(PageImage& image);
    // After an engine call: show what it painted and where the document stands.
    void Show();
    // The drum sounds of the staff's instrument in the palette, when it is a drum staff.
    void ShowDrumMap(const std::shared_ptr<Staff>& staff);
    void UpdateTitle();
    void UpdatePages();
    void EnableAction(const std::string& name, bool enabled);
    void Zoom(int32_t step, ViewPoint anchor);
    void TurnTo(int32_t page);

    // --- mouse -------------------------------------------------------------------------------
    void OnPress(PagePoint point, guint button);
    void OnMotion(PagePoint point);
    // The pitch and measure under the mouse in the status bar.
    void ShowPointerStatus();
    void ShowNoteMenu(PagePoint point);

    // --- selection and the clipboard --------------------------------------------------------
    void Select(PageRect rect);
    // The menu items that need a selection, and the status bar, after the selection changed.
    void SelectionChanged();
    void ChangeSelection(int32_t index);
    void Paste();

    // --- files ---------------------------------------------------------------------------------
    // Runs `then` once the changed score was saved or the user chose to discard it.
    void ConfirmDiscard(std::function<void()> then);
    void NewScore();
    void ChooseOpen();
    void Open(const std::string& path);
    // Saves in place; without a file name asks for one. `then` runs after a successful save.
    void Save(std::function<void()> then = {});
    void ChooseSaveAs(std::function<void()> then = {});
    bool SaveAs(std::string path);
    void ChooseExport(const std::string& extension);
    void Export(const std::string& path);
    void Print();
    void ChooseSoundFont();
    // Boxes the measure sounding at `tick` (-1: none), turning the page to it.
    void ShowPlaying(int32_t tick);
    void DrawPlaying(const Cairo::RefPtr<Cairo::Context>& cr);
    void RefreshRecent();
    void Error(const std::string& text, const std::string& title);
    void ShowHelp();

    std::shared_ptr<gtk::GtkPlatform> mPlatform;
    std::shared_ptr<Score> mScore;
    std::shared_ptr<Listener> mListener;
    StudioTiming mTiming;

    Gtk::Box mBox{Gtk::Orientation::VERTICAL};
    NotePalette mPalette;
    MarksPalette mMarks;
    ScoreMenu mScoreMenu{[this] { return mScore; }, [this] { Show(); }};
    PageView mView;
    LyricEntry mLyrics{mView.Area(), [this](PagePoint p) { return mView.Geometry().ToView(p); },
                       [this] { Show(); }};
    Gtk::SpinButton mPageSpin;
    SteadyLabel mPageCount{8};
    SteadyLabel mZoomLabel{6, 0.5f};
    SteadyLabel mStatus{40};
    SteadyLabel mLayoutStatus{24, 1.0f};
    StudioPlayer mPlayer{
        mPlatform, [this] { return mScore; },
        [this](const std::string& text) { mStatus.SetText(text); },
        [this](const std::string& text, const std::string& title) { Error(text, title); }};
    Glib::RefPtr<Gio::Menu> mRecentMenu;
    Glib::RefPtr<Gtk::FileChooserNative> mChooser;
    std::unique_ptr<Gtk::MessageDialog> mQuestion;
    Gtk::PopoverMenu mNoteMenu;
    PagePoint mNoteMenuPoint;
    std::optional<PagePoint> mPointer;  // the mouse's last place on the page
    sigc::connection mPoll;
    sigc::connection mPointerStatus;  // the status bar's pitch follows the mouse after this
    bool mUpdatingPages = false;
    bool mCloseConfirmed = false;
    bool mRecentrePending = false;  // the painted area moves round the view after this frame
    int32_t mActiveMeasure = 1;
    std::optional<PageBox> mPlaying;
};

}  // namespace corvendi::studio
