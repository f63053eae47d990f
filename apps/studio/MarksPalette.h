// The marks palette: which mark a click on the page places instead of a note, and its value
// (a dynamic, a key, a clef, a tempo mark, the text of a free text). "Notes" leaves the page to
// note entry. Chords come from the score's chord mapper. Time signatures, endings, coda and segno
// are set in Measure Properties, so their entries open that dialog on the clicked measure.
#pragma once

#include <corvendi/Score.h>
#include <gtkmm.h>

#include <cstdint>
#include <string>
#include <vector>

#include "MarkPlacement.h"

namespace corvendi::studio {

class MarksPalette : public Gtk::Box {
  public:
    MarksPalette();

    MarkChoice Choice() const;
    // Opens the list of marks, for choosing with the keyboard.
    void OpenList() { mMark.activate(); }
    // Fills the chord entry's values from the score's chord mapper.
    void LoadChords(const Score& score);
    // Chooses the mark by its label ("Dynamic", "Key Change", ...) and the value by its label
    // ("mf", "2 sharps"); false when there is no such mark or value.
    bool Choose(const std::string& mark, const std::string& value = {});

  private:
    void ShowValues();
    bool IsChordMark() const;

    std::vector<std::string> mChordNames;
    std::vector<int32_t> mChordCodes;
    Gtk::DropDown mMark;
    Gtk::DropDown mValue;
    Gtk::Entry mText;
};

}  // namespace corvendi::studio
