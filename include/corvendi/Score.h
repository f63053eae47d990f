// The score: the root of a document. It owns the staffs, voices, instruments and score-wide
// events, keeps the descriptive texts, page and spacing settings, fonts and colours, paints its
// current page on the host's surface, and tells the host what happened through ScoreEvents.
//
// Create one with Score::Create(), attach a window surface (SetWindow), then call CreateDefault
// (or open a file) and PaintWindow whenever the surface needs drawing. Pagination runs in the
// background on a platform timer; a headless host lets it run by processing pending events.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corvendi/DocumentOwner.h"
#include "corvendi/Font.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Surface.h"

namespace corvendi {

class ChordMapper;
class GlobalEvents;
class Instruments;
class HostTimer;
class Note;
class PageLayout;
class Range;
class Region;
class Staff;
class Staffs;
class Voices;

class Score : public DocumentOwner {
  public:
    static constexpr int32_t kFontCount = 7;
    static constexpr int32_t kRangeCount = 32;

    // A new, empty score (no staff yet): call CreateDefault or open a file next.
    static std::shared_ptr<Score> Create();
    Score();
    ~Score() override;
    Score(const Score&) = delete;
    Score& operator=(const Score&) = delete;

    // --- events -------------------------------------------------------------------------------
    // The listener the score raises its events to; nullptr detaches. The score keeps it alive.
    void SetEvents(std::shared_ptr<ScoreEvents> listener) { mEvents.Attach(std::move(listener)); }
    const std::shared_ptr<ScoreEvents>& Events() const { return mEvents.Listener(); }

    // --- a new document -------------------------------------------------------------------------
    // One staff "New" in common time, the default texts and tempo; staff 1 selected.
    void CreateDefault();

    // --- texts --------------------------------------------------------------------------------
    const std::string& Title() const { return mTitle; }
    void SetTitle(std::string text);
    const std::string& SubTitle() const { return mSubTitle; }
    void SetSubTitle(std::string text);
    const std::string& Heading() const { return mHeading; }
    void SetHeading(std::string text);
    const std::string& Composer() const { return mComposer; }
    void SetComposer(std::string text);
    const std::string& ArrangedBy() const { return mArrangedBy; }
    void SetArrangedBy(std::string text);
    // Two copyright lines. The line is 0 when the index is missing or not a number, else the
    // index clamped to 0..1.
    const std::string& Copyright() const;
    const std::string& Copyright(int32_t Index) const;
    const std::string& Copyright(std::string_view Index) const;
    void SetCopyright(std::string text);
    void SetCopyright(int32_t Index, std::string text);
    void SetCopyright(std::string_view Index, std::string text);

    // --- tempo and chords ----------------------------------------------------------------------
    // The note value of one metronome beat: 8, 16, 32 or 64; anything else becomes 16.
    int32_t Beat() const { return mBeat; }
    void SetBeat(int32_t value);
    // Beats per minute, 0..255.
    int32_t Count() const { return mCount; }
    void SetCount(int32_t value);
    bool Metronome() const { return mMetronome; }
    void SetMetronome(bool on);
    // Capo fret, 0..15.
    int32_t Capo() const { return mCapo; }
    void SetCapo(int32_t value);
    bool UseCapo() const { return mUseCapo; }
    void SetUseCapo(bool on);
    bool UseChords() const { return mUseChords; }
    void SetUseChords(bool on);
    bool UseChordMaps() const { return mUseChordMaps; }
    void SetUseChordMaps(bool on);

    // --- page and spacing --------------------------------------------------------------------
    bool ReverseEvenOdd() const { return mReverseEvenOdd; }
    void SetReverseEvenOdd(bool on);
    bool NumberMeasures() const { return mNumberMeasures; }
    void SetNumberMeasures(bool on);
    int32_t NumberMeasuresBy() const { return mNumberMeasuresBy; }
    void SetNumberMeasuresBy(int32_t value);
    int32_t NumberPos() const { return mNumberPos; }
    void SetNumberPos(int32_t value);
    int32_t PageNums() const { return mPageNums; }
    void SetPageNums(int32_t value);
    int32_t PageOrientation() const { return mPageOrientation; }
    void SetPageOrientation(int32_t value);
    // A PageSizes value; a named size sets the page's inches and twips.
    int32_t PageSize() const { return mPageSize; }
    void SetPageSize(int32_t value);
    // Inches, as the page is oriented: in landscape the height is the paper's short side.
    float PageHeight() const;
    void SetPageHeight(float inches);
    float PageWidth() const;
    void SetPageWidth(float inches);
    // Inches, indexed by PageMargins; other indexes read 0 and are ignored when set.
    float Margins(int32_t Margin) const;
    void SetMargins(int32_t Margin, float inches);
    float StaffHeight() const { return mStaffHeight; }
    void SetStaffHeight(float inches);
    float StaffSpace() const { return mStaffSpace; }
    void SetStaffSpace(float inches);
    float SystemSpace() const { return mSystemSpace; }
    void SetSystemSpace(float inches);

