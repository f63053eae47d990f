// The MIDI sequencer a score plays its temporary MIDI file through (Score::PlayScore). The
// platform makes one per score (Platform::CreateSequencer); the score then opens its file under
// the alias "score", sets the song-pointer time format, plays it and closes it again.
//
// Threading: every call comes from the thread of the platform that made the sequencer (the
// score's thread). Whatever the sequencer runs elsewhere (an audio thread), the completion
// notice reaches the score on that thread: from the platform's message loop (a platform timer,
// or ProcessPendingEvents), never from inside one of the calls below.
//
// Implementing a sequencer: derive from Sequencer and implement the six operations. Operations
// added later get a default here that does what an old sequencer would (nothing, or report
// failure), so an implementation keeps compiling. Call NotifyDone() once when a Play that asked
// for a notice reaches the end of the file; not after Stop or Close. The score may destroy the
// sequencer from inside the handler NotifyDone runs: touch nothing of the sequencer after it.
//
// Times: until SetTimeFormat, Play's start and Position count milliseconds from the start of the
// file; after it they count song-pointer positions as the score counts time, 16 per quarter note
// (file ticks × 16 / the file's division).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API Sequencer {
  public:
    virtual ~Sequencer() = default;

    // Opens the Standard MIDI File at `path` (UTF-8) under the alias "score", ready to play
    // from its start. False when the file cannot be read, is no MIDI file, or no output device
    // could be opened; nothing is open then. A sequencer that is already open closes first.
    virtual bool Open(const std::string& path) = 0;
    // Switches the open file's times to song-pointer positions (see Times above). False when
    // nothing is open.
    virtual bool SetTimeFormat() = 0;
    // Starts playing at `fromTick` (clamped to the file's extent). With `notifyWhenDone` the
    // done handler runs once when playing reaches the end. False when nothing is open or the
    // output could not start; nothing plays then.
    virtual bool Play(int32_t fromTick, bool notifyWhenDone) = 0;
    // The time now sounding, in the current time format; the end once playing has ended, the
    // stopping point after Stop; -1 when nothing is open.
    virtual int32_t Position() const = 0;
    // Stops playing; the file stays open and Position keeps the stopping point. Ignored when
    // nothing plays.
    virtual void Stop() = 0;
    // Stops playing and closes the file. Ignored when nothing is open.
    virtual void Close() = 0;

    // The handler of the completion notice; an empty function removes it.
    void SetDoneHandler(std::function<void()> handler) { mDoneHandler = std::move(handler); }

  protected:
    // Runs the done handler, if any. The handler may destroy this sequencer.
    void NotifyDone() {
        const std::function<void()> handler = mDoneHandler;
        if (handler) handler();
    }

  private:
    std::function<void()> mDoneHandler;
};

}  // namespace corvendi
