// The note-entry palette: the select tool or a duration (whole to 64th), dot, triplet and grace,
// the snap, the active voice and the drum sound. It keeps the user's choice; the window applies
// the voice and the drum sound to the score.
#pragma once

#include <gtkmm.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PageClick.h"

namespace corvendi::studio {

class NotePalette : public Gtk::Box {
  public:
    NotePalette();

    EntryChoice Choice() const;
    // Chooses a duration (NoteDurations) or, with 0, the select tool.
    void ChooseDuration(int32_t duration);
    // Switches the dot, triplet or grace button: NoteFlags nteDot, nteTriplet or nteGrace.
    void ToggleFlag(int32_t flag);
    void SetVoice(int32_t voice);
    void SetDrum(int32_t drum);
    // The sounds of the active staff's drum map, slots 1..8; empty for a staff that is not a
    // drum staff (the list is then disabled).
    void SetDrumNames(const std::vector<std::string>& names);

    std::function<void()> OnToolChanged;
    std::function<void(int32_t voice)> OnVoice;
    std::function<void(int32_t drum)> OnDrum;

  private:
    Gtk::ToggleButton mSelect{"Select"};
    std::array<Gtk::ToggleButton, 7> mDurations;
    Gtk::ToggleButton mDot{"Dot"};
    Gtk::ToggleButton mTriplet{"Triplet"};
    Gtk::ToggleButton mGrace{"Grace"};
    Gtk::DropDown mSnap;
    Gtk::DropDown mVoice;
    Gtk::DropDown mDrum;
    std::optional<std::vector<std::string>> mDrumNamesShown;
    bool mUpdating = false;
};

}  // namespace corvendi::studio
