#include "engine/ActivePosition.h"

#include <utility>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"

namespace corvendi {

using Access = detail::ScoreAccess;

namespace {

constexpr char kVerseSeparator = '\r';

std::shared_ptr<Notes> ActiveNotes(const Score& score, const Staff& staff) {
    const auto voice = staff.Voice(score.Voice());
    return voice ? voice->Notes() : nullptr;
}

}  // namespace

ActivePosition::ActivePosition(Score& score) : mScore(score), mCursor(Access::Cursor(score)) {}

void ActivePosition::SetActiveByHit(int32_t X, int32_t Y) {
    std::shared_ptr<Region> region;
    for (const auto& candidate : Access::Regions(mScore)) {
        if (candidate && candidate->Left < X && X < candidate->Right && candidate->Top < Y &&
            Y < candidate->Bottom) {
            region = candidate;
            break;
        }
    }
    const auto staff = region ? mScore.Staff(region->Staff) : nullptr;
    const auto globals = mScore.AllGlobals();
    if (!staff || !globals) return;
    staff->SetSelected(true);
    const auto& events = Access::EventSource(mScore);
    events.Raise(&ScoreEvents::ActiveStaff, staff);

    int64_t left = region->Left;
    for (int32_t j = 0; j < region->Measures(); ++j) {
        const auto measure = region->Measure(j);
        if (!measure) return;
        if (X < left + measure->Low()) {
            Access::SelectedMeasureSet(mScore, globals->MeasureInfo(measure->High()).Number);
            events.Raise(&ScoreEvents::ActiveMeasure, mScore.SelectedMeasure());
            return;
        }
        left += measure->Low();
    }
}

bool ActivePosition::FirstActiveXY(int32_t& atTime, int32_t& X, int32_t& Y,
                                   std::string& activeLyric) {
    const auto staff = mScore.SelectedStaff();
    if (!staff) return false;
    if (staff->Verses() < mScore.Verse()) {
        detail::StaffAccess::VersesSet(*staff, static_cast<uint8_t>(mScore.Verse()));
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
    }
    mCursor.NextFrom = PageSpan().first;
    return NextActiveXY(atTime, X, Y, activeLyric);
}

bool ActivePosition::NextActiveXY(int32_t& activeTime, int32_t& X, int32_t& Y,
                                  std::string& activeLyric) {
    const auto staff = mScore.SelectedStaff();
    const auto notes = staff ? ActiveNotes(mScore, *staff) : nullptr;
    std::shared_ptr<Note> note;
    if (notes && mCursor.NextFrom >= 0) note = notes->Item(mCursor.NextFrom);
    if (note && note->NoteTime() >= PageSpan().second) note.reset();
    return MoveTo(note, staff.get(), activeTime, X, Y, activeLyric);
}

bool ActivePosition::PrevActiveXY(int32_t& activeTime, int32_t& X, int32_t& Y,
                                  std::string& activeLyric) {
    const auto staff = mScore.SelectedStaff();
    const auto notes = staff ? ActiveNotes(mScore, *staff) : nullptr;
    std::shared_ptr<Note> note;
    if (notes && mCursor.ActiveTime >= 1) note = notes->Item(mCursor.ActiveTime, false, true);
    if (note && note->NoteTime() < PageSpan().first) note.reset();
    return MoveTo(note, staff.get(), activeTime, X, Y, activeLyric);
}

bool ActivePosition::MoveTo(const std::shared_ptr<Note>& note, const Staff* staff,
                            int32_t& activeTime, int32_t& X, int32_t& Y, std::string& activeLyric) {
    if (!note || !staff) {
        mCursor.ActiveTime = -1;
        return false;
    }
    mCursor.ActiveTime = note->NoteTime();
    mCursor.ActiveX = note->X();
    mCursor.NextFrom = mCursor.ActiveTime < INT32_MAX ? mCursor.ActiveTime + 1 : -1;
    activeTime = mCursor.ActiveTime;
    X = mCursor.ActiveX;
    // The lyric line lies below the staff band that shows the note.
    for (const auto& region : Access::Regions(mScore)) {
        if (region && region->Staff == staff->Index() && region->Bottom > note->Y()) {
            mCursor.ActiveY = region->Bottom;
            Y = region->Bottom;
            break;
        }
    }
    mCursor.LyricStaff = staff->Index();
    mCursor.LyricTime = mCursor.ActiveTime;
    const auto events = staff->GlobalEvents();
    const auto lyric = events ? events->Item(mCursor.ActiveTime, evtLyric) : nullptr;
    mCursor.LyricText = lyric ? VerseText(lyric->Text(), mScore.Verse()) : std::string();
    activeLyric = mCursor.LyricText;
    return true;
}

std::pair<int32_t, int32_t> ActivePosition::PageSpan() const {
    auto& ranges = Access::PageRanges(mScore);
    const auto page = static_cast<size_t>(mScore.CurPage());
    if (page < 1 || page > ranges.size() || !ranges[page - 1]) return {0, 0};
    return {ranges[page - 1]->Low(), ranges[page - 1]->High()};
}

std::string ActivePosition::VerseText(const std::string& text, int32_t verse) {
    size_t start = 0;
    for (int32_t v = 1; v < verse; ++v) {
        const size_t separator = text.find(kVerseSeparator, start);
        if (separator == std::string::npos) return {};
        start = separator + 1;
    }
    const size_t end = text.find(kVerseSeparator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace corvendi
