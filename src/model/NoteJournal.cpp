#include "model/NoteJournal.h"

#include <algorithm>
#include <utility>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "model/ProcessState.h"

namespace corvendi::detail {

void NoteJournal::Changing(const std::shared_ptr<Note>& note) {
    if (!note) return;
    Entry entry;
    entry.What = Kind::Values;
    entry.Changed = note;
    entry.Values = NoteAccess::Values(*note);
    mEntries.push_back(std::move(entry));
}

void NoteJournal::Inserted(const std::shared_ptr<Notes>& notes,
                           std::vector<std::shared_ptr<Note>> block) {
    if (!notes || block.empty()) return;
    Entry entry;
    entry.What = Kind::Block;
    entry.InList = true;
    entry.List = notes;
    entry.Block = std::move(block);
    mEntries.push_back(std::move(entry));
}

void NoteJournal::Removed(const std::shared_ptr<Notes>& notes,
                          std::vector<std::shared_ptr<Note>> block) {
    if (!notes || block.empty()) return;
    Entry entry;
    entry.What = Kind::Block;
    entry.InList = false;
    entry.List = notes;
    entry.Block = std::move(block);
    mEntries.push_back(std::move(entry));
}

void NoteJournal::Shifted(const std::shared_ptr<Notes>& notes, int32_t fromTime, int32_t delta) {
    if (!notes || delta == 0) return;
    Entry entry;
    entry.What = Kind::Shift;
    entry.List = notes;
    entry.FromTime = fromTime;
    entry.Delta = delta;
    mEntries.push_back(std::move(entry));
}

bool NoteJournal::ChangedNothing() const {
    return std::all_of(mEntries.begin(), mEntries.end(), [](const Entry& entry) {
        return entry.What == Kind::Values && NoteAccess::Values(*entry.Changed) == entry.Values;
    });
}

void NoteJournal::Undo() {
    for (auto it = mEntries.rbegin(); it != mEntries.rend(); ++it) Toggle(*it);
}

void NoteJournal::Redo() {
    for (auto& entry : mEntries) Toggle(entry);
}

// A shift moved the notes from FromTime on by Delta; they now start at FromTime + Delta, and
// moving them back leaves the entry describing the move just made.
void NoteJournal::Toggle(Entry& entry) {
    switch (entry.What) {
        case Kind::Values: NoteAccess::SwapValues(*entry.Changed, entry.Values); break;
        case Kind::Block:
            if (entry.InList) {
                NotesAccess::TakeOut(*entry.List, entry.Block);
            } else {
                NotesAccess::PutIn(*entry.List, entry.Block);
            }
            entry.InList = !entry.InList;
            break;
        case Kind::Shift: {
            const auto moved = static_cast<int32_t>(int64_t{entry.FromTime} + entry.Delta);
            NotesAccess::Shift(*entry.List, moved, -entry.Delta);
            entry.FromTime = moved;
            entry.Delta = -entry.Delta;
            break;
        }
    }
}

NoteJournal* ActiveNoteJournal() { return Process().gNoteJournal; }

NoteJournal* SetActiveNoteJournal(NoteJournal* journal) {
    return std::exchange(Process().gNoteJournal, journal);
}

void NoteChanging(const std::shared_ptr<Note>& note) {
    if (NoteJournal* journal = ActiveNoteJournal()) journal->Changing(note);
}

}  // namespace corvendi::detail
