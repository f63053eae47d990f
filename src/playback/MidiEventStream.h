// The score as a stream of MIDI events in time order, one per request (Score::GetMIDIEvent), for
// hosts that drive their own MIDI output.
//
// A restart (a start time) positions every voice at its first note from that time on. Each step
// then takes the next note or program change of the voices, earliest first (voice order breaks
// ties), turns a note into one note-on and one note-off per key, queues them in time order and
// delivers the earliest queued event. The first step after a restart takes up to 10 voice
// events, later steps one, so the queue stays ahead of delivery. Entering a new measure, the
// step raises MarkRepeat, GoRepeat and SkipSection for the repeat and section marks standing at
// the delivered event's time.
//
// With GetAsync the step runs from the event-stream timer 25 ms after the request and the event
// arrives through LoadMIDI; otherwise it runs at once and the event is the request's result.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "corvendi/MIDIEvent.h"

namespace corvendi {

class HostTimer;
class Score;

class MidiEventStream {
  public:
    explicit MidiEventStream(Score& score);
    ~MidiEventStream();
    MidiEventStream(const MidiEventStream&) = delete;
    MidiEventStream& operator=(const MidiEventStream&) = delete;

    // One step of the stream. A start time restarts it there first (-1 ends the stream). The
    // delivered event, or nullptr once the stream is exhausted or while GetAsync is on.
    std::shared_ptr<MIDIEvent> GetMIDIEvent(std::optional<int32_t> startTime);
    // Whether events are still queued or to come.
    bool Running() const { return mRunning; }
    // Events waiting in the queue.
    size_t QueuedCount() const { return mQueue.size(); }

  private:
    // An event in the queue with its place: note-offs before anything else at their time (the
    // latest queued first), other events after everything queued at their time or earlier.
    struct Queued {
        int32_t Time = 0;
        int64_t Order = 0;
        MIDIEvent Event;
    };

    // The score's event-stream timer.
    HostTimer& Timer();
    void Restart(int32_t startTime);
    void Step();
    void GenerateVoiceEvents();
    std::optional<MIDIEvent> NextVoiceEvent();
    void QueueMidiEvent(const MIDIEvent& event);
    void QueueNote(const MIDIEvent& noteOn);
    std::shared_ptr<MIDIEvent> TakeFirstEvent();
    void ReportMeasureMarks(int32_t time);
    int32_t SoundingLength(int32_t duration, int32_t flags) const;

    Score& mScore;
    std::vector<Queued> mQueue;  // a heap, the earliest place on top
    bool mRunning = false;
    bool mRestarting = false;
    // No voice had an event left: only a restart positions them again, so later steps need not
    // look (the queue may still hold hundreds of thousands of events of a huge chord).
    bool mVoicesDone = false;
    int64_t mQueuedSoFar = 0;
    int32_t mBudget = 0;
    std::shared_ptr<MIDIEvent> mCurrent;
    int32_t mNoteLen = 0;
    int32_t mNoteFlags = 0;
    int32_t mLastMeasure = 0;
};

}  // namespace corvendi
