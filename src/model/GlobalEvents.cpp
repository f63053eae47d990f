#include "corvendi/GlobalEvents.h"

#include "model/ModelAccess.h"

#include <algorithm>
#include <utility>

#include "common/Arith.h"
#include "corvendi/Enums.h"

namespace corvendi {

namespace {

using List = GlobalEvents::List;

// Length and beat of the measures a time signature starts.
struct Meter {
    int32_t length = 64;
    int32_t pulse = 16;
};

std::shared_ptr<GlobalEvent> MakeEvent(int32_t atTime, int32_t eventType, uint8_t value1,
                                       uint8_t value2, std::string text) {
    auto event = std::make_shared<GlobalEvent>();
    event->SetEventTime(atTime);
    event->SetEventType(eventType);
    event->SetValue1(value1);
    event->SetValue2(value2);
    event->SetText(std::move(text));
    return event;
}

Meter MeterOf(const GlobalEvent& signature) {
    const int32_t beats = signature.Value1();
    const int32_t beatLength = signature.Value2();
    if (beats == 0) return {beatLength != 0 ? 32 : 64, 16};

    const int32_t length = IMod(beats * beatLength, 256);
    if (!InRange(length, 1, 96)) return {64, 16};
    if (beats == 9) return {length, NInt(static_cast<double>(length) / 3.0)};
    if (beats == 6) return {length, length};
    return {length, NInt(static_cast<double>(length) / beats)};
}

// floor(span / length) for a span between two 32-bit times; the quotient of a double is exact
// at these magnitudes.
int64_t WholeMeasures(int64_t span, int32_t length) {
    return FloorToInt(static_cast<double>(span) / length);
}

int32_t TimeOf(const List& list, int64_t position) { return list[position - 1]->EventTime(); }

// Binary search of a time in a list (positions 1-based). Returns the position of the last event
// stored at `time`; otherwise the position of the first later event, or Count + 1. A hint H in
// 1..Count + 1 caps the search: positions from H on are not probed, and H is returned when every
// probed event is earlier.
int64_t SearchPosition(const List& list, int32_t time, int64_t hint) {
    const auto count = static_cast<int64_t>(list.size());
    int64_t low = 1;
    int64_t high = count + 1;
    if (hint >= 1 && hint <= high) high = hint;
    int64_t position = high;

    while (high > 1) {
        const int64_t middle = IDiv64(low + high, 2);
        const int32_t probe = TimeOf(list, middle);
        if (probe > time) {
            position = std::min(position, middle);
            if (middle == high) break;
            high = middle;
        } else if (probe < time) {
            if (middle == low) break;
            low = middle;
        } else {
            position = middle;
            while (position < count && TimeOf(list, position + 1) == time) ++position;
            break;
        }
    }
    return position;
}

// The event of `eventType` at exactly `time` near `position`: looked for from there forward,
// then backward, among the events stored at `time`. Returns its position or 0.
int64_t LocateAtTime(const List& list, int64_t position, int32_t time, int32_t eventType) {
    const auto count = static_cast<int64_t>(list.size());
    for (int64_t i = position; i <= count && TimeOf(list, i) == time; ++i) {
        if (list[i - 1]->EventType() == eventType) return i;
    }
    for (int64_t i = std::min(position - 1, count); i >= 1 && TimeOf(list, i) == time; --i) {
        if (list[i - 1]->EventType() == eventType) return i;
    }
    return 0;
}

// A play-back lookup also stops at the marks that steer playback: repeats and section starts.
bool MatchesType(int32_t storedType, int32_t wantedType) {
    if (storedType == wantedType) return true;
    return wantedType == evtPlayBack &&
           (storedType == evtRepeatBegin || storedType == evtRepeatEnd ||
            storedType == evtSectionDefine);
}

// After an insertion only the events from the insertion point on are out of place; the walk
// from the end stops at the first event already numbered right.
void RenumberFromEnd(List& list) {
    for (auto i = static_cast<int64_t>(list.size()); i >= 1; --i) {
        auto& event = *list[i - 1];
        if (event.Index() == i) break;
        event.SetIndex(static_cast<int32_t>(i));
    }
}

void RenumberFrom(List& list, int64_t position) {
    for (auto i = position; i <= static_cast<int64_t>(list.size()); ++i) {
        list[i - 1]->SetIndex(static_cast<int32_t>(i));
    }
}

bool Keeps(const detail::GlobalEventsAccess::EventFilter& keep, const GlobalEvent& event) {
    return keep && keep(event);
}

// Events kept in place may now stand after events that moved before them.
void SortByTime(List& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a->EventTime() < b->EventTime(); });
}

