// The score-wide timed events of one score, ordered by time, and the measure grid derived from
// the time signatures among them.
//
// Time signatures (`evtTimeChange`) are kept in a list of their own; every other type, including
// the internal `evtGroupMark`, goes into the list of other events. Both lists stay sorted by
// `EventTime`, and each event's `Index` is its 1-based position in its list.
//
// A time signature's `Value1` counts beats and `Value2` gives the beat length in ticks; the
// measure length is (Value1 × Value2) mod 256, with lengths outside 1..96 counted as 64.
// `Value1` = 0 is a symbol signature: common time (Value2 = 0, 64 ticks) or cut time (32 ticks).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corvendi/Export.h"
#include "corvendi/GlobalEvent.h"

namespace corvendi {

class DocumentOwner;

namespace detail {
struct GlobalEventsAccess;
}  // namespace detail

// The measure a time lies in and that measure's length in ticks.
struct CORVENDI_API MeasureInfoResult {
    int32_t Number = 0;
    int32_t Duration = 0;
};

class CORVENDI_API GlobalEvents {
  public:
    using List = std::vector<std::shared_ptr<GlobalEvent>>;

    GlobalEvents() = default;
    GlobalEvents(const GlobalEvents&) = delete;
    GlobalEvents& operator=(const GlobalEvents&) = delete;

    // Creates an event and stores it in time order. A new event at a time that already holds
    // events of its list goes in front of the last of them.
    std::shared_ptr<GlobalEvent> Add(int32_t atTime, int32_t eventType, uint8_t value1 = 0,
                                     uint8_t value2 = 0, std::string text = "");

    // Not exact: the event of that type in force at `atTime` (the latest at or before it).
    // Exact: the event of that type at `atTime` nearest the front of its list.
    // `evtPlayBack` also matches repeat-begin, repeat-end and section-define events. A positive
    // `highIX` bounds the search to positions below it, and a result whose `Index` exceeds it
    // is dropped.
    std::shared_ptr<GlobalEvent> Find(int32_t atTime, int32_t eventType, bool exact = false,
                                      int32_t highIX = 0) const;

    // The event of that type stored exactly at `atTime`, or nullptr. When several are stored
    // there, the one stored last wins (the same one `Remove` takes).
    std::shared_ptr<GlobalEvent> Item(int32_t atTime, int32_t eventType) const;

    // Copies `Value1`, `Value2` and `Text` of `event` into the event `Item(atTime, eventType)`
    // returns. The stored event keeps its time, type and place; nothing happens when there is
    // no such event or `event` is null.
    void SetItem(int32_t atTime, int32_t eventType, const std::shared_ptr<GlobalEvent>& event);

    // Removes the event `Item(atTime, eventType)` returns, if any, and renumbers the events
    // after it.
    void Remove(int32_t atTime, int32_t eventType);

    // Empties both lists. The cached pulse is kept.
    void Clear();

    // The other events (everything but time signatures), 1-based.
    int32_t Count() const { return static_cast<int32_t>(mOtherList.size()); }
    std::shared_ptr<GlobalEvent> ByIndex(int32_t index) const;
    List::const_iterator begin() const { return mOtherList.begin(); }
    List::const_iterator end() const { return mOtherList.end(); }

    // The time signatures, 1-based.
    int32_t TimeItemCount() const { return static_cast<int32_t>(mTimeList.size()); }
    std::shared_ptr<GlobalEvent> TimeItem(int32_t index) const;

    // Time value (Value1 × 128 + Value2) of the time signature in force at `atTime`; 0 when
    // there is none.
    int32_t CurTimeVal(int32_t atTime) const;

    // The time value in force at time 0. Setting it stores the value in the time signature at
    // time 0, adding one when there is none; values outside 0..32767 are ignored.
    int32_t DftTimeVal() const { return CurTimeVal(0); }
    void SetDftTimeVal(int32_t value);

    // The beat in ticks. Unknown until a measure lookup or a set; reading it then takes the
    // beat of the first measure. Setting it fits the value to the first measure: the measure's
    // length divided by the number of whole `value`-long beats it holds (`value` is capped at
    // the measure's length). 0 forgets it; negative values are ignored.
    int32_t PulseValue();
    void SetPulseValue(int32_t value);

    // The 1-based number of the measure `atTime` lies in and that measure's length in ticks.
    // Measures of a time signature are counted from its own time; a partial measure left before
    // it is not counted. The first lookup also fixes the pulse when it is not known yet.
    void MeasureInfo(int32_t atTime, int32_t& number, int32_t& duration);
    MeasureInfoResult MeasureInfo(int32_t atTime);

    // The start time of measure `mesNo`. A time signature that does not fall on a measure start
    // is counted from the measure start at or before it.
    int32_t MeasureTime(int32_t mesNo) const;

  private:
    friend struct detail::GlobalEventsAccess;

    List& ListFor(int32_t eventType);
    const List& ListFor(int32_t eventType) const;

    List mTimeList;
    List mOtherList;
    int32_t mPulse = 0;
    DocumentOwner* mParent = nullptr;
};

}  // namespace corvendi
