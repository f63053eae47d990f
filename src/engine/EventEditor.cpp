#include "engine/EventEditor.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/Arith.h"
#include "corvendi/ChordList.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "engine/ActivePosition.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

using Access = detail::ScoreAccess;

namespace {

// Measure flag bits of the time-line marks.
constexpr int32_t kRepeatBeginBit = 1;
constexpr int32_t kRepeatEndBit = 2;
constexpr int32_t kSectionEndBit = 4;
constexpr int32_t kScoreEndBit = 8;
// Section types count from this bit of the measure flags on.
constexpr int32_t kSectionShift = 16;
// An octave line's Value2: 1 above (8va), 2 below (8vb).
constexpr int32_t kOctaveCodeUnit = 256;
constexpr int32_t kByteMax = 255;
constexpr char kVerseSeparator = '\r';
// A text event's offsets count half staff spaces.
constexpr int32_t kMiddleLineSpacings = 2;

uint8_t ToByte(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, kByteMax)); }

// The verses of a lyric text, verse 1 first.
std::vector<std::string> SplitVerses(const std::string& text) {
    std::vector<std::string> verses(1);
    for (const char c : text) {
        if (c == kVerseSeparator) {
            verses.emplace_back();
        } else {
            verses.back() += c;
        }
    }
    return verses;
}

// The events of a type stored exactly at `time`, in list order.
std::vector<std::shared_ptr<GlobalEvent>> EventsAt(const GlobalEvents& events, int32_t time,
                                                   int32_t eventType) {
    std::vector<std::shared_ptr<GlobalEvent>> found;
    auto first = events.Find(time, eventType, true);
    for (int32_t i = first ? first->Index() : events.Count() + 1; i <= events.Count(); ++i) {
        const auto event = events.ByIndex(i);
        if (!event || event->EventTime() != time) break;
        if (event->EventType() == eventType) found.push_back(event);
    }
    return found;
}

// Octave lines and repeat-measure signs are section events of a staff, told apart by their
// values.
std::shared_ptr<GlobalEvent> StaffSectionAt(const GlobalEvents& events, int32_t time,
                                            bool (*matches)(const GlobalEvent&)) {
    for (const auto& event : EventsAt(events, time, evtSectionDefine)) {
        if (matches(*event)) return event;
    }
    return nullptr;
}

bool IsRepeatMeasure(const GlobalEvent& event) { return event.Value1() == sctRepeatMeasure; }
bool IsOctaveLine(const GlobalEvent& event) { return event.Value2() != 0; }

bool IsStaffType(int32_t eventType) {
    switch (eventType) {
        case evtKeyChange:
        case evtClefChange:
        case evtLyric:
        case evtDynamic:
        case evtTempo:
        case evtStaffSpace:
        case evtText: return true;
        default: return false;
    }
}

}  // namespace

// An event list: the score's own or a staff's.
class EventEditor::Target {
  public:
    explicit Target(GlobalEvents& events) : mEvents(events) {}

    GlobalEvents& Events() const { return mEvents; }

    std::shared_ptr<GlobalEvent> Add(int32_t time, int32_t eventType, uint8_t value1,
                                     uint8_t value2, const std::string& text) {
        return mEvents.Add(time, eventType, value1, value2, text);
    }
    void Remove(const std::shared_ptr<GlobalEvent>& event) {
        detail::GlobalEventsAccess::RemoveEvent(mEvents, event);
    }
    static void Change(GlobalEvent& event, uint8_t value1, uint8_t value2,
                       const std::string& text) {
        event.SetValue1(value1);
        event.SetValue2(value2);
        event.SetText(text);
    }

  private:
    GlobalEvents& mEvents;
};

// --- placing by hit -----------------------------------------------------------------------------