    // The seven shared fonts: 0..4 the ScoreFonts, 5 the music font, 6 the small bold italic
    // text font. A host that changes a font object changes the score's font. Other indexes give
    // nullptr; setting one of them, or setting nullptr, is ignored.
    std::shared_ptr<Font> Fonts(int32_t Index) const;
    void SetFonts(int32_t Index, std::shared_ptr<Font> font);

    // --- active position and switches -------------------------------------------------------
    // The active voice number, 1..4.
    int32_t Voice() const { return mVoice; }
    void SetVoice(int32_t value);
    // Drum sound 1..8.
    int32_t DrumIX() const { return mDrumIX + 1; }
    void SetDrumIX(int32_t value);
    int32_t DynAdjust() const { return mDynAdjust; }
    void SetDynAdjust(int32_t value) { mDynAdjust = value; }
    bool GetAsync() const { return mGetAsync; }
    void SetGetAsync(bool on) { mGetAsync = on; }
    bool Handles() const { return mHandles; }
    void SetHandles(bool on) { mHandles = on; }
    // The unit of measure shown in dialogs (MeasurementUnits), shared by every score.
    int32_t UOM() const;
    void SetUOM(int32_t value);
    int32_t CurTime() const { return mCurTime; }
    int32_t CurPage() const { return mCurPage; }
    int32_t LastPage() const { return mLastPage; }
    // The active measure number; reading it turns a 0 into 1.
    int32_t SelectedMeasure();
    int32_t Verse() const { return mVerse; }

    // The key of the score: sharps positive, flats negative, -7..7.
    int32_t Key() const override { return mKey; }
    void SetKey(int32_t value);
    bool Minor() const { return mMinorVal > 0; }
    void SetMinor(bool on);

    // --- the modified flag and drawing control ----------------------------------------------
    // Setting true is ignored while the document is being built; ChangeNotify is raised when
    // the flag really changes.
    bool Changed() const { return mChanged; }
    void SetChanged(bool changed);
    // False defers painting and repagination until it is set true again.
    bool Redraw() const { return mRedraw; }
    void SetRedraw(bool on);

    // --- the document -------------------------------------------------------------------------
    std::shared_ptr<corvendi::GlobalEvents> AllGlobals() const override { return mGlobals; }
    std::shared_ptr<corvendi::Staffs> AllStaffs() const override { return mStaffs; }
    std::shared_ptr<corvendi::Voices> AllVoices() const override { return mVoices; }
    std::shared_ptr<corvendi::Instruments> AllInstruments() const override { return mInstruments; }
    // Replace the collection; the score becomes its owner. nullptr is ignored.
    void SetAllStaffs(std::shared_ptr<corvendi::Staffs> staffs);
    void SetAllVoices(std::shared_ptr<corvendi::Voices> voices);
    void SetAllInstruments(std::shared_ptr<corvendi::Instruments> instruments);
    // Number of staffs.
    int32_t Staffs() const;
    // Staff 1..Staffs(); nullptr otherwise.
    std::shared_ptr<corvendi::Staff> Staff(int32_t Index) const;
    // The selected staff; nullptr when none is.
    std::shared_ptr<corvendi::Staff> SelectedStaff() const;
    // The end of the music: the greatest start time of the last note of any voice.
    int32_t HighTime() const;
    // Adds a note to voice `Voice` (1..AllVoices count) of the score; nullptr for another
    // number. Records no undo step and repaints nothing.
    std::shared_ptr<Note> AddNote(int32_t Voice, int32_t Time, uint8_t Value, int32_t Duration,
                                  int32_t Flags);
    // Number of selected notes.
    int32_t SelCount() const { return static_cast<int32_t>(mSelected.size()); }
    // True while the undo history holds an entry.
    bool CanUndo() const;
    // The description of catalogue entry 0..174; "" for another code.
    std::string InsDesc(int32_t InsCode) const;

