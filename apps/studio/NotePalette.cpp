#include "NotePalette.h"

#include <corvendi/Enums.h>

#include <string>
#include <vector>

namespace corvendi::studio {

namespace {

struct DurationButton {
    int32_t Duration;
    const char* Label;
    const char* Tip;
};

constexpr std::array<DurationButton, 7> kDurations{{
    {durWhole, "1", "Whole note (1)"},
    {durHalf, "1/2", "Half note (2)"},
    {durQuarter, "1/4", "Quarter note (3)"},
    {durEighth, "1/8", "Eighth note (4)"},
    {durSixteenth, "1/16", "Sixteenth note (5)"},
    {durThirtySecond, "1/32", "Thirty-second note (6)"},
    {durSixtyFourth, "1/64", "Sixty-fourth note (7)"},
}};

// Snap choices; kSnapToNote rounds down to the entered note's own value.
constexpr int32_t kSnapToNote = -1;
constexpr std::array<int32_t, 5> kSnaps{kSnapToNote, 0, durQuarter, durEighth, durSixteenth};

std::vector<Glib::ustring> Numbered(const std::string& what, int32_t count) {
    std::vector<Glib::ustring> texts;
    for (int32_t i = 1; i <= count; ++i) texts.emplace_back(what + " " + std::to_string(i));
    return texts;
}

}  // namespace

NotePalette::NotePalette()
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4),
      mSnap(std::vector<Glib::ustring>{"Snap: note", "Snap: none", "Snap: 1/4", "Snap: 1/8",
                                       "Snap: 1/16"}),
      mVoice(Numbered("Voice", 4)),
      mDrum(Numbered("Drum", 8)) {
    set_margin(4);
    mSelect.set_tooltip_text("Select notes by dragging a rectangle (S)");
    append(mSelect);
    for (size_t i = 0; i < kDurations.size(); ++i) {
        Gtk::ToggleButton& button = mDurations[i];
        button.set_label(kDurations[i].Label);
        button.set_tooltip_text(kDurations[i].Tip);
        button.set_group(mSelect);
        append(button);
    }
    mDurations[2].set_active(true);
    for (Gtk::ToggleButton* button :
         {&mSelect, &mDurations[0], &mDurations[1], &mDurations[2], &mDurations[3], &mDurations[4],
          &mDurations[5], &mDurations[6]}) {
        button->signal_toggled().connect([this, button] {
            if (button->get_active() && !mUpdating && OnToolChanged) OnToolChanged();
        });
    }
    append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::VERTICAL));
    mDot.set_tooltip_text("Dotted (.)");
    mTriplet.set_tooltip_text("Triplet (T)");
    mGrace.set_tooltip_text("Grace note (G)");
    append(mDot);
    append(mTriplet);
    append(mGrace);
    append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::VERTICAL));
    mSnap.set_tooltip_text(
        "Round a clicked time down to a multiple of the entered note's value, or of this value");
    append(mSnap);
    mVoice.set_tooltip_text("The voice notes are entered in");
    append(mVoice);
    mDrum.set_tooltip_text("The sound a click enters on a drum staff");
    append(mDrum);
    mVoice.property_selected().signal_changed().connect([this] {
        if (!mUpdating && OnVoice) OnVoice(static_cast<int32_t>(mVoice.get_selected()) + 1);
    });
    mDrum.property_selected().signal_changed().connect([this] {
        if (!mUpdating && OnDrum) OnDrum(static_cast<int32_t>(mDrum.get_selected()) + 1);
    });
}

EntryChoice NotePalette::Choice() const {
    EntryChoice choice;
    choice.Selecting = mSelect.get_active();
    for (size_t i = 0; i < kDurations.size(); ++i) {
        if (mDurations[i].get_active()) choice.Duration = kDurations[i].Duration;
    }
    if (mDot.get_active()) choice.Flags |= nteDot;
    if (mTriplet.get_active()) choice.Flags |= nteTriplet;
    if (mGrace.get_active()) choice.Flags |= nteGrace;
    const guint snap = mSnap.get_selected();
    if (snap < kSnaps.size()) choice.Snap = kSnaps[snap];
    // A note snaps to its own value (a triplet to the third of its pair), so that notes of one
    // value entered one after another line up.
    if (choice.Snap == kSnapToNote) {
        choice.Snap = (choice.Flags & nteTriplet) != 0 ? 0 : choice.Duration;
    }
    return choice;
}

void NotePalette::ChooseDuration(int32_t duration) {
    if (duration == 0) {
        mSelect.set_active(true);
        return;
    }
    for (size_t i = 0; i < kDurations.size(); ++i) {
        if (kDurations[i].Duration == duration) mDurations[i].set_active(true);
    }
}

void NotePalette::ToggleFlag(int32_t flag) {
    Gtk::ToggleButton* button = flag == nteDot       ? &mDot
                                : flag == nteTriplet ? &mTriplet
                                : flag == nteGrace   ? &mGrace
                                                     : nullptr;
    if (button) button->set_active(!button->get_active());
}

void NotePalette::SetDrumNames(const std::vector<std::string>& names) {
    // Told on every change of the active staff, which most clicks are: a new list model makes
    // GTK measure the drop-down and lay the window out again, so only a new list is set.
    if (mDrumNamesShown && *mDrumNamesShown == names) return;
    mDrumNamesShown = names;
    mUpdating = true;
    const guint selected = mDrum.get_selected();
    std::vector<Glib::ustring> texts;
    for (size_t i = 0; i < 8; ++i) {
        const std::string name = i < names.size() ? names[i] : std::string();
        texts.emplace_back("Drum " + std::to_string(i + 1) + (name.empty() ? "" : ": " + name));
    }
    mDrum.set_model(Gtk::StringList::create(texts));
    mDrum.set_selected(selected);
    mDrum.set_sensitive(!names.empty());
    mUpdating = false;
}

void NotePalette::SetVoice(int32_t voice) {
    mUpdating = true;
    if (voice >= 1 && voice <= 4) mVoice.set_selected(static_cast<guint>(voice - 1));
    mUpdating = false;
}

void NotePalette::SetDrum(int32_t drum) {
    mUpdating = true;
    if (drum >= 1 && drum <= 8) mDrum.set_selected(static_cast<guint>(drum - 1));
    mUpdating = false;
}

}  // namespace corvendi::studio
