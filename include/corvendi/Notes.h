// The notes of one voice, ordered by start time with at most one `Note` per time. Offers lookup
// by time (at-or-after, at-or-before, before), a cursor for stepping through neighbours, and
// removal of a time span that closes the gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "corvendi/Export.h"
#include "corvendi/Note.h"

namespace corvendi {

class Voice;

namespace detail {
struct NotesAccess;
}  // namespace detail

class CORVENDI_API Notes {
  public:
    using List = std::vector<std::shared_ptr<Note>>;

    Notes();

    // Adds `value` to the note starting at `atTime`, creating the note if there is none there.
    // The note takes `duration` (its low byte) and `flags` (replacing earlier flags). A previous
    // note that would sound past `atTime` is shortened to end there.
    std::shared_ptr<Note> Add(int32_t atTime, uint8_t value, int32_t duration, int32_t flags);

    // Without `le`/`lt`: the note at `atTime`, else the first one after it. With `le`: the last
    // note starting at or before `atTime`. With `lt`: the last note starting before `atTime`.
    // Null when there is no such note. The cursor is left at the at-or-after position.
    std::shared_ptr<Note> Item(int32_t atTime, bool le = false, bool lt = false);
    // 1-based; null for an index that does not exist.
    std::shared_ptr<Note> ByIndex(int32_t index) const;
    int32_t Count() const { return static_cast<int32_t>(mList.size()); }

    // Step the cursor to the next or previous note and return it; null at either end.
    std::shared_ptr<Note> NextItem();
    std::shared_ptr<Note> PrevItem();

    // Removes the note starting exactly at `atTime`, if any.
    void Remove(int32_t atTime);
    // Removes the notes starting in [fromTime, toTime) and moves every later note earlier by
    // toTime - fromTime.
    void RemoveRange(int32_t fromTime, int32_t toTime);

    List::const_iterator begin() const { return mList.begin(); }
    List::const_iterator end() const { return mList.end(); }

  private:
    friend struct detail::NotesAccess;

    // Binary search for `time`: the 1-based position of the note starting at `time`, else of
    // the first note after it, else Count() + 1. Leaves the cursor there.
    int32_t Search(int32_t time);
    // Whether the position returned by the last Search holds a note starting exactly at `time`.
    bool FoundExactly(int32_t position, int32_t time) const;
    std::shared_ptr<Note> NoteAt(int32_t position) const;
    int32_t TimeAt(int32_t position) const {
        return mList[static_cast<std::size_t>(position - 1)]->NoteTime();
    }
    void ShortenToGap(Note& previous, int32_t nextTime) const;

    List mList;
    int32_t mCursor = 0;
    // Start time of the note at the last search result; -1 when the result is past the end.
    int32_t mFoundTime = -1;
    Voice* mParent = nullptr;
};

}  // namespace corvendi
