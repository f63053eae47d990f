// The timing of a Standard MIDI File: its division, its tempo map and where its last event
// stands. Sequencers use it to turn file ticks into time and back; tools use it to know how
// long a file plays.
//
// Every track is read for tempo events (a format-1 file keeps them in its first track, but a
// tempo event anywhere counts from its tick on) and for its last event, the end-of-track
// included. Until the first tempo event the tempo is 500,000 microseconds per quarter note. A
// division with the SMPTE bit set counts frames × ticks per frame per second. A track that runs
// past its chunk or the file ends there; the file is never read past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API MidiFileTiming {
  public:
    // The timing of the file held in `bytes`; nullopt when they do not start with a valid
    // "MThd" header.
    static std::optional<MidiFileTiming> Read(std::string_view bytes);
    // The same for a file on disk; nullopt also when it cannot be read.
    static std::optional<MidiFileTiming> ReadFile(const std::string& path);

    // File ticks per quarter note (for an SMPTE division: ticks per second).
    int32_t Division() const { return mDivision; }
    // The file tick of the last event of any track.
    int64_t EndTick() const { return mEndTick; }
    // Microseconds from the start of the file to `fileTick`.
    int64_t MicrosecondsAt(int64_t fileTick) const;
    // The file tick sounding `microseconds` after the start (the latest tick not after it).
    int64_t TickAt(int64_t microseconds) const;
    // How long the file plays: the time of its last event.
    int64_t DurationMicroseconds() const { return MicrosecondsAt(mEndTick); }
    // A file tick in the score's ticks (16 per quarter note) and back, truncated; negative
    // ticks count as 0 and ticks beyond 2^32 as 2^32 (as do the time conversions).
    int64_t ToScoreTicks(int64_t fileTick) const;
    int64_t FromScoreTicks(int64_t scoreTick) const;

    // One tempo: from `Tick` on, `MicrosecondsPerQuarter`.
    struct Tempo {
        int64_t Tick = 0;
        int32_t MicrosecondsPerQuarter = 0;
        int64_t StartMicroseconds = 0;  // the time at Tick
    };
    const std::vector<Tempo>& Tempos() const { return mTempos; }

  private:
    void ReadTrack(std::string_view track);
    void FinishTempoMap();
    const Tempo& TempoAtTick(int64_t fileTick) const;

    int32_t mDivision = 96;
    bool mSmpte = false;
    int64_t mEndTick = 0;
    std::vector<Tempo> mTempos{{0, 500000, 0}};
};

}  // namespace corvendi