void EventEditor::AddGlobalByHit(int32_t X, int32_t Y, int32_t eventType, int32_t subType,
                                 const std::string& text) {
    if (subType < kMinSubType || subType > kMaxSubType) return;
    const auto region = mScore.InRegion(X, Y);
    const auto globals = mScore.AllGlobals();
    if (!region || !globals) return;
    Placement p;
    p.Hit = NoteEditor::WalkMeasures(region, X, *globals);
    if (!p.Hit.InMeasure) return;
    p.Offset = OffsetInMeasure(*region, p.Hit, X);
    p.Flag = region->MeasureFlag(p.Hit.Measure);
    p.Staff = mScore.Staff(region->Staff);
    if (subType >= 0 && subType <= kByteMax) p.Value1 = static_cast<uint8_t>(subType);
    if (subType > kByteMax) p.Value2 = ToByte(IDiv(subType, kOctaveCodeUnit));

    const Outcome outcome = Place(eventType, subType, p, X, Y, text);
    if (!outcome.Changed) return;
    Access::SelectedMeasureSet(mScore, p.Hit.MeasureNumber);
    Access::EventSource(mScore).Raise(&ScoreEvents::ActiveMeasure, p.Hit.MeasureNumber);
    mScore.SetChanged(true);
    Show(p, outcome);
}

// o: the point's share of the measure's width after its note pad, as ticks rounded to the
// nearest; left of the first note position it is 0, and it is at most the measure's length.
int32_t EventEditor::OffsetInMeasure(const Region& region, const MusicHit& hit, int32_t X) {
    int64_t left = region.Left;
    for (int32_t k = 0; k < hit.Measure; ++k) left += region.Measure(k)->Low();
    left += region.MeasurePad(hit.Measure);
    const int64_t width =
        int64_t{region.Measure(hit.Measure)->Low()} - region.MeasurePad(hit.Measure);
    if (width <= 0 || X <= left) return 0;
    const double share = static_cast<double>(X - left) / static_cast<double>(width);
    return std::min(NInt(share * hit.MeasureLength), hit.MeasureLength);
}

EventEditor::Outcome EventEditor::Place(int32_t eventType, int32_t subType, const Placement& p,
                                        int32_t X, int32_t Y, const std::string& text) {
    const int32_t m = p.Hit.MeasureStart;
    const int32_t at = m + p.Offset;
    const auto globals = mScore.AllGlobals();
    Target score(*globals);
    const auto staffEvents = p.Staff ? p.Staff->GlobalEvents() : nullptr;
    if (IsStaffType(eventType) && !staffEvents) return {};
    Outcome outcome;
    switch (eventType) {
        case evtKeyChange: {
            // A key given as a signed count of flats is stored as its key byte.
            const uint8_t key = subType < 0 ? ByteFromKey(subType) : p.Value1;
            outcome = AddOrReplace(Target(*staffEvents), m, eventType, key, p.Value2, text);
            outcome.Relayout = outcome.Changed;
            return outcome;
        }
        case evtClefChange:
            outcome = AddOrReplace(Target(*staffEvents), at, eventType, p.Value1, p.Value2, text);
            outcome.Relayout = outcome.Changed;
            return outcome;
        case evtDynamic:
            return AddOrReplace(Target(*staffEvents), at, eventType, p.Value1, p.Value2, text);
        case evtTempo:
            return AddOrReplace(Target(*staffEvents), m, eventType, p.Value1, p.Value2, text);
        case evtRepeatBegin: return ToggleScoreMark(eventType, kRepeatBeginBit, p, text);
        case evtRepeatEnd: return ToggleScoreMark(eventType, kRepeatEndBit, p, text);
        case evtSectionEnd: return ToggleScoreMark(eventType, kSectionEndBit, p, text);
        case evtScoreEnd: return ToggleScoreMark(eventType, kScoreEndBit, p, text);
        case evtSectionDefine: return PlaceSection(subType, p, text);
        case evtChord: {
            outcome = AddOrReplace(score, at, eventType, p.Value1, p.Value2, text);
            if (outcome.Changed && !mScore.UseChords()) {
                // The chord row appears above every system.
                Access::UseChordsSet(mScore, true);
                outcome.Relayout = true;
            }
            return outcome;
        }
        case evtLineEnd: return ToggleLineEnd(p);
        case evtMeasureSize:
            outcome = Accumulate(score, m, eventType, subType);
            outcome.Relayout = outcome.Changed;
            return outcome;
        case evtStaffSpace:
            outcome = Accumulate(Target(*staffEvents), p.Hit.Region->Time, eventType, subType);
            outcome.Relayout = outcome.Changed;
            return outcome;
        case evtText: return PlaceText(p, X, Y, text);
        default: return {};
    }
}

