// The note-editing engine of a score: it turns a point of the drawn page into a staff, a measure,
// a time and a pitch, enters a note there, and changes, decorates or removes notes afterwards.
//
// Everything it knows about the page comes from the hit regions the last drawing pass recorded,
// so it never lays a page out itself. The editor holds no state of its own: the last-note memory,
// the selection and the regions live on the score, and an editor is made for each call.
#pragma once

#include <cstdint>
#include <memory>

namespace corvendi {

class GlobalEvents;
class Note;
class Notes;
class Region;
class Score;
class Staff;

// Where a point of the drawn page lies in the music.
struct MusicHit {
    std::shared_ptr<corvendi::Region> Region;  // the staff band under the point; null: none
    bool InMeasure = false;                    // false: right of the system's last measure
    int32_t Measure = 0;                       // 0-based measure of the region
    int32_t MeasureStart = 0;                  // ticks
    int32_t MeasureLength = 0;                 // ticks
    int32_t MeasureNumber = 0;
    int32_t Time = 0;  // the time under the point, within the measure

    bool Found() const { return Region && InMeasure; }
};

class NoteEditor {
  public:
    explicit NoteEditor(Score& score) : mScore(score) {}

    // --- from a point to the music --------------------------------------------------------------
    // The region under (X, Y) and the measure and time under X; the measure's number becomes the
    // score's selected measure.
    MusicHit HitAt(int32_t X, int32_t Y);
    // The measure and time under X in `region`: measures are walked from the region's left edge,
    // and within the measure (after its note pad) each tick takes an equal share of the width.
    static MusicHit WalkMeasures(const std::shared_ptr<Region>& region, int32_t X,
                                 GlobalEvents& globals);
    // The pitch drawn at height Y on the staff of `region`: the point is snapped to the nearest
    // line or space, counted in diatonic steps from the clef's middle C, and given the key's
    // alteration of its letter. On a grand staff a point below the middle of the gap between the
    // two staffs reads the lower (bass) staff.
    static uint8_t PitchFromY(int32_t Y, int32_t clef, int32_t key, const Region& region);

    // --- the operations of the score ------------------------------------------------------------
    void AddNoteByHit(int32_t X, int32_t Y, int32_t duration, int32_t flags, int32_t snap);
    bool OnNote(int32_t X, int32_t Y, int32_t& noteTime, int32_t& noteDur);
    int32_t GetNoteValueByHit(int32_t X, int32_t Y);
    void AddOrnamentByHit(int32_t X, int32_t Y, int32_t ornament);
    bool ChangeLast(int32_t value, bool alignment);
    int32_t ChangeSel(int32_t newDur, int32_t newValue, int32_t stemDir, int32_t ornaments);
    void DelNote(int32_t atTime, int32_t voice, int32_t staff);

    // The NoteFlags bit an OrnamentTypes mark sets on a note by hit; 0 for none.
    static int32_t OrnamentFlag(int32_t ornament);
    // Ticks a note occupies when the next note is placed after it: half its duration for a
    // triplet, plus half its duration for a dot.
    static int32_t OccupiedLength(const Note& note);
    static int32_t OccupiedLength(int32_t duration, int32_t flags);

  private:
    // The staff of a region (by its Staff index); null when it is gone.
    std::shared_ptr<Staff> StaffOf(const Region& region) const;
    // The notes of voice `voice` (1..4) of `staff`; null when the staff has no such voice.
    static std::shared_ptr<Notes> VoiceNotes(const Staff* staff, int32_t voice);
    // The pitch a hit enters: the drum sound of a drum voice, else the pitch under Y.
    uint8_t EnteredValue(Staff& staff, int32_t voice, const MusicHit& hit, int32_t Y);
    // 1-based position of the first region with the same top and left as `region`; 0 if none.
    int32_t RegionPosition(const Region& region) const;
    bool ValidRegionIndex(int32_t index) const;
    // Moves notes of every voice later where they start before the previous note has ended,
    // from the start of measure `number` on.
    void ReflowMeasure(int32_t number, int32_t length);
    bool MoveLastNote(Notes& notes, Note& note, int32_t value);

    Score& mScore;
};

}  // namespace corvendi
