#include "corvendi/Notes.h"

#include "model/ModelAccess.h"

#include <algorithm>
#include <cstddef>

#include "common/Arith.h"
#include "corvendi/Enums.h"

namespace corvendi {

namespace {

// Clearing the dot keeps the low 16 flag bits only, as the flags were 16-bit values originally.
constexpr int32_t kClearDotMask = 65534;
constexpr int32_t kWholeNote = durWhole;

// The longest base duration (a power of two from 1 to a whole note) that fits in `gap` ticks.
int32_t BaseDurationWithin(int64_t gap) {
    int32_t base = 1;
    while (base < kWholeNote && base * 2 <= gap) base *= 2;
    return base;
}

}  // namespace

Notes::Notes() = default;

int32_t Notes::Search(int32_t time) {
    int32_t low = 1;
    int32_t high = Count() + 1;
    int32_t position = high;
    mFoundTime = -1;
    while (high > 1) {
        const int32_t middle = (low + high) / 2;
        const int32_t probe = TimeAt(middle);
        if (probe == time) {
            position = middle;
            mFoundTime = probe;
            break;
        }
        if (probe < time) {
            if (middle == low) break;
            low = middle;
        } else {
            if (middle < position) {
                position = middle;
                mFoundTime = probe;
            }
            if (middle == high) break;
            high = middle;
        }
    }
    mCursor = position;
    return position;
}

bool Notes::FoundExactly(int32_t position, int32_t time) const {
    return position <= Count() && mFoundTime == time;
}

std::shared_ptr<Note> Notes::NoteAt(int32_t position) const {
    if (position < 1 || position > Count()) return nullptr;
    return mList[static_cast<std::size_t>(position - 1)];
}

std::shared_ptr<Note> Notes::Add(int32_t atTime, uint8_t value, int32_t duration, int32_t flags) {
    std::shared_ptr<Note> note;
    int32_t position = 1;
    if (mList.empty()) {
        note = std::make_shared<Note>();
        mList.push_back(note);
    } else {
        position = Search(atTime);
        if (FoundExactly(position, atTime)) {
            note = NoteAt(position);
        } else {
            note = std::make_shared<Note>();
            mList.insert(mList.begin() + (position - 1), note);
        }
    }

    detail::NoteAccess::NoteTimeSet(*note, atTime);
    note->AddValue(value);
    detail::NoteAccess::DurationSet(*note, WrapToByte(duration));
    detail::NoteAccess::FlagsSet(*note, flags);

    if (position > 1) ShortenToGap(*NoteAt(position - 1), atTime);
    return note;
}

// Shortens `previous` when it would still sound at `nextTime`: it becomes the longest base
// duration that fits the gap, dotted when the gap is longer than that base. Its dot does not
// count towards its length here; a triplet sounds for half its base duration.
void Notes::ShortenToGap(Note& previous, int32_t nextTime) const {
    const int32_t flags = previous.Flags();
    const int64_t length =
        (flags & nteTriplet) != 0 ? IDiv(previous.Duration(), 2) : previous.Duration();
    const int64_t start = previous.NoteTime();
    if (start + length <= nextTime) return;

    const int64_t gap = int64_t{nextTime} - start;
    const int32_t base = BaseDurationWithin(gap);
    const bool dotted = gap > base && gap < kWholeNote;
    detail::NoteAccess::DurationSet(previous, static_cast<uint8_t>(base));
    detail::NoteAccess::FlagsSet(previous, dotted ? (flags | nteDot) : (flags & kClearDotMask));
}

std::shared_ptr<Note> Notes::Item(int32_t atTime, bool le, bool lt) {
    int32_t position = Search(atTime);
    if (!le && !lt) return NoteAt(position);

    if (!FoundExactly(position, atTime)) --position;  // after atTime, or past the end
    if (position < 1) return nullptr;
    if (lt && TimeAt(position) == atTime) --position;
    return NoteAt(position);
}

std::shared_ptr<Note> Notes::ByIndex(int32_t index) const { return NoteAt(index); }

std::shared_ptr<Note> Notes::NextItem() {
    if (mCursor >= Count()) return nullptr;
    ++mCursor;
    return NoteAt(mCursor);
}

// Removals do not move the cursor, so it may point past the end; such a step finds nothing.
std::shared_ptr<Note> Notes::PrevItem() {
    if (mCursor < 2) return nullptr;
    --mCursor;
    return NoteAt(mCursor);
}

void Notes::Remove(int32_t atTime) {
    const int32_t position = Search(atTime);
    if (FoundExactly(position, atTime)) mList.erase(mList.begin() + (position - 1));
}

void Notes::RemoveRange(int32_t fromTime, int32_t toTime) {
    const int32_t first = std::max(Search(fromTime), 1);
    const int32_t firstKept = Search(toTime);
    const int64_t shift = int64_t{toTime} - fromTime;

    for (int32_t i = std::max(first, firstKept); i <= Count(); ++i) {
        Note& note = *mList[static_cast<std::size_t>(i - 1)];
        detail::NoteAccess::NoteTimeSet(note, static_cast<int32_t>(note.NoteTime() - shift));
    }
    if (firstKept > first) {
        mList.erase(mList.begin() + (first - 1), mList.begin() + (firstKept - 1));
    }
}

void detail::NotesAccess::InsertSpan(Notes& n, int32_t fromTime, int32_t span) {
    for (auto it = n.mList.rbegin(); it != n.mList.rend() && (*it)->NoteTime() >= fromTime; ++it) {
        NoteAccess::NoteTimeSet(**it, (*it)->NoteTime() + span);
    }
}

bool detail::NotesAccess::SetItem(Notes& n, int32_t atTime, const std::shared_ptr<Note>& note) {
    if (!note || std::find(n.mList.begin(), n.mList.end(), note) != n.mList.end()) return false;
    const int32_t position = n.Search(atTime);
    if (!n.FoundExactly(position, atTime)) return false;
    NoteAccess::NoteTimeSet(*note, atTime);
    n.mList[static_cast<std::size_t>(position - 1)] = note;
    return true;
}

}  // namespace corvendi
