// The changes an edit makes to the notes of a document, recorded as they happen so that the
// edit can be taken back and made again exactly.
//
// The notes are the one part of a document too large to copy for every edit (a long score holds
// hundreds of thousands), so instead of a before-and-after picture the journal keeps what each
// change touched: the values a note had before it changed, the notes put into or taken out of a
// voice, and the time shifts of measure edits. Every entry is its own inverse: applying it swaps
// the document's state with the state it keeps. Taking an edit back applies the entries newest
// first; making it again applies them oldest first.
//
// While an edit step records (engine/EditStep.h), the thread's active journal is set and the
// note collection records its own insertions, removals and shifts. Engine code that changes a
// note's values in place calls NoteChanging first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "model/ModelAccess.h"

namespace corvendi {

class Note;
class Notes;

namespace detail {

class NoteJournal {
  public:
    // Before the values of `note` change.
    void Changing(const std::shared_ptr<Note>& note);
    // After `block` (ascending times) was put into `notes`, or taken out of it.
    void Inserted(const std::shared_ptr<Notes>& notes, std::vector<std::shared_ptr<Note>> block);
    void Removed(const std::shared_ptr<Notes>& notes, std::vector<std::shared_ptr<Note>> block);
    // After every note of `notes` starting at or after `fromTime` moved by `delta` ticks.
    void Shifted(const std::shared_ptr<Notes>& notes, int32_t fromTime, int32_t delta);

    bool Empty() const { return mEntries.empty(); }
    // True when only values were changed and every changed note has its old values again.
    bool ChangedNothing() const;
    void Undo();
    void Redo();

  private:
    enum class Kind : uint8_t { Values, Block, Shift };
    struct Entry {
        Kind What = Kind::Values;
        bool InList = false;  // Block: the notes are in the list now
        int32_t FromTime = 0;
        int32_t Delta = 0;
        std::shared_ptr<Notes> List;
        std::vector<std::shared_ptr<Note>> Block;
        std::shared_ptr<Note> Changed;
        NoteValues Values;
    };
    static void Toggle(Entry& entry);

    std::deque<Entry> mEntries;  // grows without moving what it holds
};

// The journal recording on this thread; null when no edit step records.
NoteJournal* ActiveNoteJournal();
// Installs a journal (or null) and returns the one installed before.
NoteJournal* SetActiveNoteJournal(NoteJournal* journal);
// Records in the active journal, if any, that the values of `note` are about to change.
void NoteChanging(const std::shared_ptr<Note>& note);

}  // namespace detail
}  // namespace corvendi