    // --- surface -----------------------------------------------------------------------------
    // Only a surface of the window kind is accepted (other kinds are ignored); nullptr detaches.
    std::shared_ptr<Surface> Window() const { return mWindow; }
    void SetWindow(std::shared_ptr<Surface> surface);
    // Draws the current page on the window.
    void PaintWindow();
    // Sets the drawing colours of this score and the defaults of scores attached later.
    void SetColors(int32_t ColorLines, int32_t ColorBars, int32_t ColorNotes, int32_t ColorTies,
                   int32_t ColorChords);
    int32_t TwipsToPixelsX(int32_t Value) const;
    int32_t TwipsToPixelsY(int32_t Value) const;

    // --- Engine-internal: the state the editing, file, layout and playback code share -------
    struct Colors {
        int32_t Lines = 0;
        int32_t Bars = 0;
        int32_t Notes = 0;
        int32_t NotesAlt = 0;
        int32_t Ties = 0;
        int32_t Chords = 0;
    };

    const ScoreEventSource& EventSource() const { return mEvents; }
    // Restarts background pagination from page 1, or from the current page.
    void StartPagination(bool fromCurrent = false);
    // One step of background pagination (run by the pagination timer). A step that raises
    // events or yields to the host must expect StartPagination to run meanwhile: it then
    // finds PaginationGeneration changed and leaves the new pagination alone.
    void PaginateStep();
    // Increased by every restart of pagination, so a step can tell that it was restarted
    // under it.
    uint32_t PaginationGeneration() const { return mPaginationGeneration; }

    bool Loading() const { return mLoading; }
    void LoadingSet(bool loading) { mLoading = loading; }
    bool PlayFileStale() const { return mPlayFileStale; }
    void PlayFileStaleSet(bool stale) { mPlayFileStale = stale; }
    int32_t HighNoteTime() const { return mHighNoteTime; }
    // Raises the greatest note start time to `time` when it is larger.
    void RaiseHighNoteTime(int32_t time);
    void HighNoteTimeSet(int32_t time) { mHighNoteTime = time; }
    void CurTimeSet(int32_t time) { mCurTime = time; }
    void CurPageSet(int32_t page) { mCurPage = page; }
    void LastPageSet(int32_t page) { mLastPage = page; }
    void SelectedMeasureSet(int32_t number) { mSelectedMeasure = number; }
    void VerseSet(int32_t verse) { mVerse = verse; }
    int32_t MinorVal() const { return mMinorVal; }
    void KeySet(int32_t key, int32_t minorVal) { mKey = key, mMinorVal = minorVal; }
    int32_t DrawFlags() const { return mDrawFlags; }
    void DrawFlagsSet(int32_t flags) { mDrawFlags = flags; }
    const std::string& FileName() const { return mFileName; }
    void FileNameSet(std::string name) { mFileName = std::move(name); }
    int32_t MidiEvtIx() const { return mMidiEvtIx; }
    void MidiEvtIxSet(int32_t time) { mMidiEvtIx = time; }

    // Note-entry memory of the last note entered by a hit.
    int32_t LastStaff() const { return mLastStaff; }
    int32_t LastVoice() const { return mLastVoice; }
    int32_t LastTime() const { return mLastTime; }
    int32_t LastValue() const { return mLastValue; }
    int32_t LastRegionIx() const { return mLastRegionIx; }
    void LastNoteSet(int32_t staff, int32_t voice, int32_t time, int32_t value) {
        mLastStaff = staff, mLastVoice = voice, mLastTime = time, mLastValue = value;
    }
    void LastRegionIxSet(int32_t index) { mLastRegionIx = index; }
    int32_t ActiveRegionIx() const { return mActiveRegionIx; }
    void ActiveRegionIxSet(int32_t index) { mActiveRegionIx = index; }

