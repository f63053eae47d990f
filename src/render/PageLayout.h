// The page drawing of a score: the page frame (page number, copyright footer, title block and
// heading), the fitting of systems onto the page, line breaking, the drawing of each system with
// its hit regions, and the drawing primitives the symbol drawing builds on.
//
// One PageLayout belongs to each Score (Score::Layout()). DrawPage works in two modes: while the
// score paginates it only lays the page out (advancing the cursors and recording the page's time
// range), otherwise it also draws on the score's window and rebuilds the score's regions. Both
// modes run the same fitting and line breaking, so a drawn page holds what pagination found.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corvendi/Surface.h"

namespace corvendi {

class MeasureAccidentals;
class Region;
class Score;
class Staff;

// Distances derived from a staff's line spacing S (twips).
struct StaffMetrics {
    int32_t LineSpacing = 0;      // S: between two staff lines
    int32_t BracketWidth = 0;     // thickness of a group bracket
    int32_t HalfSpacing = 0;      // one diatonic step
    int32_t BracketInset = 0;     // distance of a group bracket left of the system
    int32_t BracketRise = 0;      // how far a bracket hook stands above its staff's top line
    int32_t SizeUnit = 0;         // the step of a measure-size event
    int32_t MinMeasureWidth = 0;  // a measure-size event narrows a measure to no less
    int32_t ItemWidth = 0;        // width per note slot of a measure
    int32_t FiveSpacings = 0;
    int32_t FiveAndAHalf = 0;  // bracket bar length below its last staff's top line

    static StaffMetrics For(int32_t lineSpacing);
};

// A system holds at most this many measures.
inline constexpr int32_t kMaxSystemMeasures = 16;
// Height of one lyric line below a staff.
inline constexpr int32_t kLyricLineTw = 225;
// The bit of Score::DrawFlags set while the system being laid out has a staff whose voices
// beyond the first hold notes (stems then follow Staff::ForceFlag).
inline constexpr int32_t kDrawMultiVoice = 4;
// The character that stands for the metronome's note glyph in a heading.
inline constexpr char kBeatPlaceholder = '\x02';

// The measures of one system as line breaking placed them.
struct SystemMeasures {
    int32_t Count = 0;  // measures placed, 1..16
    int32_t Start = 0;  // start time of the first measure
    int32_t End = 0;    // start time of the first measure after the system
    std::array<int32_t, kMaxSystemMeasures> Width{};  // twips
    std::array<int32_t, kMaxSystemMeasures> Time{};   // start times
    std::array<int32_t, kMaxSystemMeasures> Flags{};  // Score::MeasureFlags at the start time
    std::array<int32_t, kMaxSystemMeasures> BarX{};   // x of the barline ending each measure
};

// What DrawStaffSystem is given for one five-line staff of one system.
struct StaffSystemFrame {
    int32_t MusicLeft = 0;   // x where the staff lines begin
    int32_t TopLine = 0;     // y of the top staff line
    int32_t Right = 0;       // x where the staff lines end
    int32_t BottomLine = 0;  // y of the bottom staff line
    int32_t Part = 1;        // 1, or 2 for the lower staff of a grand staff
    int32_t StaffIndex = 0;  // Staff.Index
    int32_t Start = 0;       // start time of the system
    int32_t BraceTop = -1;   // top line of the brace the staff belongs to; -1 outside a brace
    std::shared_ptr<corvendi::Staff> Staff;
};

class PageLayout {
  public:
    explicit PageLayout(Score& score) : mScore(score) {}
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // Lays out the page Score::CurPage starting at Score::CurTime and records its time range;
    // unless the score is paginating, also draws it on the window and rebuilds the regions.
    // Nothing happens without a window or with a page smaller than a twip.
    void DrawPage();