EventEditor::Outcome EventEditor::PlaceSection(int32_t subType, const Placement& p,
                                               const std::string& text) {
    if (subType == sctRepeatMeasure) return ToggleRepeatMeasure(p);
    if (subType == sct8va || subType == sct8vb) return ToggleOctaveLine(subType, p);
    if (subType >= 1 && subType <= kByteMax) return ToggleScoreSection(subType, p, text);
    return {};
}

// Repeats and the section and score ends: a second click on the measure takes the mark away.
EventEditor::Outcome EventEditor::ToggleScoreMark(int32_t eventType, int32_t bit,
                                                  const Placement& p, const std::string& text) {
    Target score(*mScore.AllGlobals());
    const int32_t m = p.Hit.MeasureStart;
    const auto existing = score.Events().Item(m, eventType);
    if ((p.Flag & bit) != 0 || existing) {
        if (!existing) return {};
        score.Remove(existing);
        return {true, false, 0, bit};
    }
    score.Add(m, eventType, p.Value1, p.Value2, text);
    return {true, false, bit, 0};
}

// Endings, coda and segno signs and the "To" marks of one measure share its section event: each
// click toggles its own bit there, and the event goes when its last bit does.
EventEditor::Outcome EventEditor::ToggleScoreSection(int32_t subType, const Placement& p,
                                                     const std::string& text) {
    Target score(*mScore.AllGlobals());
    const int32_t m = p.Hit.MeasureStart;
    const int32_t bit = subType * kSectionShift;
    const auto existing = score.Events().Find(m, evtSectionDefine, true);
    const bool present =
        (p.Flag & bit) == bit || (existing && (existing->Value1() & subType) == subType);
    if (present) {
        if (!existing) return {};
        const int32_t left = existing->Value1() & ~subType;
        if (left == 0) {
            score.Remove(existing);
        } else {
            score.Change(*existing, ToByte(left), existing->Value2(), existing->Text());
        }
        return {true, false, 0, bit};
    }
    if (existing) {
        const std::string& label = text.empty() ? existing->Text() : text;
        score.Change(*existing, ToByte(existing->Value1() | subType), existing->Value2(), label);
    } else {
        score.Add(m, evtSectionDefine, p.Value1, 0, text);
    }
    return {true, false, bit, 0};
}

EventEditor::Outcome EventEditor::ToggleRepeatMeasure(const Placement& p) {
    const auto events = p.Staff ? p.Staff->GlobalEvents() : nullptr;
    if (!events) return {};
    Target staff(*events);
    const int32_t m = p.Hit.MeasureStart;
    if (p.Staff->SameAsLast(m)) {
        if (const auto sign = StaffSectionAt(*events, m, IsRepeatMeasure)) staff.Remove(sign);
    } else {
        staff.Add(m, evtSectionDefine, sctRepeatMeasure, 0, "");
    }
    return {true, false, 0, 0};
}

