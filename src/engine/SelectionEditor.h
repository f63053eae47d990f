// The selection of notes and what is done with it as a whole: selecting by a rectangle of the
// drawn page, deleting, tying, copying to the clipboard and pasting from it.
//
// The selection lives on the score (ScoreState: the notes, in parallel their voice IDs and staff
// indexes, and the voice that was active); an editor is made for each call and keeps nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvendi {

class Region;
class Score;

class SelectionEditor {
  public:
    explicit SelectionEditor(Score& score) : mScore(score) {}

    int32_t SetSelection(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Removes the selected notes still in their voices; the number removed.
    int32_t DeleteSelected();
    // Ties the first selected note to the last one on its staff; 1 when a tie was added.
    int32_t TieSelected();
    // Puts the selection on the clipboard as text (cutting it with `move`); the number copied.
    int32_t PutClipboard(bool move);
    // Pastes the notes of the clipboard's first staff into the active voice of the selected
    // staff, moved from the measure they were copied from to the selected measure.
    void GetClipboard();

  private:
    // Appends the active voice's notes of the region's staff whose drawn x lies in the span.
    void SelectInRegion(const Region& region, size_t index, int64_t left, int64_t right);
    // Where the notes of the region's staff end for the selection: the start of the next region
    // of the same staff on the page, else the end of the page.
    int64_t RegionEnd(const Region& region, size_t index) const;

    Score& mScore;
};

}  // namespace corvendi
