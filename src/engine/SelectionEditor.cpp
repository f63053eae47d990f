#include "engine/SelectionEditor.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/ClipboardText.h"
#include "engine/ScoreAccess.h"

namespace corvendi {

namespace {

using Access = detail::ScoreAccess;

// A tie keeps its end time in two bytes.
constexpr int32_t kTieEndLimit = 65536;
constexpr int32_t kByte = 256;

std::shared_ptr<Notes> NotesOf(const std::shared_ptr<Voice>& voice) {
    return voice ? voice->Notes() : nullptr;
}

// Whether `note` is still the note its voice holds at its time.
bool StillIn(const Notes& notes, const std::shared_ptr<Note>& note) {
    const auto it = std::partition_point(notes.begin(), notes.end(), [&](const auto& other) {
        return other->NoteTime() < note->NoteTime();
    });
    return it != notes.end() && *it == note;
}

}  // namespace

// --- selecting ----------------------------------------------------------------------------------

int32_t SelectionEditor::SetSelection(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    mScore.ClearSelection();
    Access::State(mScore).SelVoice = mScore.Voice();
    const int64_t l = std::min(left, right);
    const int64_t r = std::max(left, right);
    const int64_t t = std::min(top, bottom);
    const int64_t b = std::max(top, bottom);
    const auto& regions = Access::Regions(mScore);
    for (size_t i = 0; i < regions.size(); ++i) {
        const Region* region = regions[i].get();
        if (!region || region->Left >= r || region->Right <= l || region->Top >= b ||
            region->Bottom <= t) {
            continue;
        }
        SelectInRegion(*region, i, l, r);
    }
    return mScore.SelCount();
}

void SelectionEditor::SelectInRegion(const Region& region, size_t index, int64_t left,
                                     int64_t right) {
    const auto staff = mScore.Staff(region.Staff);
    const auto first = region.Measure(0);
    const auto notes = staff && first ? NotesOf(staff->Voice(mScore.Voice())) : nullptr;
    if (!notes) return;
    const int64_t end = RegionEnd(region, index);
    auto it = std::partition_point(notes->begin(), notes->end(), [&](const auto& note) {
        return note->NoteTime() < first->High();
    });
    auto& state = Access::State(mScore);
    for (; it != notes->end() && (*it)->NoteTime() < end; ++it) {
        const auto& note = *it;
        if (note->X() <= left) continue;
        if (int64_t{note->X()} + region.IncY >= right) break;
        state.Selected.push_back(note);
        state.SelVoiceIDs.push_back(staff->Voice(mScore.Voice())->ID());
        state.SelStaffs.push_back(region.Staff);
    }
}

int64_t SelectionEditor::RegionEnd(const Region& region, size_t index) const {
    const auto& regions = Access::Regions(mScore);
    for (size_t j = index + 1; j < regions.size(); ++j) {
        if (regions[j] && regions[j]->Staff == region.Staff && regions[j]->Measure(0)) {
            return regions[j]->Measure(0)->High();
        }
    }
    const auto& pages = Access::PageRanges(mScore);
    const auto page = static_cast<size_t>(mScore.CurPage());
    if (page >= 1 && page <= pages.size() && pages[page - 1]) return pages[page - 1]->High();
    return region.Measure(0)->High();
}

// --- deleting and tying -------------------------------------------------------------------------

int32_t SelectionEditor::DeleteSelected() {
    auto& state = Access::State(mScore);
    const auto voices = mScore.AllVoices();
    int32_t removed = 0;
    std::shared_ptr<Voice> voice;
    for (size_t i = 0; i < state.Selected.size() && voices; ++i) {
        // The voice is looked up again only when the next note's voice differs.
        if (!voice || voice->ID() != state.SelVoiceIDs[i])
            voice = voices->Item(state.SelVoiceIDs[i]);
        const auto notes = NotesOf(voice);
        const auto& note = state.Selected[i];
        if (!notes || !note || !StillIn(*notes, note)) continue;
        notes->Remove(note->NoteTime());
        ++removed;
    }
    mScore.ClearSelection();
    Access::EventSource(mScore).Raise(&ScoreEvents::SelectionCleared);
    if (removed > 0) {
        mScore.SetChanged(true);
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
    }
    return removed;
}

int32_t SelectionEditor::TieSelected() {
    const auto& state = Access::State(mScore);
    if (state.Selected.empty() || !state.Selected.front()) return 0;
    const int32_t staffIndex = state.SelStaffs.front();
    const int32_t start = state.Selected.front()->NoteTime();
    int32_t end = start;
    for (size_t i = 0; i < state.Selected.size(); ++i) {
        if (state.SelStaffs[i] == staffIndex && state.Selected[i]) {
            end = state.Selected[i]->NoteTime();
        }
    }
    const auto staff = mScore.Staff(staffIndex);
    const auto events = staff ? staff->GlobalEvents() : nullptr;
    if (end <= start || end >= kTieEndLimit || !events) return 0;
    events->Add(start, evtTie, static_cast<uint8_t>(IDiv(end, kByte)),
                static_cast<uint8_t>(IMod(end, kByte)), std::to_string(state.SelVoice));
    mScore.SetChanged(true);
    mScore.PaintWindow();
    return 1;
}

// --- the clipboard ------------------------------------------------------------------------------

int32_t SelectionEditor::PutClipboard(bool move) {
    Platform& platform = CurrentPlatform();
    platform.ClearClipboard();
    const auto& state = Access::State(mScore);
    const auto count = static_cast<int32_t>(state.Selected.size());
    std::vector<detail::CopiedNote> copied;
    for (size_t i = 0; i < state.Selected.size(); ++i) {
        const auto& note = state.Selected[i];
        const auto staff = mScore.Staff(state.SelStaffs[i]);
        if (!note || !staff) continue;
        detail::CopiedNote entry{staff->ID(),      state.SelVoiceIDs[i], note->NoteTime(),
                                 note->Duration(), note->Flags(),        {}};
        for (int32_t v = 0; v < note->ValueCount(); ++v) entry.Values.push_back(note->Value(v));
        copied.push_back(std::move(entry));
    }
    if (!copied.empty()) {
        const auto globals = mScore.AllGlobals();
        const int32_t measureStart =
            globals ? globals->MeasureTime(globals->MeasureInfo(copied.front().Time).Number) : 0;
        platform.SetClipboardText(detail::WriteNoteText(copied, measureStart));
    }
    if (move) DeleteSelected();
    return count;
}

void SelectionEditor::GetClipboard() {
    const std::string text = CurrentPlatform().ClipboardText();
    if (!detail::IsNoteText(text)) return;
    const auto staff = mScore.SelectedStaff();
    const auto notes = staff ? NotesOf(staff->Voice(mScore.Voice())) : nullptr;
    const auto globals = mScore.AllGlobals();
    if (!notes || !globals) return;
    const int64_t target = globals->MeasureTime(mScore.SelectedMeasure());
    int32_t pasted = 0;
    for (const detail::PastedValue& value : detail::ReadNoteText(text)) {
        const int64_t time = int64_t{value.Time} + target - value.SourceStart;
        if (time < 0 || time > INT32_MAX) break;  // a text not made by copying
        notes->Add(static_cast<int32_t>(time), value.Value, value.Duration, value.Flags);
        Access::RaiseHighNoteTime(mScore, static_cast<int32_t>(time));
        ++pasted;
    }
    if (pasted == 0) return;
    mScore.SetChanged(true);
    Access::StartPagination(mScore, true);
    mScore.PaintWindow();
}

}  // namespace corvendi
