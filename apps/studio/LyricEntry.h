// The lyric entry: a text box floating under the note whose syllable is typed. Space stores the
// syllable and moves to the next note, "-" stores it with a hyphen and moves on, Shift+Tab goes
// back, Escape stops. The verse is chosen beside the text box.
#pragma once

#include <corvendi/Score.h>
#include <gtkmm.h>

#include <functional>
#include <memory>

#include "LyricCursor.h"
#include "ViewGeometry.h"

namespace corvendi::studio {

class LyricEntry {
  public:
    // `area` is the page view's drawing area the entry floats over; `toView` turns page twips
    // into its coordinates; `shown` runs after each change so the window shows it.
    LyricEntry(Gtk::Widget& area, std::function<ViewPoint(PagePoint)> toView,
               std::function<void()> shown);
    ~LyricEntry();

    // Starts typing on the first note of the selected staff on the current page.
    void Begin(std::shared_ptr<Score> score);
    void End();
    bool Active() const { return mCursor != nullptr; }

  private:
    bool OnKey(guint key, Gdk::ModifierType state);
    void StoreAndMove(const std::string& text, bool forward);
    void ShowAt(const std::optional<LyricSpot>& spot);
    void ChooseVerse();

    std::function<ViewPoint(PagePoint)> mToView;
    std::function<void()> mShown;
    std::shared_ptr<Score> mScore;
    std::unique_ptr<LyricCursor> mCursor;
    Gtk::Popover mPopover;
    Gtk::Box mBox{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Entry mEntry;
    Gtk::DropDown mVerse;
    bool mUpdating = false;
};

}  // namespace corvendi::studio