    // --- drawing primitives -------------------------------------------------------------------
    // Derives the staff metrics from a line spacing.
    void SetStaffMetrics(int32_t lineSpacing);
    // Selects score font 0..6 on the surface. Font 5 (music) is first sized to the staff height
    // and scale, font 6 (small text) to the staff height.
    void SelectFont(int32_t index);
    // Text with its cell's top-left corner at (x, y) twips, in the surface's colour and font.
    void DrawText(std::string_view text, int32_t x, int32_t y);
    void DrawLine(int32_t color, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                  LineFill fill = LineFill::None);
    // Title-block lines, shortened from the end until they fit between the margins. Each moves
    // the cursor y past its line (a footer line moves it up first).
    void DrawCenteredLine(int32_t& y, std::string_view text);
    void DrawRightLine(int32_t& y, std::string_view text);
    void DrawFooterLine(int32_t& y, std::string_view text);
    // The heading at the left edge; its first placeholder character becomes the note glyph of
    // the score's beat in the music font.
    void DrawHeading(int32_t& y, std::string_view text);
    // Metrics of the surface's current font, in whole twips.
    int32_t TextWidth(std::string_view text) const;
    int32_t TextHeight(std::string_view text) const;

    // --- the contents of one staff in one system ----------------------------------------------
    // Draws the staff's measures and records each measure's width, start time and note pad in
    // the region.
    void DrawStaffSystem(const StaffSystemFrame& frame, Region& region);
    // Redraws one staff of one system from its hit region (measure widths, flags and first
    // measure time as the page drawing recorded them): the staff lines, the contents and the
    // ties, without laying the page out again. The region's record is refreshed alike.
    void RedrawRegion(Region& region);
    // Erases and redraws the system that holds region `regionIndex` (1-based among the score's
    // regions), or every system from that one to the page's end. With measureIndex >= 0 the
    // measure's flags in those regions first get setBits and lose clearBits.
    void RepaintSystem(int32_t regionIndex, bool toEndOfPage, int32_t measureIndex, int32_t setBits,
                       int32_t clearBits);
    // After an edit of the notes of region `regionIndex` between fromTime and toTime (exclusive)
    // that left the layout as it was: erases and redraws only a box around those measures of
    // that staff when the window can limit its drawing to it, else the whole system.
    // `gone` holds the values the edit removed there, whose heads are erased too.
    void RepaintAround(int32_t regionIndex, int32_t fromTime, int32_t toTime,
                       std::span<const uint8_t> gone = {});
    // Offset from the system's left edge at which the first measure's notes begin.
    int32_t FirstMeasurePad(const StaffSystemFrame& frame) const;
    // The height of a pitch on a staff of a clef in a key, in line spacings below the bottom
    // line (0 on the bottom line, negative upward; a head's cell is drawn at y = G + height x S).
    // With a measure's accidental list, `sign` receives the accidental the note must print
    // ("", "b", "#" or "n") and the list is updated.
    static float StaffPosition(int32_t value, int32_t clef, int32_t key,
                               MeasureAccidentals* accidentals = nullptr,
                               std::string_view* sign = nullptr);

    // --- state the symbol drawing reads ----------------------------------------------------------
    Score& Owner() const { return mScore; }
    Surface* Target() const { return mSurface.get(); }
    const StaffMetrics& Metrics() const { return mMetrics; }
    float StaffScale() const { return mStaffScale; }
    void StaffScaleSet(float scale) { mStaffScale = scale; }
    int32_t GlyphDrop() const { return mGlyphDrop; }
    int32_t FontIndex() const { return mFontIndex; }
    // True while the page is drawn, false while it is only laid out.
    bool Drawing() const { return mDrawing; }
    bool OddPage() const { return mOddPage; }
    int32_t LeftEdge() const { return mLeftEdge; }
    int32_t RightLimit() const { return mRightLimit; }
    int32_t MusicLeft() const { return mMusicLeft; }
    const SystemMeasures& System() const { return mSystem; }
    bool FirstSystemOfPage() const { return mFirstSystem; }

    // Printing draws the pages on a printer: text is printed at the current position, nothing is
    // cleared, and every coordinate is shifted by the printer's unprintable offsets.
    bool Printing() const { return mPrinting; }
    void PrintingSet(bool printing) { mPrinting = printing; }
    int32_t PrintOffsetX() const { return mPrintOffsetX; }
    int32_t PrintOffsetY() const { return mPrintOffsetY; }
    void PrintOffsetSet(int32_t x, int32_t y) { mPrintOffsetX = x, mPrintOffsetY = y; }

