#include "engine/MeasureEditor.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "corvendi/dialogs/DeleteMeasureDialog.h"
#include "corvendi/dialogs/DeleteStaffDialog.h"
#include "corvendi/dialogs/InsertMeasureDialog.h"
#include "corvendi/dialogs/InsertStaffDialog.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi {

using detail::GlobalEventsAccess;
using detail::NotesAccess;
using detail::ScoreAccess;
using detail::ScoreState;
using detail::StaffAccess;
using detail::StaffsAccess;

namespace {

constexpr int32_t kMaxMeasuresPerEdit = InsertMeasureDialog::kMaxQuantity;
constexpr int32_t kMaxStaffs = InsertStaffDialog::kMaxStaffs;
// A tie keeps its end time in two bytes.
constexpr int32_t kLatestTieEnd = 65535;
// The instrument a staff plays when nothing else offers one (as the first staff of a score).
constexpr int32_t kDefaultCatalogueEntry = 74;

// The events that set the state a score opens with.
constexpr std::array<int32_t, 3> kOpeningTypes = {evtTimeChange, evtKeyChange, evtClefChange};

bool IsOpeningType(int32_t type) {
    return std::find(kOpeningTypes.begin(), kOpeningTypes.end(), type) != kOpeningTypes.end();
}

bool IsGroupMark(const GlobalEvent& event) { return event.EventType() == evtGroupMark; }

int32_t TieEnd(const GlobalEvent& tie) { return tie.Value1() * 256 + tie.Value2(); }

void SetTieEnd(GlobalEvent& tie, int32_t end) {
    tie.SetValue1(static_cast<uint8_t>(IDiv(end, 256)));
    tie.SetValue2(static_cast<uint8_t>(IMod(end, 256)));
}

bool IsTie(const GlobalEvent& event) { return event.EventType() == evtTie; }

// Every voice's notes of every staff.
template <typename F>
void ForEachNotes(Score& score, F&& f) {
    for (const auto& staff : *score.AllStaffs()) {
        for (int32_t v = 1; v <= staff->Voices(); ++v) {
            const auto voice = staff->Voice(v);
            if (const auto notes = voice ? voice->Notes() : nullptr) f(*notes);
        }
    }
}

// The score-wide events and every staff's.
template <typename F>
void ForEachEvents(Score& score, F&& f) {
    for (const auto& staff : *score.AllStaffs()) {
        if (const auto events = staff->GlobalEvents()) f(*events);
    }
    if (const auto globals = score.AllGlobals()) f(*globals);
}

bool Confirmed() { return Process().DialogResult == kDialogOk; }

}  // namespace

// --- measures ---------------------------------------------------------------------------------

void MeasureEditor::AddMeasure(std::optional<int32_t> index, bool afterIt, bool prompt) {
    ScoreState& state = ScoreAccess::State(mScore);
    if (state.AddBusy || state.DelBusy) return;
    BusyScope busy(state.AddBusy);
    Process().DialogResult = kDialogOk;
    int32_t count = 1;
    int32_t number = std::clamp(index.value_or(mScore.SelectedMeasure()), 1, LastMeasure());
    bool after = afterIt;
    if (prompt) {
        InsertMeasureDialog dialog;
        dialog.Init(mScore);
        dialog.SetMeasure(number);
        dialog.SetAfter(after);
        CurrentPlatform().PresentDialog(dialog);
        if (!Confirmed()) return;
        count = dialog.Quantity();
        number = dialog.MeasureNumber();
        after = dialog.After();
    }
    if (!Confirmed()) return;
    number = std::clamp(number, 1, LastMeasure());
    if (after && number < std::numeric_limits<int32_t>::max()) ++number;
    if (InsertMeasures(number, std::clamp(count, 1, kMaxMeasuresPerEdit))) FinishTimeEdit();
}