    // Page geometry in twips and the derived staff metrics.
    int32_t PageHeightTw() const { return mPageHeightTw; }
    int32_t PageWidthTw() const { return mPageWidthTw; }
    // The page as it is laid out, shown and printed: the stored paper turned on its side in
    // landscape, so the long side runs across.
    int32_t SheetHeightTw() const { return Landscape() ? mPageWidthTw : mPageHeightTw; }
    int32_t SheetWidthTw() const { return Landscape() ? mPageHeightTw : mPageWidthTw; }
    int32_t MarginsTw(int32_t Margin) const;
    int32_t StaffHeightTw() const { return mStaffHeightTw; }
    // The layout shrinks the staff height of an overfull page; StaffHeight restores it.
    void StaffHeightTwSet(int32_t twips);
    int32_t StaffSpaceTw() const { return mStaffSpaceTw; }
    int32_t SystemSpaceTw() const { return mSystemSpaceTw; }
    int32_t BeamLines() const { return mBeamLines; }
    int32_t BeamGap() const { return mBeamGap; }
    float TwipsPerPixelXf() const { return mTwipsPerPixelX; }
    float TwipsPerPixelYf() const { return mTwipsPerPixelY; }

    // Per-page records of the layout, index 0 for page 1.
    std::vector<std::shared_ptr<Range>>& PageRanges() { return mPageRanges; }
    std::vector<std::shared_ptr<Range>>& PageMetrics() { return mPageMetrics; }
    // The 32 scratch ranges of symbol drawing.
    const std::array<std::shared_ptr<Range>, kRangeCount>& Ranges() const { return mRanges; }

    const Colors& DrawColors() const { return mColors; }

    // Background pagination and painting state.
    bool Paginating() const { return mPaginating; }
    void PaginatingSet(bool on) { mPaginating = on; }
    bool PaginateBusy() const { return mPaginateBusy; }
    bool Painting() const { return mPainting; }
    int32_t LayoutFromPage() const { return mLayoutFromPage; }
    void LayoutFromPageSet(int32_t page) { mLayoutFromPage = page; }
    int32_t LayoutFromTime() const { return mLayoutFromTime; }
    void LayoutFromTimeSet(int32_t time) { mLayoutFromTime = time; }
    bool LayoutPending() const { return mLayoutPending; }
    bool PaintPending() const { return mPaintPending; }
    void PaintPendingSet(bool on) { mPaintPending = on; }
    bool HasGroupMark() const { return mHasGroupMark; }

    // The selection: the notes and, in parallel, their voice IDs and staff indexes.
    std::vector<std::shared_ptr<Note>>& Selected() { return mSelected; }
    std::vector<std::string>& SelVoiceIDs() { return mSelVoiceIDs; }
    std::vector<int32_t>& SelStaffs() { return mSelStaffs; }

    // The chord mapper names and draws chord symbols; an editor may hand back another one.
    const std::shared_ptr<corvendi::ChordMapper>& ChordMapper() const { return mChordMapper; }
    void SetChordMapper(std::shared_ptr<corvendi::ChordMapper> mapper);

    // The one-shot timer of the MIDI event stream, created stopped. Its handler is set by the
    // event stream and disables the timer when it runs.
    HostTimer& EventTimer() { return *mEventTimer; }

  private:
    // Creation steps, in order.
    void ReadScreenMetrics();
    void CreateChordMapperFromData();
    // Empties the document (staffs, voices, instruments, events, selection) and puts the page
    // and position state back to page 1, time 0; shared by CreateDefault and the file readers.
    void ResetDocument();
    void CreateRanges();
    void CreateFonts();
    void CreateCollections();
    void SetPageDefaults();

    // Setter effects.
    void Relayout() { StartPagination(false); }
    void SetTextAndRelayout(std::string& member, std::string text);
    bool StoreLength(float inches, float& member, int32_t& twips);
    void StoreSpacing(float inches, float& member, int32_t& twips);
    bool Landscape() const;
    void SetPaperLength(float inches);
    void SetPaperBreadth(float inches);
    void UpdateBeamMetrics();
    void ApplyPageSizeToWindow();
    void RecomputePageSize();
    void WriteScoreKeyEvent();

    // Painting and pagination.
    void DrawPage();
    // The pagination timer is running for this score.
    bool PaginationTimerIsOurs() const;
    void DetachDocument();

    ScoreEventSource mEvents;

