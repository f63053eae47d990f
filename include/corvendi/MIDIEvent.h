// One MIDI event of the score's event stream (Score::GetMIDIEvent and the LoadMIDI event).
// Hosts may create their own; the channel, the text and the values are filled by the score.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "corvendi/Enums.h"
#include "corvendi/Export.h"

namespace corvendi {

namespace detail {
struct MIDIEventAccess;
}  // namespace detail

class CORVENDI_API MIDIEvent {
  public:
    MIDIEvent() = default;

    // MIDI channel 0..15.
    int32_t Channel() const { return mChannel; }

    // Time in engine ticks (16 per quarter note).
    int32_t EventTime() const { return mEventTime; }
    void SetEventTime(int32_t time) { mEventTime = time; }

    // The status type (a MIDITypes value): note on, note off or program change in the stream.
    int32_t EventType() const { return mEventType; }
    void SetEventType(int32_t type) { mEventType = type; }

    // For a note-on taken from a note: the note's key numbers, one byte each (raw bytes, not
    // UTF-8 text).
    const std::string& Text() const { return mText; }

    // Index 0: key number or program; index 1: velocity. Other indexes read 0.
    int32_t Value(int32_t Index) const {
        return Index == 0 || Index == 1 ? mValues[static_cast<size_t>(Index)] : 0;
    }

    bool operator==(const MIDIEvent&) const = default;

  private:
    friend struct detail::MIDIEventAccess;

    int32_t mChannel = 0;
    int32_t mEventTime = 0;
    int32_t mEventType = midNoOp;
    std::string mText;
    std::array<int32_t, 2> mValues{};
};

}  // namespace corvendi