EventEditor::Outcome EventEditor::ToggleOctaveLine(int32_t subType, const Placement& p) {
    const auto events = p.Staff ? p.Staff->GlobalEvents() : nullptr;
    if (!events) return {};
    Target staff(*events);
    const int32_t m = p.Hit.MeasureStart;
    const int32_t bit = subType * kSectionShift;
    const auto existing = StaffSectionAt(*events, m, IsOctaveLine);
    if ((p.Flag & bit) == bit || (existing && existing->Value2() == p.Value2)) {
        if (!existing) return {};
        staff.Remove(existing);
        return {true, false, 0, bit};
    }
    // Another octave line in the measure gives way to the new one.
    if (existing) staff.Remove(existing);
    const auto added = staff.Add(m, evtSectionDefine, 0, p.Value2, "");
    if (added) JoinOctaveLine(p, *added, staff);
    return {true, false, bit, 0};
}

// An octave line running through consecutive measures is one line: the later of two neighbours
// is marked "+" (it continues).
void EventEditor::JoinOctaveLine(const Placement& p, GlobalEvent& added, Target target) {
    GlobalEvents& events = target.Events();
    const auto globals = mScore.AllGlobals();
    const int32_t m = p.Hit.MeasureStart;
    const int32_t d = p.Hit.MeasureLength;
    const int64_t nextEnd = int64_t{m} + 2 * int64_t{d} - 1;
    if (nextEnd <= INT32_MAX) {
        const auto next = events.Find(static_cast<int32_t>(nextEnd), evtSectionDefine);
        if (next && next->EventTime() >= int64_t{m} + d && next->Value2() == added.Value2() &&
            next->Text() != "+") {
            target.Change(*next, next->Value1(), next->Value2(), "+");
        }
    }
    if (m <= 0 || p.Hit.MeasureNumber <= 1) return;
    const int32_t previousStart = globals->MeasureTime(p.Hit.MeasureNumber - 1);
    const auto previous = events.Find(m - 1, evtSectionDefine);
    if (previous && previous->EventTime() >= previousStart &&
        previous->Value2() == added.Value2()) {
        added.SetText("+");
    }
}

EventEditor::Outcome EventEditor::ToggleLineEnd(const Placement& p) {
    Target score(*mScore.AllGlobals());
    const int32_t m = p.Hit.MeasureStart;
    if (const auto existing = score.Events().Item(m, evtLineEnd)) {
        score.Remove(existing);
    } else {
        score.Add(m, evtLineEnd, p.Value1, p.Value2, "");
    }
    return {true, true, 0, 0};
}

// A mark of these types standing at the same time is replaced rather than doubled: two dynamics
// at one time would only print over each other.
EventEditor::Outcome EventEditor::AddOrReplace(Target target, int32_t time, int32_t eventType,
                                               uint8_t value1, uint8_t value2,
                                               const std::string& text) {
    if (const auto existing = target.Events().Item(time, eventType)) {
        if (existing->Value1() == value1 && existing->Value2() == value2 &&
            existing->Text() == text) {
            return {};
        }
        target.Change(*existing, value1, value2, text);
    } else {
        target.Add(time, eventType, value1, value2, text);
    }
    return {true, false, 0, 0};
}

// Widening is kept in Value1 and narrowing in Value2, never both: a new amount first uses up
// the opposite one.
EventEditor::Outcome EventEditor::Accumulate(Target target, int32_t time, int32_t eventType,
                                             int32_t subType) {
    if (subType == 0) return {};
    const bool widen = subType > 0;
    const int32_t amount = std::min(std::abs(subType), kByteMax);
    const auto existing = target.Events().Item(time, eventType);
    if (!existing) {
        target.Add(time, eventType, widen ? ToByte(amount) : 0, widen ? 0 : ToByte(amount), "");
        return {true, false, 0, 0};
    }
    const int32_t same = widen ? existing->Value1() : existing->Value2();
    const int32_t opposite = widen ? existing->Value2() : existing->Value1();
    if (amount == opposite) {
        target.Remove(existing);
        return {true, false, 0, 0};
    }
    int32_t newSame = 0;
    int32_t newOpposite = 0;
    if (amount < opposite) {
        newOpposite = opposite - amount;
    } else {
        newSame = std::min(same + amount - opposite, kByteMax);
    }
    const uint8_t value1 = ToByte(widen ? newSame : newOpposite);
    const uint8_t value2 = ToByte(widen ? newOpposite : newSame);
    if (value1 == existing->Value1() && value2 == existing->Value2()) return {};
    target.Change(*existing, value1, value2, existing->Text());
    return {true, false, 0, 0};
}

