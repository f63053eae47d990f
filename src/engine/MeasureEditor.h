// Inserting and deleting measures and staffs, and setting braces: the edits that move or remove
// whole spans of the score. Each public member is one edit (one undo step); the Score forwards
// to them through a MeasureEditor made for the call. Its busy flags live in the score's state.
//
// A measure is a span of the time line, so inserting measures moves every later note and event
// (score-wide and per staff) later, and deleting measures removes what lies in their span and
// moves the rest earlier. Two rules keep the music intact where a plain shift would break it:
// - A tie ends at an absolute time held in its values; its end moves like any time. A tie whose
//   end would pass 65,535 or that starts or ends inside a deleted span is removed.
// - Inserted measures have the length of the measure in force just before the insertion point
//   (at the start of the score, the first measure's), so a time signature standing at the
//   insertion point moves on to a measure start, and deleting the same measures again restores
//   the document. At the very start the opening time signature, key and clefs stay at time 0
//   and keep governing the score; deleting from the start keeps them unless the measure that
//   becomes the first brings its own. The group-bracket switch never moves.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace corvendi {

class GlobalEvents;
class Score;
class Staff;

class MeasureEditor {
  public:
    explicit MeasureEditor(Score& score) : mScore(score) {}

    // Index is a measure number (the selected measure when missing), kept within the score's
    // measures. With Prompt the "Insert Measure" or "Delete Measure" dialog asks first; a
    // cancelled dialog changes nothing.
    void AddMeasure(std::optional<int32_t> index, bool afterIt, bool prompt);
    void DelMeasure(std::optional<int32_t> index, bool prompt);
    // Index is a staff position (after the last staff when missing for AddStaff, staff 1 for
    // DelStaff), kept within the staffs. AddStaff returns the last staff created, or nullptr
    // when nothing was created (a cancelled dialog, a score already holding 85 staffs).
    std::shared_ptr<Staff> AddStaff(std::optional<int32_t> index, bool prompt);
    void DelStaff(std::optional<int32_t> index, bool prompt);
    void SetBraceByHit(float x, float y, int32_t staffs);

    // The measure holding the latest note start or event of the score; 1 for an empty score.
    int32_t LastMeasure() const;

  private:
    bool InsertMeasures(int32_t index, int32_t count);
    bool DeleteMeasures(int32_t index, int32_t count);
    void InsertIntoEvents(GlobalEvents& events, int32_t t0, int32_t span);
    void DeleteFromEvents(GlobalEvents& events, int32_t t0, int32_t t1);
    // Relayout from page 1, Changed, the wait for the current page, and the repaint.
    void FinishTimeEdit();
    std::shared_ptr<Staff> InsertStaffs(int32_t index, int32_t count,
                                        std::optional<int32_t> instrumentEntry, int32_t voices,
                                        std::optional<int32_t> clef, bool fromDialog);
    void RemoveStaff(int32_t index);
    int64_t LatestTime() const;

    Score& mScore;
};

}  // namespace corvendi
