// Plays a score through the platform's sequencer (Score::PlayScore).
//
// The score is written to a temporary Standard MIDI File (the playback variant of the export),
// again only when the score changed since. The sequencer then opens it under the alias "score",
// switches to song-pointer times and plays, with or without a completion notice (PlayDone). The
// file stays open after playing ends, until the next PlayScore closes it; Playing() says whether
// it is open.
//
// The file lives in a folder of its own, made for this score with mkdtemp (mode 0700) in the
// temporary folder ($TMPDIR, else /tmp), so two scores never share a file and nobody else can
// plant a link where it is written. Both go when the player does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace corvendi {

class Score;
class Sequencer;

class ScorePlayer {
  public:
    explicit ScorePlayer(Score& score);
    ~ScorePlayer();
    ScorePlayer(const ScorePlayer&) = delete;
    ScorePlayer& operator=(const ScorePlayer&) = delete;

    // Closes what plays; unless `stopPlay`, plays the score from `fromTime` (score ticks).
    void PlayScore(bool stopPlay, bool sendEvents, int32_t fromTime);
    bool Playing() const { return mPlaying; }
    // The score tick now sounding; -1 when nothing is open.
    int32_t Position() const;
    // Writes the temporary MIDI file when the score changed since it was last written, and
    // returns its path; empty when it cannot be written.
    std::string WritePlayFile();
    // The temporary MIDI file; empty until one was written.
    const std::string& PlayFile() const { return mPlayFile; }

  private:
    bool MakeFolder();
    void Close();
    bool StartSequencer(bool sendEvents, int32_t fromTime);

    Score& mScore;
    std::unique_ptr<Sequencer> mSequencer;
    bool mPlaying = false;
    std::string mFolder;
    std::string mPlayFile;
};

}  // namespace corvendi