// A text keeps its height as offsets from the middle staff line; clicking on a text's time moves
// it to the new height and gives it the new words.
EventEditor::Outcome EventEditor::PlaceText(const Placement& p, int32_t X, int32_t Y,
                                            const std::string& text) {
    Target staff(*p.Staff->GlobalEvents());
    const int32_t at = p.Hit.MeasureStart + p.Offset;
    uint8_t above = 0;
    uint8_t below = 0;
    int32_t inc = 0;
    TextOffsetByPos(above, below, X, Y, inc);
    if (const auto existing = staff.Events().Item(at, evtText)) {
        if (existing->Value1() == above && existing->Value2() == below &&
            existing->Text() == text) {
            return {};
        }
        staff.Change(*existing, above, below, text);
    } else {
        staff.Add(at, evtText, above, below, text);
    }
    return {true, false, 0, 0};
}

void EventEditor::Show(const Placement& p, const Outcome& outcome) {
    if (outcome.Relayout) {
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
        return;
    }
    Access::RepaintSystem(mScore, p.Hit.Region->Index, false, p.Hit.Measure, outcome.SetBits,
                          outcome.ClearBits);
}

// --- removing by time ---------------------------------------------------------------------------

// Marks a host places on a staff are looked for on the selected staff; section marks on both the
// score (endings, coda ...) and the selected staff (octave lines, repeat-measure signs).
std::shared_ptr<GlobalEvents> EventEditor::StaffEventsFor(int32_t eventType) const {
    if (!IsStaffType(eventType) && eventType != evtSectionDefine) return nullptr;
    const auto staff = mScore.SelectedStaff();
    return staff ? staff->GlobalEvents() : nullptr;
}

void EventEditor::RemoveGlobalEvent(int32_t atTime, int32_t eventType) {
    std::vector<std::shared_ptr<GlobalEvents>> lists;
    if (const auto staffEvents = StaffEventsFor(eventType)) lists.push_back(staffEvents);
    if (!IsStaffType(eventType) && mScore.AllGlobals()) lists.push_back(mScore.AllGlobals());
    bool removed = false;
    for (const auto& events : lists) {
        if (atTime >= 0) {
            if (!events->Item(atTime, eventType)) continue;
            events->Remove(atTime, eventType);
            removed = true;
            continue;
        }
        std::vector<std::shared_ptr<GlobalEvent>> doomed;
        for (const auto& event : *events) {
            if (event && event->EventType() == eventType) doomed.push_back(event);
        }
        for (const auto& event : doomed) detail::GlobalEventsAccess::RemoveEvent(*events, event);
        removed = removed || !doomed.empty();
    }
    if (!removed) return;
    if (eventType == evtLyric) {
        const auto staff = mScore.SelectedStaff();
        const auto events = staff ? staff->GlobalEvents() : nullptr;
        const bool anyLyric =
            events && std::any_of(events->begin(), events->end(), [](const auto& event) {
                return event && event->EventType() == evtLyric;
            });
        if (staff && !anyLyric) detail::StaffAccess::VersesSet(*staff, 0);
    }
    mScore.SetChanged(true);
    Access::StartPagination(mScore, true);
    mScore.PaintWindow();
}

// --- lyrics -------------------------------------------------------------------------------------

bool EventEditor::AddLyric(int32_t atTime, std::string text) {
    if (!mScore.SelectedStaff()) return false;
    Access::Cursor(mScore).LyricTime = atTime;
    SetLyric(std::move(text));
    return true;
}

