// The editing of the timed events that are not notes: marks of the whole score (repeats,
// sections, the score's end, line ends, measure widths, chord symbols) and marks of one staff
// (key and clef changes, dynamics, tempo marks, octave lines, repeat-measure signs, staff
// spacing, free text, lyrics), placed by a point of the drawn page or by time.
//
// Like the note editor it holds no state: the lyric being edited lives in the score's lyric
// cursor (ActivePosition.h), and an editor is made for each call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/NoteEditor.h"

namespace corvendi {

class ChordList;
class GlobalEvent;
class GlobalEvents;
class Score;
class Staff;

class EventEditor {
  public:
    // SubType values outside this range place nothing.
    static constexpr int32_t kMinSubType = -255;
    static constexpr int32_t kMaxSubType = 65535;
    static constexpr int32_t kMaxVerse = 255;

    explicit EventEditor(Score& score) : mScore(score) {}

    void AddGlobalByHit(int32_t X, int32_t Y, int32_t eventType, int32_t subType,
                        const std::string& text);
    void RemoveGlobalEvent(int32_t atTime, int32_t eventType);

    void SetLyric(std::string text);
    bool AddLyric(int32_t atTime, std::string text);
    void SetVerse(int32_t verse);

    void TextOffsetByPos(uint8_t& offset1, uint8_t& offset2, int32_t X, int32_t Y, int32_t& inc);
    static void LoadChordList(const Score& score, ChordList& list);

  private:
    // Where a hit places an event.
    struct Placement {
        MusicHit Hit;        // region, measure index j, start m, length d, number
        int32_t Offset = 0;  // o: ticks after the measure's start
        int32_t Flag = 0;    // the region's flags of the measure
        std::shared_ptr<corvendi::Staff> Staff;  // the region's staff; null when it is gone
        uint8_t Value1 = 0;
        uint8_t Value2 = 0;
    };
    // What a placement changed and how the page shows it.
    struct Outcome {
        bool Changed = false;
        bool Relayout = false;  // the layout is redone instead of repainting the system
        int32_t SetBits = 0;    // measure flag bits the repaint sets, or clears
        int32_t ClearBits = 0;
    };
    // An event list with its owner: the score (staff index 0) or a staff.
    class Target;

    Outcome Place(int32_t eventType, int32_t subType, const Placement& p, int32_t X, int32_t Y,
                  const std::string& text);
    Outcome PlaceSection(int32_t subType, const Placement& p, const std::string& text);
    Outcome ToggleScoreMark(int32_t eventType, int32_t bit, const Placement& p,
                            const std::string& text);
    Outcome ToggleScoreSection(int32_t subType, const Placement& p, const std::string& text);
    Outcome ToggleRepeatMeasure(const Placement& p);
    Outcome ToggleOctaveLine(int32_t subType, const Placement& p);
    Outcome ToggleLineEnd(const Placement& p);
    Outcome AddOrReplace(Target target, int32_t time, int32_t eventType, uint8_t value1,
                         uint8_t value2, const std::string& text);
    Outcome Accumulate(Target target, int32_t time, int32_t eventType, int32_t subType);
    Outcome PlaceText(const Placement& p, int32_t X, int32_t Y, const std::string& text);
    void JoinOctaveLine(const Placement& p, GlobalEvent& added, Target target);
    void Show(const Placement& p, const Outcome& outcome);

    static int32_t OffsetInMeasure(const Region& region, const MusicHit& hit, int32_t X);
    std::shared_ptr<GlobalEvents> StaffEventsFor(int32_t eventType) const;

    Score& mScore;
};

}  // namespace corvendi
