// The active position of a score beyond its selected staff and measure: the lyric cursor that
// steps from note to note of the active voice on the selected staff, and the lyric being edited
// there.
//
// The cursor only moves within the current page (its time range from the page records): after
// the page's last note NextActiveXY is false, before its first note PrevActiveXY is. A host turns
// the page with SetCurPage and starts again with FirstActiveXY.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace corvendi {

class Note;
class Score;
class Staff;

// The cursor's state, kept on the score between calls.
struct LyricCursor {
    int32_t NextFrom = 0;     // NextActiveXY looks from here; below 0 it stops
    int32_t ActiveTime = -1;  // time of the active note; -1: none
    int32_t ActiveX = 0;      // the active note's x (twips)
    int32_t ActiveY = 0;      // the lyric line: the bottom of the note's region
    int32_t LyricStaff = 0;   // staff index of the lyric being edited
    int32_t LyricTime = -1;   // its time; below 0: no lyric is being edited
    std::string LyricText;    // the edited verse of that lyric
};

class ActivePosition {
  public:
    explicit ActivePosition(Score& score);

    // The staff under the point (bounds excluded) becomes the selected staff, and the measure
    // under X the selected measure.
    void SetActiveByHit(int32_t X, int32_t Y);
    bool FirstActiveXY(int32_t& atTime, int32_t& X, int32_t& Y, std::string& activeLyric);
    bool NextActiveXY(int32_t& activeTime, int32_t& X, int32_t& Y, std::string& activeLyric);
    bool PrevActiveXY(int32_t& activeTime, int32_t& X, int32_t& Y, std::string& activeLyric);

    // Verse `verse` (1-based) of a lyric text whose verses are separated by carriage returns;
    // "" when it has fewer verses.
    static std::string VerseText(const std::string& text, int32_t verse);

  private:
    // Makes `note` of `staff` the active note; false (and no active note) when there is none.
    bool MoveTo(const std::shared_ptr<Note>& note, const Staff* staff, int32_t& activeTime,
                int32_t& X, int32_t& Y, std::string& activeLyric);
    // Start and end time of the current page; {0, 0} before the page has been laid out.
    std::pair<int32_t, int32_t> PageSpan() const;

    Score& mScore;
    LyricCursor& mCursor;
};

}  // namespace corvendi