    std::string mTitle;
    std::string mSubTitle;
    std::string mHeading;
    std::string mComposer;
    std::string mArrangedBy;
    std::array<std::string, 2> mCopyright;

    int32_t mBeat = 16;
    int32_t mCount = 120;
    bool mMetronome = true;
    int32_t mCapo = 0;
    bool mUseCapo = false;
    bool mUseChords = false;
    bool mUseChordMaps = false;
    bool mReverseEvenOdd = false;

    bool mChanged = false;
    bool mPlayFileStale = true;
    bool mLoading = false;

    int32_t mCurTime = 0;
    int32_t mHighNoteTime = 0;
    int32_t mVoice = 1;
    int32_t mVerse = 1;
    int32_t mDrumIX = 0;
    int32_t mDynAdjust = 0;
    bool mGetAsync = false;
    bool mHandles = false;
    int32_t mKey = 0;
    int32_t mMinorVal = 0;
    int32_t mSelectedMeasure = 0;
    int32_t mDrawFlags = 0;

    bool mNumberMeasures = false;
    int32_t mNumberMeasuresBy = 0;
    int32_t mNumberPos = 0;
    int32_t mTextMidY = 0;  // middle line of the staff TextOffsetByPos last found
    int32_t mPageNums = 0;
    int32_t mPageOrientation = 0;
    int32_t mPageSize = 0;
    // Stored in portrait sense; set through the page setters at creation.
    float mPageWidthIn = 0.0f;
    float mPageHeightIn = 0.0f;
    int32_t mPageWidthTw = 0;
    int32_t mPageHeightTw = 0;
    int32_t mCurPage = 1;
    int32_t mLastPage = 1;
    std::vector<std::shared_ptr<Range>> mPageRanges;
    std::vector<std::shared_ptr<Range>> mPageMetrics;
    std::array<float, 4> mMargins{};
    std::array<int32_t, 4> mMarginsTw{};
    float mStaffHeight = 0.0f;
    float mStaffSpace = 0.0f;
    float mSystemSpace = 0.0f;
    int32_t mStaffHeightTw = 0;
    int32_t mStaffSpaceTw = 0;
    int32_t mSystemSpaceTw = 0;
    int32_t mBeamLines = 3;
    int32_t mBeamGap = 90;

    std::array<std::shared_ptr<Font>, kFontCount> mFonts;
    Colors mColors;
    std::shared_ptr<Surface> mWindow;
    float mTwipsPerPixelX = 15.0f;
    float mTwipsPerPixelY = 15.0f;

    bool mRedraw = false;
    bool mLayoutPending = false;
    bool mPaintPending = false;
    bool mPaginating = false;
    bool mPaginateBusy = false;
    bool mPainting = false;
    int32_t mLayoutFromPage = 1;
    int32_t mLayoutFromTime = 0;
    uint32_t mPaginationGeneration = 0;
    bool mHasGroupMark = false;

    std::shared_ptr<corvendi::Staffs> mStaffs;
    std::shared_ptr<corvendi::Voices> mVoices;
    std::shared_ptr<corvendi::Instruments> mInstruments;
    std::shared_ptr<corvendi::GlobalEvents> mGlobals;
    std::array<std::shared_ptr<Range>, kRangeCount> mRanges;
    std::vector<std::shared_ptr<Note>> mSelected;
    std::vector<std::string> mSelVoiceIDs;
    std::vector<int32_t> mSelStaffs;
    std::shared_ptr<corvendi::ChordMapper> mChordMapper;
    std::string mFileName;
    int32_t mMidiEvtIx = -1;

    int32_t mLastStaff = 0;
    int32_t mLastVoice = 0;
    int32_t mLastTime = 0;
    int32_t mLastValue = 0;
    int32_t mLastRegionIx = 0;
    int32_t mActiveRegionIx = 0;

    // Runs PaginateStep for the thread's pagination timer.
    class Paginator;
    std::unique_ptr<Paginator> mPaginator;
    std::unique_ptr<HostTimer> mEventTimer;