void MeasureEditor::DelMeasure(std::optional<int32_t> index, bool prompt) {
    ScoreState& state = ScoreAccess::State(mScore);
    if (state.AddBusy || state.DelBusy) return;
    BusyScope busy(state.DelBusy);
    Process().DialogResult = kDialogOk;
    int32_t count = 1;
    int32_t number = std::clamp(index.value_or(mScore.SelectedMeasure()), 1, LastMeasure());
    if (prompt) {
        DeleteMeasureDialog dialog;
        dialog.Init(mScore);
        dialog.SetMeasure(number);
        CurrentPlatform().PresentDialog(dialog);
        if (!Confirmed()) return;
        count = dialog.Quantity();
        number = dialog.MeasureNumber();
    }
    if (!Confirmed()) return;
    number = std::clamp(number, 1, LastMeasure());
    if (DeleteMeasures(number, std::clamp(count, 1, kMaxMeasuresPerEdit))) FinishTimeEdit();
}

bool MeasureEditor::InsertMeasures(int32_t index, int32_t count) {
    GlobalEvents& globals = *mScore.AllGlobals();
    const int32_t t0 = index > 1 ? globals.MeasureTime(index) : 0;
    const int32_t length = globals.MeasureInfo(t0 > 0 ? t0 - 1 : 0).Duration;
    const int32_t span = count * length;
    if (span <= 0 || LatestTime() + span > std::numeric_limits<int32_t>::max()) return false;

    ForEachNotes(mScore, [&](Notes& notes) { NotesAccess::InsertSpan(notes, t0, span); });
    ForEachEvents(mScore, [&](GlobalEvents& events) { InsertIntoEvents(events, t0, span); });
    ScoreAccess::HighNoteTimeSet(mScore, mScore.HighTime());
    return true;
}

void MeasureEditor::InsertIntoEvents(GlobalEvents& events, int32_t t0, int32_t span) {
    GlobalEventsAccess::RemoveWhere(events, [&](const GlobalEvent& e) {
        return IsTie(e) && TieEnd(e) >= t0 && TieEnd(e) + span > kLatestTieEnd;
    });
    for (const auto& tie : events) {
        if (IsTie(*tie) && TieEnd(*tie) >= t0) SetTieEnd(*tie, TieEnd(*tie) + span);
    }
    GlobalEventsAccess::InsertSpan(events, t0, span, [t0](const GlobalEvent& e) {
        return IsGroupMark(e) || (t0 == 0 && e.EventTime() == 0 && IsOpeningType(e.EventType()));
    });
}

bool MeasureEditor::DeleteMeasures(int32_t index, int32_t count) {
    GlobalEvents& globals = *mScore.AllGlobals();
    const int32_t t0 = globals.MeasureTime(index);
    const auto end = std::min<int64_t>(int64_t{index} + count, std::numeric_limits<int32_t>::max());
    const int32_t t1 = globals.MeasureTime(static_cast<int32_t>(end));
    if (t1 <= t0) return false;

    ForEachNotes(mScore, [&](Notes& notes) { notes.RemoveRange(t0, t1); });
    ForEachEvents(mScore, [&](GlobalEvents& events) { DeleteFromEvents(events, t0, t1); });
    ScoreAccess::HighNoteTimeSet(mScore, mScore.HighTime());
    return true;
}

void MeasureEditor::DeleteFromEvents(GlobalEvents& events, int32_t t0, int32_t t1) {
    const int32_t span = t1 - t0;
    GlobalEventsAccess::RemoveWhere(events, [&](const GlobalEvent& e) {
        return IsTie(e) && TieEnd(e) >= t0 && TieEnd(e) < t1;
    });
    for (const auto& tie : events) {
        if (IsTie(*tie) && TieEnd(*tie) >= t1) SetTieEnd(*tie, TieEnd(*tie) - span);
    }
    // An opening signature stays unless the measure that becomes the first brings its own.
    std::array<bool, kOpeningTypes.size()> replaced{};
    for (size_t i = 0; i < kOpeningTypes.size(); ++i) {
        replaced[i] = events.Find(t1, kOpeningTypes[i], true) != nullptr;
    }
    GlobalEventsAccess::RemoveRange(events, t0, t1, [&](const GlobalEvent& e) {
        if (IsGroupMark(e)) return true;
        if (t0 != 0 || e.EventTime() != 0) return false;
        const auto* type = std::find(kOpeningTypes.begin(), kOpeningTypes.end(), e.EventType());
        return type != kOpeningTypes.end() &&
               !replaced[static_cast<size_t>(type - kOpeningTypes.begin())];
    });
}

