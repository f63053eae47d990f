// What the engine keeps for a score beyond its host-visible properties: pagination, painting
// and printing state, the page geometry in twips, the selection, the regions of the drawn page,
// the note-entry memory and the file state. Owned by the Score and reached only through
// detail::ScoreAccess (engine/ScoreAccess.h). New engine state is added here, so the public
// layout of Score does not change with it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ActivePosition.h"
#include "model/HostTimer.h"
#include "model/PaginationTimer.h"
#include "playback/MidiEventStream.h"
#include "playback/ScorePlayer.h"

namespace corvendi {

class Note;
class PageLayout;
class Range;
class Region;
class Score;
class Surface;

namespace detail {

class NoteJournal;
struct PendingStep;

// The drawing colours of a score.
struct ScoreColors {
    int32_t Lines = 0;
    int32_t Bars = 0;
    int32_t Notes = 0;
    int32_t NotesAlt = 0;
    int32_t Ties = 0;
    int32_t Chords = 0;
};

// The pagination timer reaches its score through this adapter.
class Paginator : public PaginationTarget {
  public:
    explicit Paginator(Score& score) : mScore(score) {}
    void PaginateStep() override;

  private:
    Score& mScore;
};

struct ScoreState {
    static constexpr int32_t kRangeCount = 32;

    explicit ScoreState(Score& score) : ScorePaginator(score) {}

    bool PlayFileStale = true;
    bool Loading = false;
    // While a property dialog is open the modified flag changes without ChangeNotify; the
    // dialog's caller raises it once afterwards.
    bool ChangeNotifyMuted = false;
    // The greatest note start time of any voice.
    int32_t HighNoteTime = 0;
    int32_t DrawFlags = 0;
    // Middle line of the staff TextOffsetByPos last found.
    int32_t TextMidY = 0;
    LyricCursor Cursor;  // the lyric cursor and the lyric being edited

    // Page geometry in twips and the derived staff metrics.
    int32_t PageWidthTw = 0;
    int32_t PageHeightTw = 0;
    std::array<int32_t, 4> MarginsTw{};
    int32_t StaffHeightTw = 0;
    int32_t StaffSpaceTw = 0;
    int32_t SystemSpaceTw = 0;
    int32_t BeamLines = 3;
    int32_t BeamGap = 90;
    ScoreColors Colors;
    float TwipsPerPixelX = 15.0f;
    float TwipsPerPixelY = 15.0f;

    // Per-page records of the layout, index 0 for page 1.
    std::vector<std::shared_ptr<Range>> PageRanges;
    std::vector<std::shared_ptr<Range>> PageMetrics;
    // The scratch ranges of symbol drawing.
    std::array<std::shared_ptr<Range>, kRangeCount> Ranges;

    // Background pagination and painting.
    bool LayoutPending = false;
    bool PaintPending = false;
    bool Paginating = false;
    bool PaginateBusy = false;
    bool Painting = false;
    int32_t LayoutFromPage = 1;
    int32_t LayoutFromTime = 0;
    // Increased by every restart of pagination, so a step can tell it was restarted under it.
    uint32_t PaginationGeneration = 0;
    bool HasGroupMark = false;

    // The selection: the notes and, in parallel, their voice IDs and staff indexes.
    std::vector<std::shared_ptr<Note>> Selected;
    std::vector<std::string> SelVoiceIDs;
    std::vector<int32_t> SelStaffs;
    int32_t SelVoice = 1;  // the active voice when the selection was made

    // Edit steps (engine/EditStep.h): how deeply they are nested now, what the outermost one
    // has gathered (null when it records nothing), the note journal it replaced, and whether
    // Undo or Redo is applying a step (nothing records meanwhile).
    int32_t EditDepth = 0;
    std::shared_ptr<PendingStep> Pending;
    NoteJournal* OuterJournal = nullptr;
    bool ApplyingHistory = false;

    // A measure insertion or deletion is running (a second one arriving meanwhile is ignored).
    bool AddBusy = false;
    bool DelBusy = false;

    // Files.
    std::string FileName;
    int32_t FileType = 0;  // fmtQuavrix
    bool OpenBusy = false;
    int32_t MidiEvtIx = -1;

    // Note-entry memory of the last note entered by a hit.
    int32_t LastStaff = 0;
    int32_t LastVoice = 0;
    int32_t LastTime = 0;
    int32_t LastValue = 0;
    int32_t LastRegionIx = 0;
    int32_t ActiveRegionIx = 0;

    // The regions of the last drawn page in drawing order, and the page drawing.
    std::vector<std::shared_ptr<Region>> Regions;
    std::shared_ptr<PageLayout> Layout;

    // Printing.
    bool Printing = false;
    std::shared_ptr<Surface> SavedWindow;

    Paginator ScorePaginator;
    // The one-shot timer of the MIDI event stream, created stopped. Its handler is set by the
    // event stream and disables the timer when it runs.
    std::unique_ptr<HostTimer> EventTimer = std::make_unique<HostTimer>();
    // Playback: the event stream (on EventTimer) and the player; made by the score's
    // constructor, released first by its destructor.
    std::unique_ptr<MidiEventStream> EventStream;
    std::unique_ptr<ScorePlayer> Player;
};

}  // namespace detail
}  // namespace corvendi
