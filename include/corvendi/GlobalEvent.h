// One score-wide timed event: a time or key signature, a repeat or section mark, a clef change,
// a chord symbol, a lyric, a dynamic, a tempo mark, a text or a play-back mark. A plain record:
// every setter stores its value as given. `GlobalEvents` keeps `Index` equal to the event's
// position in its list.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API GlobalEvent {
  public:
    // Time in ticks from the start of the score (a whole note is 64 ticks).
    int32_t EventTime() const { return mEventTime; }
    void SetEventTime(int32_t value) { mEventTime = value; }

    // One of `EventTypes`, or `evtGroupMark`.
    int32_t EventType() const { return mEventType; }
    void SetEventType(int32_t value) { mEventType = value; }

    // 1-based position of the event in its own list; 0 until the event is stored.
    int32_t Index() const { return mIndex; }
    void SetIndex(int32_t value) { mIndex = value; }

    // Text of lyric, chord, text and tempo events.
    const std::string& Text() const { return mText; }
    void SetText(std::string value) { mText = std::move(value); }

    // For a time signature: Value1 beats of Value2 ticks each (Value1 = 0: a symbol signature).
    uint8_t Value1() const { return mValue1; }
    void SetValue1(uint8_t value) { mValue1 = value; }

    uint8_t Value2() const { return mValue2; }
    void SetValue2(uint8_t value) { mValue2 = value; }

  private:
    int32_t mEventTime = 0;
    int32_t mEventType = 0;
    int32_t mIndex = 0;
    std::string mText;
    uint8_t mValue1 = 0;
    uint8_t mValue2 = 0;
};

}  // namespace corvendi
