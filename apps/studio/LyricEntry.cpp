#include "LyricEntry.h"

#include <algorithm>
#include <string>
#include <vector>

namespace corvendi::studio {

namespace {
constexpr int32_t kVerses = 8;
}

LyricEntry::LyricEntry(Gtk::Widget& area, std::function<ViewPoint(PagePoint)> toView,
                       std::function<void()> shown)
    : mToView(std::move(toView)), mShown(std::move(shown)) {
    std::vector<Glib::ustring> verses;
    for (int32_t verse = 1; verse <= kVerses; ++verse)
        verses.push_back("Verse " + std::to_string(verse));
    mVerse.set_model(Gtk::StringList::create(verses));
    mEntry.set_width_chars(10);
    mBox.append(mEntry);
    mBox.append(mVerse);
    mPopover.set_child(mBox);
    mPopover.set_parent(area);
    mPopover.set_autohide(false);
    mPopover.set_has_arrow(false);
    mPopover.set_position(Gtk::PositionType::BOTTOM);
    auto keys = Gtk::EventControllerKey::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) { return OnKey(key, state); }, false);
    mEntry.add_controller(keys);
    mEntry.signal_activate().connect([this] { StoreAndMove(mEntry.get_text(), true); });
    mVerse.property_selected().signal_changed().connect([this] { ChooseVerse(); });
}

LyricEntry::~LyricEntry() { mPopover.unparent(); }

void LyricEntry::Begin(std::shared_ptr<Score> score) {
    mScore = std::move(score);
    mCursor = std::make_unique<LyricCursor>(*mScore);
    mUpdating = true;
    mVerse.set_selected(static_cast<guint>(std::clamp(mScore->Verse(), 1, kVerses) - 1));
    mUpdating = false;
    ShowAt(mCursor->Start());
}

void LyricEntry::End() {
    if (mCursor) mCursor->Store(mEntry.get_text());
    mCursor.reset();
    mPopover.popdown();
    mShown();
}

bool LyricEntry::OnKey(guint key, Gdk::ModifierType state) {
    if (!mCursor) return false;
    const std::string text = mEntry.get_text();
    switch (key) {
        case GDK_KEY_space: StoreAndMove(text, true); return true;
        case GDK_KEY_minus: StoreAndMove(text + "-", true); return true;
        case GDK_KEY_ISO_Left_Tab: StoreAndMove(text, false); return true;
        case GDK_KEY_Tab:
            StoreAndMove(text,
                         (state & Gdk::ModifierType::SHIFT_MASK) != Gdk::ModifierType::SHIFT_MASK);
            return true;
        case GDK_KEY_Escape: End(); return true;
        default: return false;
    }
}

void LyricEntry::StoreAndMove(const std::string& text, bool forward) {
    if (!mCursor) return;
    mCursor->Store(text);
    ShowAt(forward ? mCursor->Next() : mCursor->Previous());
}

void LyricEntry::ShowAt(const std::optional<LyricSpot>& spot) {
    mShown();
    if (!spot) {
        End();
        return;
    }
    mEntry.set_text(spot->Text);
    const ViewPoint at = mToView(PagePoint{spot->X, spot->Y});
    mPopover.set_pointing_to(Gdk::Rectangle(static_cast<int>(at.X), static_cast<int>(at.Y), 1, 1));
    mPopover.popup();
    mEntry.grab_focus();
    mEntry.select_region(0, -1);
}

void LyricEntry::ChooseVerse() {
    if (mUpdating || !mCursor) return;
    mCursor->Store(mEntry.get_text());
    mScore->SetVerse(static_cast<int32_t>(mVerse.get_selected()) + 1);
    ShowAt(mCursor->Start());
}

}  // namespace corvendi::studio