void RemoveSpan(List& list, int32_t fromTime, int32_t toTime,
                const detail::GlobalEventsAccess::EventFilter& keep) {
    const int64_t span = static_cast<int64_t>(toTime) - fromTime;
    List kept;
    kept.reserve(list.size());
    bool keptInPlace = false;
    for (auto& event : list) {
        const int32_t time = event->EventTime();
        if (time >= fromTime && Keeps(keep, *event)) {
            keptInPlace = true;
        } else if (time >= fromTime && time < toTime) {
            continue;
        } else if (time >= toTime) {
            event->SetEventTime(static_cast<int32_t>(time - span));
        }
        kept.push_back(std::move(event));
    }
    list = std::move(kept);
    if (keptInPlace) SortByTime(list);
    RenumberFrom(list, 1);
}

void InsertGap(List& list, int32_t fromTime, int32_t span,
               const detail::GlobalEventsAccess::EventFilter& keep) {
    bool keptInPlace = false;
    for (auto it = list.rbegin(); it != list.rend() && (*it)->EventTime() >= fromTime; ++it) {
        if (Keeps(keep, **it)) {
            keptInPlace = true;
        } else {
            (*it)->SetEventTime((*it)->EventTime() + span);
        }
    }
    if (keptInPlace) SortByTime(list);
    RenumberFrom(list, 1);
}

void DropWhere(List& list, const detail::GlobalEventsAccess::EventFilter& drop) {
    std::erase_if(list, [&](const auto& event) { return drop(*event); });
    RenumberFrom(list, 1);
}

std::shared_ptr<GlobalEvent> AtPosition(const List& list, int32_t index) {
    if (index < 1 || index > static_cast<int64_t>(list.size())) return nullptr;
    return list[index - 1];
}

}  // namespace

GlobalEvents::List& GlobalEvents::ListFor(int32_t eventType) {
    return eventType == evtTimeChange ? mTimeList : mOtherList;
}

const GlobalEvents::List& GlobalEvents::ListFor(int32_t eventType) const {
    return eventType == evtTimeChange ? mTimeList : mOtherList;
}

std::shared_ptr<GlobalEvent> GlobalEvents::Add(int32_t atTime, int32_t eventType, uint8_t value1,
                                               uint8_t value2, std::string text) {
    auto event = MakeEvent(atTime, eventType, value1, value2, std::move(text));

    List& list = ListFor(eventType);
    const int64_t position = SearchPosition(list, atTime, 0);
    if (position <= static_cast<int64_t>(list.size())) {
        list.insert(list.begin() + (position - 1), event);
    } else {
        list.push_back(event);
    }
    RenumberFromEnd(list);
    return event;
}

std::shared_ptr<GlobalEvent> detail::GlobalEventsAccess::AddLast(GlobalEvents& g, int32_t atTime,
                                                                 int32_t eventType, uint8_t value1,
                                                                 uint8_t value2, std::string text) {
    auto event = MakeEvent(atTime, eventType, value1, value2, std::move(text));

    GlobalEvents::List& list = g.ListFor(eventType);
    const auto later = std::upper_bound(
        list.begin(), list.end(), atTime,
        [](int32_t time, const std::shared_ptr<GlobalEvent>& e) { return time < e->EventTime(); });
    const auto inserted = list.insert(later, event);
    RenumberFrom(list, (inserted - list.begin()) + 1);
    return event;
}

std::shared_ptr<GlobalEvent> GlobalEvents::Find(int32_t atTime, int32_t eventType, bool exact,
                                                int32_t highIX) const {
    const List& list = ListFor(eventType);
    const int64_t position = SearchPosition(list, atTime, highIX);

    std::shared_ptr<GlobalEvent> result;
    for (int64_t i = std::min(position, static_cast<int64_t>(list.size())); i >= 1; --i) {
        const auto& event = list[i - 1];
        const int32_t time = event->EventTime();
        if (time > atTime) continue;
        if (exact && time < atTime) break;
        if (!MatchesType(event->EventType(), eventType)) continue;
        result = event;
        if (!exact) break;
    }
    if (result && highIX > 0 && result->Index() > highIX) return nullptr;
    return result;
}

std::shared_ptr<GlobalEvent> GlobalEvents::Item(int32_t atTime, int32_t eventType) const {
    const List& list = ListFor(eventType);
    const int64_t found = LocateAtTime(list, SearchPosition(list, atTime, 0), atTime, eventType);
    return found > 0 ? list[found - 1] : nullptr;
}

void GlobalEvents::SetItem(int32_t atTime, int32_t eventType,
                           const std::shared_ptr<GlobalEvent>& event) {
    if (!event) return;
    auto stored = Item(atTime, eventType);
    if (!stored || stored == event) return;
    stored->SetValue1(event->Value1());
    stored->SetValue2(event->Value2());
    stored->SetText(event->Text());
}

void GlobalEvents::Remove(int32_t atTime, int32_t eventType) {
    List& list = ListFor(eventType);
    const int64_t found = LocateAtTime(list, SearchPosition(list, atTime, 0), atTime, eventType);
    if (found == 0) return;
    list.erase(list.begin() + (found - 1));
    RenumberFrom(list, found);
}