// Verses keep their numbers: an empty verse before the edited one stays as an empty place, and
// empty verses at the end are dropped.
void EventEditor::SetLyric(std::string text) {
    LyricCursor& cursor = Access::Cursor(mScore);
    const auto staff = cursor.LyricTime >= 0 ? mScore.Staff(cursor.LyricStaff) : nullptr;
    const auto events = staff ? staff->GlobalEvents() : nullptr;
    if (!events) return;
    // A separator typed into a verse would shift the verses after it.
    std::replace(text.begin(), text.end(), kVerseSeparator, ' ');
    const auto existing = events->Item(cursor.LyricTime, evtLyric);
    cursor.LyricText = text;

    const int32_t verse = std::clamp(mScore.Verse(), 1, kMaxVerse);
    // A verse the staff does not show yet gets its lyric line.
    const bool relayout = staff->Verses() < verse;
    if (relayout) detail::StaffAccess::VersesSet(*staff, static_cast<uint8_t>(verse));
    std::vector<std::string> verses = SplitVerses(existing ? existing->Text() : std::string());
    verses.resize(std::max(verses.size(), static_cast<size_t>(verse)));
    verses[static_cast<size_t>(verse - 1)] = text;
    while (verses.size() > 1 && verses.back().empty()) verses.pop_back();
    std::string list = verses.front();
    for (size_t v = 1; v < verses.size(); ++v) list += kVerseSeparator + verses[v];

    if (existing) {
        existing->SetText(list);
    } else {
        events->Add(cursor.LyricTime, evtLyric, 0, 0, list);
    }
    mScore.SetChanged(true);
    if (relayout) {
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
        return;
    }
    if (cursor.LyricTime != cursor.ActiveTime) return;
    // The syllable under the cursor: its system is drawn again with the new text.
    for (const auto& region : Access::Regions(mScore)) {
        if (region && region->Staff == staff->Index() && region->Bottom == cursor.ActiveY) {
            Access::RepaintSystem(mScore, region->Index);
            return;
        }
    }
}

void EventEditor::SetVerse(int32_t verse) {
    const auto staff = mScore.SelectedStaff();
    if (!staff) return;
    const int32_t clamped = std::min(verse, kMaxVerse);
    if (clamped == 0 || clamped > staff->Verses()) {
        detail::StaffAccess::VersesSet(*staff, static_cast<uint8_t>(std::max(clamped, 0)));
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
    }
    Access::VerseSet(mScore, std::max(clamped, 1));
    if (clamped <= 0) return;
    int32_t atTime = mScore.CurTime();
    int32_t x = 0;
    int32_t y = 0;
    std::string lyric;
    if (ActivePosition(mScore).FirstActiveXY(atTime, x, y, lyric))
        Access::CurTimeSet(mScore, atTime);
}

// --- text offsets and chords --------------------------------------------------------------------

void EventEditor::TextOffsetByPos(uint8_t& offset1, uint8_t& offset2, int32_t X, int32_t Y,
                                  int32_t& inc) {
    offset1 = 0;
    offset2 = 0;
    const auto region = mScore.InRegion(X, Y);
    if (!region) return;
    const int32_t middle = region->Top + region->PadTop + kMiddleLineSpacings * region->IncY;
    Access::State(mScore).TextMidY = middle;
    inc = IDiv(region->IncY, 2);
    if (inc <= 0) return;
    if (Y < middle) offset1 = ToByte(IDiv(middle - Y, inc));
    if (Y > middle) offset2 = ToByte(IDiv(Y - middle, inc));
}

void EventEditor::LoadChordList(const Score& score, ChordList& list) {
    list.Clear();
    const auto& mapper = score.ChordMapper();
    if (!mapper) return;
    for (int32_t i = 0; i < mapper->ChordCount(); ++i) {
        list.AddItem(mapper->ChordName(i));
        list.SetItemData(i, mapper->ChordCode(i));
    }
}

}  // namespace corvendi
