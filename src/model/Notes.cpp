#include "corvendi/Notes.h"

#include "model/ModelAccess.h"

#include <algorithm>
#include <cstddef>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Voice.h"
#include "model/NoteJournal.h"

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

// The journal recording now and the shared handle of `notes` it keeps; no journal for notes that
// belong to no voice (they are not part of a document).
struct JournalTarget {
    detail::NoteJournal* Journal = nullptr;
    std::shared_ptr<Notes> Handle;

    explicit operator bool() const { return Journal != nullptr; }
};

JournalTarget RecordingFor(const Notes& notes) {
    detail::NoteJournal* journal = detail::ActiveNoteJournal();
    const Voice* voice = journal ? detail::NotesAccess::Parent(notes) : nullptr;
    auto handle = voice ? voice->Notes() : nullptr;
    if (!handle || handle.get() != &notes) return {};
    return {journal, std::move(handle)};
}

// Whether `note` still sounds at `time`: its dot does not count here; a triplet sounds for half
// its base duration.
bool SoundsPast(const Note& note, int32_t time) {
    const int64_t length =
        (note.Flags() & nteTriplet) != 0 ? IDiv(note.Duration(), 2) : note.Duration();
    return int64_t{note.NoteTime()} + length > time;
}

// 0-based position of the first note starting at or after `time`.
size_t LowerBound(const Notes::List& list, int32_t time) {
    const auto it = std::partition_point(
        list.begin(), list.end(), [time](const auto& note) { return note->NoteTime() < time; });
    return static_cast<size_t>(it - list.begin());
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
    const JournalTarget recording = RecordingFor(*this);
    std::shared_ptr<Note> note;
    int32_t position = 1;
    bool created = true;
    if (mList.empty()) {
        note = std::make_shared<Note>();
        mList.push_back(note);
    } else {
        position = Search(atTime);
        if (FoundExactly(position, atTime)) {
            note = NoteAt(position);
            created = false;
            if (recording) recording.Journal->Changing(note);
        } else {
            note = std::make_shared<Note>();
            mList.insert(mList.begin() + (position - 1), note);
        }
    }
    if (recording && created) recording.Journal->Inserted(recording.Handle, {note});

    detail::NoteAccess::NoteTimeSet(*note, atTime);
    note->AddValue(value);
    detail::NoteAccess::DurationSet(*note, WrapToByte(duration));
    detail::NoteAccess::FlagsSet(*note, flags);

    if (position > 1) {
        const auto previous = NoteAt(position - 1);
        if (recording && SoundsPast(*previous, atTime)) recording.Journal->Changing(previous);
        ShortenToGap(*previous, atTime);
    }
    return note;
}

// Shortens `previous` when it would still sound at `nextTime`: it becomes the longest base
// duration that fits the gap, dotted when the gap is longer than that base. Its dot does not
// count towards its length here; a triplet sounds for half its base duration.
void Notes::ShortenToGap(Note& previous, int32_t nextTime) const {
    if (!SoundsPast(previous, nextTime)) return;
    const int32_t flags = previous.Flags();
    const int64_t start = previous.NoteTime();

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
    if (!FoundExactly(position, atTime)) return;
    if (const JournalTarget recording = RecordingFor(*this)) {
        recording.Journal->Removed(recording.Handle, {NoteAt(position)});
    }
    mList.erase(mList.begin() + (position - 1));
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
        const auto from = mList.begin() + (first - 1);
        const auto to = mList.begin() + (firstKept - 1);
        // Recorded as if the span went first and the later notes moved after it.
        if (const JournalTarget recording = RecordingFor(*this)) {
            recording.Journal->Removed(recording.Handle, List(from, to));
            recording.Journal->Shifted(recording.Handle, toTime, static_cast<int32_t>(-shift));
        }
        mList.erase(from, to);
    } else if (const JournalTarget recording = RecordingFor(*this)) {
        recording.Journal->Shifted(recording.Handle, toTime, static_cast<int32_t>(-shift));
    }
}

void detail::NotesAccess::InsertSpan(Notes& n, int32_t fromTime, int32_t span) {
    if (const JournalTarget recording = RecordingFor(n)) {
        recording.Journal->Shifted(recording.Handle, fromTime, span);
    }
    for (auto it = n.mList.rbegin(); it != n.mList.rend() && (*it)->NoteTime() >= fromTime; ++it) {
        NoteAccess::NoteTimeSet(**it, (*it)->NoteTime() + span);
    }
}

bool detail::NotesAccess::SetItem(Notes& n, int32_t atTime, const std::shared_ptr<Note>& note) {
    if (!note || std::find(n.mList.begin(), n.mList.end(), note) != n.mList.end()) return false;
    const int32_t position = n.Search(atTime);
    if (!n.FoundExactly(position, atTime)) return false;
    auto& slot = n.mList[static_cast<std::size_t>(position - 1)];
    if (const JournalTarget recording = RecordingFor(n)) {
        recording.Journal->Removed(recording.Handle, {slot});
        recording.Journal->Changing(note);
        recording.Journal->Inserted(recording.Handle, {note});
    }
    NoteAccess::NoteTimeSet(*note, atTime);
    slot = note;
    return true;
}

void detail::NotesAccess::PutIn(Notes& n, const std::vector<std::shared_ptr<Note>>& block) {
    if (block.empty()) return;
    const size_t at = LowerBound(n.mList, block.front()->NoteTime());
    const bool fits = at == n.mList.size() || n.mList[at]->NoteTime() > block.back()->NoteTime();
    if (fits) {
        n.mList.insert(n.mList.begin() + static_cast<std::ptrdiff_t>(at), block.begin(),
                       block.end());
        return;
    }
    // Something was put where the notes stood since they left: each goes back where its time is
    // still free.
    for (const auto& note : block) {
        const size_t place = LowerBound(n.mList, note->NoteTime());
        if (place < n.mList.size() && n.mList[place]->NoteTime() == note->NoteTime()) continue;
        n.mList.insert(n.mList.begin() + static_cast<std::ptrdiff_t>(place), note);
    }
}

void detail::NotesAccess::TakeOut(Notes& n, const std::vector<std::shared_ptr<Note>>& block) {
    if (block.empty()) return;
    const size_t at = LowerBound(n.mList, block.front()->NoteTime());
    const bool together =
        at + block.size() <= n.mList.size() &&
        std::equal(block.begin(), block.end(), n.mList.begin() + static_cast<std::ptrdiff_t>(at));
    if (together) {
        const auto first = n.mList.begin() + static_cast<std::ptrdiff_t>(at);
        n.mList.erase(first, first + static_cast<std::ptrdiff_t>(block.size()));
        return;
    }
    for (const auto& note : block) {
        const auto it = std::find(n.mList.begin(), n.mList.end(), note);
        if (it != n.mList.end()) n.mList.erase(it);
    }
}

void detail::NotesAccess::Shift(Notes& n, int32_t fromTime, int32_t delta) {
    for (size_t i = LowerBound(n.mList, fromTime); i < n.mList.size(); ++i) {
        Note& note = *n.mList[i];
        NoteAccess::NoteTimeSet(note, static_cast<int32_t>(int64_t{note.NoteTime()} + delta));
    }
}

}  // namespace corvendi
