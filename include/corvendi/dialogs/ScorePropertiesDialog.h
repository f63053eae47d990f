// "Score Properties": the score-wide settings on four tabs. General: the default time signature
// and pulse, the key, the heading and tempo, measure numbering and the copyright lines. Titles:
// title, subtitle, composer and arranger. Dimensions: page size and orientation, margins, page
// numbers, staff and system spacing. Chords: chord display, guitar symbols, the chord mapper
// (a chord list, the chosen chord's fingering, "&Remove" and "Re&vert") and the capo.
//
// The dialog works on copies: Init loads every control and the five working fonts from the
// score, and nothing reaches the score before "Ok" or "&Apply", which write everything back
// when something was changed. Lengths are shown and read in the unit of measure shared by all
// scores (Score::UOM). A length that cannot be read (no number, or not a length a page can
// have) leaves the score's value as it was, and the box shows that value again.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "corvendi/ChordLibraryEditor.h"
#include "corvendi/Font.h"
#include "corvendi/dialogs/Dialog.h"

#include "corvendi/Export.h"

namespace corvendi {

class Score;

class CORVENDI_API ScorePropertiesDialog : public Dialog {
  public:
    static constexpr std::string_view kFormName = "frmCVDScore";
    // The fonts the "Font" buttons edit: cmdFont(i) for ScoreFonts i.
    static constexpr int32_t kWorkingFonts = 5;

    ScorePropertiesDialog();
    // Loads every control from the score; the dialog is then ready and not dirty.
    void Init(Score& score);

    // Whether something was changed since loading or the last "&Apply".
    bool Dirty() const { return mDirty; }
    // The working copy of ScoreFonts `index`; index 0 for one outside 0..4.
    const Font& WorkingFont(int32_t index) const;
    // The chord-map editor behind the "Chord Mapper" frame of the "&Chords" tab (chmChord). The
    // opener hands it the score's chord map; the frame's controls edit a copy of the map's
    // fingerings, which "Ok" and "&Apply" give the map.
    ChordLibraryEditor& ChordEditor() { return mChordEditor; }

  private:
    void OnListChanged(DialogControl& list) override;
    void OnClick(DialogControl& control) override;
    void OnTextChanged(DialogControl& textBox) override;
    void OnTextCommitted(DialogControl& textBox) override;
    void BeforeOk() override { Apply(); }
    void Unload() override { mScore = nullptr; }

    // Change handlers.
    void PageSizeChosen(int32_t size);
    void OrientationChosen(bool landscape);
    void TimeChosen(bool free);
    void ModeSwitched(bool minor);
    void NumberingSwitched(bool on);
    void TempoNoteCycled();
    void CapoSwitched(bool on);
    void FontChosen(int32_t index);
    void MarkDirty();

    // The chord mapper (ScorePropertiesChords.cpp).
    void LoadChordMapper();
    int32_t ChosenChord() const;
    void ShowChosenFingering();
    void FretsTyped();
    void FingeringRemoved();
    void FingeringsReverted();

    // Loading, one group of controls each (ScorePropertiesLoad.cpp).
    void LoadFonts();
    void LoadPage();
    void LoadKey();
    void LoadNumbering();
    void LoadTime();
    void LoadSpacing();
    void LoadTexts();
    void LoadTempo();
    void LoadChords();

    // "Ok" and "&Apply": writes every control back when the dialog is dirty and ready, as one
    // edit of the score (ScorePropertiesWrite.cpp).
    void Apply();
    void WriteToScore();
    void WriteFonts();
    void WritePage();
    void WriteSpacing();
    void WriteTexts();
    void WriteTempo();
    void WriteKey();
    void WriteNumbering();
    void WriteTime();
    void WritePulse();
    void WriteChords();

    // The unit boxes: shown in the shared unit, read back into inches.
    void ShowLength(std::string_view textBox, float inches);
    // Writes a length box through `set` when it reads as a length within the bounds; otherwise
    // the box shows `current` again and nothing is written.
    template <class Setter>
    void WriteLength(std::string_view textBox, float current, float least, Setter set);

    Score* mScore = nullptr;
    std::array<Font, kWorkingFonts> mFonts;
    // The default time value as loaded or last written.
    int32_t mTimeValue = 0;
    bool mDirty = false;
    ChordLibraryEditor mChordEditor;
};

}  // namespace corvendi