void GlobalEvents::Clear() {
    mTimeList.clear();
    mOtherList.clear();
}

std::shared_ptr<GlobalEvent> GlobalEvents::ByIndex(int32_t index) const {
    return AtPosition(mOtherList, index);
}

std::shared_ptr<GlobalEvent> GlobalEvents::TimeItem(int32_t index) const {
    return AtPosition(mTimeList, index);
}

void detail::GlobalEventsAccess::RemoveRange(GlobalEvents& g, int32_t fromTime, int32_t toTime,
                                             const EventFilter& keep) {
    RemoveSpan(g.mOtherList, fromTime, toTime, keep);
    RemoveSpan(g.mTimeList, fromTime, toTime, keep);
}

void detail::GlobalEventsAccess::InsertSpan(GlobalEvents& g, int32_t fromTime, int32_t span,
                                            const EventFilter& keep) {
    InsertGap(g.mOtherList, fromTime, span, keep);
    InsertGap(g.mTimeList, fromTime, span, keep);
}

void detail::GlobalEventsAccess::RemoveWhere(GlobalEvents& g, const EventFilter& drop) {
    if (!drop) return;
    DropWhere(g.mOtherList, drop);
    DropWhere(g.mTimeList, drop);
}

void detail::GlobalEventsAccess::RemoveEvent(GlobalEvents& g,
                                             const std::shared_ptr<GlobalEvent>& event) {
    if (!event) return;
    List& list = g.ListFor(event->EventType());
    const int64_t position = event->Index();
    if (position < 1 || position > static_cast<int64_t>(list.size())) return;
    if (list[position - 1] != event) return;
    list.erase(list.begin() + (position - 1));
    RenumberFrom(list, position);
}

int32_t GlobalEvents::CurTimeVal(int32_t atTime) const {
    const auto signature = Find(atTime, evtTimeChange);
    if (!signature) return 0;
    return signature->Value1() * 128 + signature->Value2();
}

void GlobalEvents::SetDftTimeVal(int32_t value) {
    // Beats must fit a byte and the beat length 7 bits, which is exactly 0..32767.
    if (!InRange(value, 0, 32767)) return;
    auto signature = Find(0, evtTimeChange, true);
    if (!signature) signature = Add(0, evtTimeChange, 0, 0, "");
    signature->SetValue1(static_cast<uint8_t>(IDiv(value, 128)));
    signature->SetValue2(static_cast<uint8_t>(IMod(value, 128)));
}

int32_t GlobalEvents::PulseValue() {
    if (mPulse == 0) MeasureInfo(0);
    return mPulse;
}

void GlobalEvents::SetPulseValue(int32_t value) {
    if (value < 0) return;
    const int32_t firstLength = MeasureInfo(0).Duration;
    const int32_t beat = std::min(firstLength, value);
    mPulse = beat == 0 ? 0 : IDiv(firstLength, IDiv(firstLength, beat));
}

void GlobalEvents::MeasureInfo(int32_t atTime, int32_t& number, int32_t& duration) {
    int64_t measures = 0;
    int32_t last = 0;
    Meter meter;
    for (const auto& signature : mTimeList) {
        const int32_t time = signature->EventTime();
        if (time > atTime) break;
        measures += WholeMeasures(static_cast<int64_t>(time) - last, meter.length);
        last = time;
        meter = MeterOf(*signature);
    }
    measures += WholeMeasures(static_cast<int64_t>(atTime) - last, meter.length) + 1;

    number = static_cast<int32_t>(measures);
    duration = meter.length;
    if (mPulse == 0) mPulse = meter.pulse;
}

MeasureInfoResult GlobalEvents::MeasureInfo(int32_t atTime) {
    MeasureInfoResult result;
    MeasureInfo(atTime, result.Number, result.Duration);
    return result;
}

int32_t GlobalEvents::MeasureTime(int32_t mesNo) const {
    int64_t measure = 1;
    int64_t time = 0;
    int64_t length = 64;
    for (const auto& signature : mTimeList) {
        const int64_t skipped = IDiv64(signature->EventTime() - time, length);
        const int64_t reached = time + skipped * length;
        measure += skipped;
        if (measure > mesNo) {
            time = reached - (measure - mesNo) * length;
            measure = mesNo;
        } else {
            time = reached;
        }
        length = MeterOf(*signature).length;
        if (measure >= mesNo) break;
    }
    if (measure < mesNo) time += (mesNo - measure) * length;
    return static_cast<int32_t>(time);
}

void detail::GlobalEventsAccess::Renumber(GlobalEvents& g) {
    RenumberFrom(g.mTimeList, 1);
    RenumberFrom(g.mOtherList, 1);
}

}  // namespace corvendi