    // --- files ---
  public:
    // Loads a score file or imports a Standard MIDI File in place of the document, chosen by
    // the file's first four bytes. A file that cannot be opened or has another format is
    // reported in a message box titled "Open" and leaves the score untouched. False also while
    // another load runs and when a damaged file ended the read early (the score then keeps
    // what was read). Redraw is true afterwards.
    bool OpenFile(const std::string& Path);
    // Writes the score as a score file (FileType fmtQuavrix) or a MIDI file (fmtMIDI); an
    // empty path writes FileName() in the current file type. The file is written next to the
    // target as "$QX$.sco" and replaces the target only once complete, so on any failure
    // (among them a score of more than 85 staffs, which the format cannot hold) the target is
    // untouched and the result is false. On success the score takes the path and type, is no
    // longer changed, and the undo history is emptied.
    bool SaveFile(const std::string& Path = {}, int32_t FileType = 0);
    // "New Score" without a file; otherwise the file's name without folder and extension.
    std::string FileTitle() const;
    // Opens FileName() again, or makes the default score when there is no file.
    void Reload();

    // Engine-internal: the file readers and writers.
    // The FileFormats value of the current file, used by SaveFile without a path.
    int32_t FileType() const { return mFileType; }
    void FileTypeSet(int32_t type) { mFileType = type; }
    // Empties the document before a file is read into it, and names it after `path`.
    void ClearScore(const std::string& path);
    // Settings stored as read, without the effects of their property setters.
    void PageNumsSet(int32_t value) { mPageNums = value; }
    void ReverseEvenOddSet(bool on) { mReverseEvenOdd = on; }
    void UseChordsSet(bool on) { mUseChords = on; }
    void UseChordMapsSet(bool on) { mUseChordMaps = on; }

  private:
    int32_t mFileType = 0;  // fmtQuavrix
    bool mOpenBusy = false;
    // --- end files ---

    // --- layout ---------------------------------------------------------------------------------
  public:
    // Shows page 1..LastPage(); LastPage() + 1 appends an empty page after the last one to enter
    // music on. Other values are ignored.
    void SetCurPage(int32_t page);
    // The region of the last drawn page that contains the point, bounds included; nullptr when
    // none does or no page has been drawn yet.
    std::shared_ptr<Region> InRegion(int32_t X, int32_t Y) const;
    // Whether a region of the last drawn page contains the point. With SetIX the region's staff
    // becomes the selected staff and ActiveStaff is raised with it.
    bool HitTest(float X, float Y, bool SetIX = false);
    // The marks standing exactly at AtTime: 1 repeat begin, 2 repeat end, 4 section end, 8 score
    // end, plus 16 times the SectionTypes of a section mark.
    int32_t MeasureFlags(int32_t AtTime) const;
    // Places free text by its offsets: with UseActive from the middle line of the staff last
    // hit by TextOffsetByPos (Offset1 steps of Inc up, or Offset2 down, the second winning),
    // otherwise Y itself moved up by Offset1 steps or down by Offset2 steps.
    void TextPosByOffset(int32_t& Y, int32_t Offset1, int32_t Offset2, int32_t Inc,
                         bool UseActive = false) const;

    // Engine-internal: the regions of the last drawn page in drawing order (Index is the 1-based
    // position), and the page drawing.
    const std::vector<std::shared_ptr<Region>>& Regions() const { return mRegions; }
    PageLayout& Layout();

  private:
    friend class PageLayout;
    void AddPageAfter(int32_t page, int32_t start);
    std::vector<std::shared_ptr<Region>> mRegions;
    std::shared_ptr<PageLayout> mLayout;
    // --- end of layout -------------------------------------------------------------------------

    // --- printing ---
  public:
    // Prints pages fromPage..toPage of the paginated score on a printer surface: a missing or 0
    // fromPage starts at page 1, and with both missing or 0 every page is printed; fromPage alone
    // prints that page. Each printed page is followed by NewPage, the document by EndDoc. The
    // window, the current page and time and the redraw state are given back afterwards; the
    // colours become the defaults shared by all scores. A call while a print runs is ignored.
    void PrintScore(std::shared_ptr<Surface> device, std::optional<int32_t> fromPage = std::nullopt,
                    std::optional<int32_t> toPage = std::nullopt);
    bool Printing() const { return mPrinting; }

  private:
    void SetUpPrinter(Surface& device);
    void PrintPages(Surface& device, int32_t fromPage, int32_t toPage);
    bool mPrinting = false;
    std::shared_ptr<Surface> mSavedWindow;
    // --- end of printing ---
};

}  // namespace corvendi
