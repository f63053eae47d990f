// One undoable step of editing. Engine code and dialog models open a step around an edit:
//
//     detail::EditStep step(score);
//     ... any number of changes to the document ...
//
// Every change to a stored document value made while the step lives becomes one undo step of
// that score. Steps nest: an inner step joins the outermost one, so a dialog's "Ok" that calls
// several setters (each opening its own step) records one step. A step that changed nothing
// records nothing, and no step records while the document is being built (creation, a file
// being read) or while the history itself is being applied.
//
// Opening a step takes a picture of the document apart from its notes (DocumentFrame) and
// installs a note journal for the thread; closing it compares and keeps what differs.
#pragma once

#include "corvendi/Score.h"

namespace corvendi::detail {

class EditStep {
  public:
    explicit EditStep(Score& score);
    ~EditStep();
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

    // Called by pagination: the step's edit had the pages laid out again.
    static void NoteRelayout(Score& score, bool fromCurrentPage);

  private:
    void Close() noexcept;

    Score& mScore;
    bool mOutermost = false;
};

}  // namespace corvendi::detail