void MeasureEditor::FinishTimeEdit() {
    ScoreAccess::StartPagination(mScore, false);
    mScore.SetChanged(true);
    ScoreAccess::AwaitLayoutOfCurrentPage(mScore);
    const int32_t page = std::clamp(mScore.CurPage(), 1, std::max(mScore.LastPage(), 1));
    ScoreAccess::CurPageSet(mScore, page);
    const auto& ranges = ScoreAccess::PageRanges(mScore);
    if (static_cast<size_t>(page) <= ranges.size() && ranges[static_cast<size_t>(page - 1)]) {
        ScoreAccess::CurTimeSet(mScore, ranges[static_cast<size_t>(page - 1)]->Low());
    }
    ScoreAccess::LastNoteSet(mScore, 0, 0, 0, 0);
    mScore.PaintWindow();
}

int64_t MeasureEditor::LatestTime() const {
    int64_t latest = 0;
    ForEachNotes(mScore, [&](Notes& notes) {
        if (const auto last = notes.ByIndex(notes.Count())) {
            latest = std::max<int64_t>(latest, last->NoteTime());
        }
    });
    ForEachEvents(mScore, [&](GlobalEvents& events) {
        if (const auto last = events.ByIndex(events.Count())) {
            latest = std::max<int64_t>(latest, last->EventTime());
        }
        if (const auto last = events.TimeItem(events.TimeItemCount())) {
            latest = std::max<int64_t>(latest, last->EventTime());
        }
    });
    return latest;
}

int32_t MeasureEditor::LastMeasure() const {
    const auto latest = static_cast<int32_t>(LatestTime());
    return std::max(mScore.AllGlobals()->MeasureInfo(latest).Number, 1);
}

// --- staffs -----------------------------------------------------------------------------------

std::shared_ptr<Staff> MeasureEditor::AddStaff(std::optional<int32_t> index, bool prompt) {
    Process().DialogResult = kDialogOk;
    const int32_t staffCount = mScore.Staffs();
    int32_t position = std::clamp(index.value_or(staffCount + 1), 1, staffCount + 1);
    int32_t count = 1;
    int32_t voices = 1;
    std::optional<int32_t> instrumentEntry;
    std::optional<int32_t> clef;
    if (prompt) {
        InsertStaffDialog dialog;
        dialog.Init(mScore);
        CurrentPlatform().PresentDialog(dialog);
        if (!Confirmed()) return nullptr;
        count = dialog.Quantity();
        position = dialog.Position();
        instrumentEntry = dialog.Instrument();
        voices = dialog.Voices();
        clef = dialog.Clef();
    }
    if (!Confirmed()) return nullptr;
    count = std::min(count, kMaxStaffs - staffCount);
    if (count < 1) return nullptr;
    return InsertStaffs(position, count, instrumentEntry, voices, clef, prompt);
}