  private:
    // A staff of the system being fitted or drawn.
    struct SystemStaff {
        std::shared_ptr<corvendi::Staff> Staff;
        float Scale = 1.0f;
        bool Grand = false;
    };
    // An open staff-group bracket.
    struct GroupBracket {
        bool Open = false;
        int32_t Id = -1;
        int32_t X = 0;            // left edge of the bracket bar
        int32_t Top = 0;          // top line of the group's first staff
        int32_t LastTopLine = 0;  // top line of the group's last staff so far
        StaffMetrics Last;        // metrics of that staff
        int32_t RunType = 0;      // GroupType of the current run of staffs
        int32_t RunTop = 0;       // top line of the run's first staff
        int32_t RunCount = 0;     // staffs in the run
    };
    // A brace waiting for its last staff.
    struct PendingBrace {
        int32_t StaffsLeft = 0;
        int32_t Top = 0;
        std::shared_ptr<corvendi::Staff> First;
    };

    // Page frame.
    void SetPageEdges();
    void StartDrawing();
    void DrawPageNumber();
    void DrawCopyright();
    void DrawTitleBlock();
    std::string HeadingText() const;
    std::string FitBetweenMargins(std::string_view text) const;
    int32_t AvailableWidth() const;
    void PreparePageRecords();

    // One system: false when the page is full.
    bool LayOutSystem();
    std::vector<SystemStaff> VisibleStaffs() const;
    // Sums the heights of the staffs; returns the number of staff units.
    int32_t FitSystem(const std::vector<SystemStaff>& staffs);
    int32_t ChordRowHeight() const;
    void BreakLine();
    void SpreadLeftover(int32_t placed, int32_t remaining);
    void SetBarlinePositions();

    // Repainting after an edit.
    bool CanRepaint(int32_t regionIndex);
    bool ReachesInto(const Region& region, double top, double bottom) const;
    // The top and bottom (twips) of the region's band widened to what the heads of its notes
    // from `from` to `to` (exclusive) and of the `gone` values draw.
    std::pair<int32_t, int32_t> HeadsReach(const Region& region, int32_t from, int32_t to,
                                           std::span<const uint8_t> gone) const;
    void DrawLeftBarlines(size_t first, size_t last);

    // Drawing one system.
    void DrawSystem(const std::vector<SystemStaff>& staffs);
    void DrawStaffLines(int32_t top);
    void OpenGroupIfNeeded(const corvendi::Staff& staff, int32_t topLine);
    void CloseGroup();
    void CloseGroupRun();
    void DrawGlyph(std::string_view glyph, int32_t x, int32_t y, int32_t color);
    void DrawBrace(int32_t bottomLine);
    bool ShowsDescription(const corvendi::Staff& staff) const;
    void DrawDescription(const corvendi::Staff& staff, int32_t middleY);

    Score& mScore;
    std::shared_ptr<Surface> mSurface;  // kept for the length of a page drawing

    // Staff metrics and fonts.
    StaffMetrics mMetrics;
    float mStaffScale = 1.0f;
    int32_t mGlyphDrop = 0;
    int32_t mFontIndex = -1;

    // Printing.
    bool mPrinting = false;
    int32_t mPrintOffsetX = 0;
    int32_t mPrintOffsetY = 0;

    // Where the title block of the page last painted on the window ends (page 1): a system's
    // repaint erases nothing above it. The lowest value when that page has no title block.
    int32_t mShownTitleBottom = std::numeric_limits<int32_t>::min();
    // Where the page number and copyright lines of that page begin: a partial repaint erases
    // nothing below it.
    int32_t mShownFooterTop = std::numeric_limits<int32_t>::max();

    // Page working state.
    bool mDrawing = false;
    bool mOddPage = true;
    size_t mPage = 0;  // 0-based page index
    int32_t mLeftEdge = 0;
    int32_t mRightLimit = 0;
    int32_t mMusicLeft = 0;
    int32_t mTop = 0;
    int32_t mFooterTop = 0;
    int32_t mBottomLimit = 0;
    bool mFirstSystem = true;
    int32_t mFitPasses = 0;
    int32_t mSystemHeight = 0;
    int32_t mDescWidth = 0;
    SystemMeasures mSystem;
    GroupBracket mGroup;
    PendingBrace mBrace;
};

}  // namespace corvendi