std::shared_ptr<Staff> MeasureEditor::InsertStaffs(int32_t index, int32_t count,
                                                   std::optional<int32_t> instrumentEntry,
                                                   int32_t voices, std::optional<int32_t> clef,
                                                   bool fromDialog) {
    Staffs& staffs = *mScore.AllStaffs();
    std::shared_ptr<Instrument> instrument;
    if (fromDialog) {
        Instruments& instruments = *mScore.AllInstruments();
        if (instrumentEntry) instrument = instruments.Add(instruments.NewID(), *instrumentEntry);
        // No instrument chosen, or no room for another: the neighbour's, as without the dialog.
        if (!instrument && staffs.Count() > 0) {
            const auto neighbour = staffs.Item(std::max(index - 1, 1));
            if (const auto voice = neighbour ? neighbour->Voice(1) : nullptr) {
                instrument = voice->Instrument();
            }
        }
        if (!instrument) instrument = instruments.Add(instruments.NewID(), kDefaultCatalogueEntry);
    }

    const bool redraw = mScore.Redraw();
    mScore.SetRedraw(false);
    std::shared_ptr<Staff> staff;
    for (int32_t i = 0; i < count; ++i) {
        staff = StaffsAccess::Add(staffs, staffs.NewID(), "New", index, fromDialog);
        if (!staff) continue;
        if (fromDialog) {
            for (int32_t v = 0; v < voices; ++v) staff->AddVoice(instrument);
            // After the voices: the first voice would set its instrument's clef.
            if (clef) staff->SetDefaultClef(*clef);
        }
        mScore.SetChanged(true);
        ScoreAccess::StartPagination(mScore, false);
        mScore.PaintWindow();
    }
    mScore.SetRedraw(redraw);
    return staff;
}

void MeasureEditor::DelStaff(std::optional<int32_t> index, bool prompt) {
    Process().DialogResult = kDialogOk;
    int32_t count = 1;
    int32_t first = std::clamp(index.value_or(1), 1, std::max(mScore.Staffs(), 1));
    if (prompt) {
        DeleteStaffDialog dialog;
        dialog.Init(mScore);
        CurrentPlatform().PresentDialog(dialog);
        if (!Confirmed()) return;
        count = dialog.Quantity();
        first = dialog.FirstStaff();
    }
    if (!Confirmed()) return;
    count = std::clamp(count, 1, kMaxStaffs);

    const bool redraw = mScore.Redraw();
    mScore.SetRedraw(false);
    for (int64_t n = int64_t{first} + count - 1; n >= first; --n) {
        if (n < 1 || n > mScore.Staffs()) continue;
        RemoveStaff(static_cast<int32_t>(n));
        mScore.SetChanged(true);
        ScoreAccess::StartPagination(mScore, false);
        mScore.PaintWindow();
    }
    ScoreAccess::HighNoteTimeSet(mScore, mScore.HighTime());
    mScore.SetRedraw(redraw);
}

// The staff's voices go with it, so that nothing of it is played or exported any more.
void MeasureEditor::RemoveStaff(int32_t index) {
    const auto staff = mScore.Staff(index);
    if (!staff) return;
    Voices& voices = *mScore.AllVoices();
    for (int32_t v = staff->Voices(); v >= 1; --v) {
        if (const auto voice = staff->Voice(v)) voices.Remove(voice->ID());
    }
    StaffsAccess::Remove(*mScore.AllStaffs(), index);
}

// --- braces -----------------------------------------------------------------------------------

void MeasureEditor::SetBraceByHit(float x, float y, int32_t staffs) {
    const int32_t brace = staffs >= 3 ? 3 : staffs >= 1 ? 2 : staffs;
    if (brace >= 0) {
        const auto region = mScore.InRegion(NInt(x), NInt(y));
        const auto staff = region ? mScore.Staff(region->Staff) : nullptr;
        if (!staff || staff->Brace() == brace) return;
        StaffAccess::BraceSet(*staff, brace);
    } else {
        GlobalEvents& globals = *mScore.AllGlobals();
        bool& hasGroupMark = ScoreAccess::State(mScore).HasGroupMark;
        hasGroupMark = globals.Find(0, evtGroupMark, true) == nullptr;
        if (hasGroupMark) {
            globals.Add(0, evtGroupMark, 0, 0, "");
        } else {
            globals.Remove(0, evtGroupMark);
        }
    }
    mScore.SetChanged(true);
    mScore.PaintWindow();
}

}  // namespace corvendi
