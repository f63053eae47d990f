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
#include "corvendi/Export.h"
#include "corvendi/Font.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Surface.h"

namespace corvendi {

class ChordMapper;
class GlobalEvents;
class Instruments;
class Note;
class Region;
class Staff;
class Staffs;
class Voices;

namespace detail {
struct ScoreAccess;
struct ScoreState;
}  // namespace detail

class CORVENDI_API Score : public DocumentOwner {
  public:
    static constexpr int32_t kFontCount = 7;

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
    int32_t SelCount() const;
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
    // The page as it is laid out, shown and printed, in twips: the paper turned on its side in
    // landscape, so the long side runs across. A host sizes its window or image with it.
    int32_t SheetWidthTw() const;
    int32_t SheetHeightTw() const;
    int32_t TwipsToPixelsX(int32_t Value) const;
    int32_t TwipsToPixelsY(int32_t Value) const;

    // --- pagination --------------------------------------------------------------------------
    // True while background pagination runs; LastPage() is final once it is false. A headless
    // host processes pending events until then (see HeadlessPlatform).
    bool Paginating() const;

    // The chord mapper names and draws chord symbols; a host or an editor may hand over another
    // one. nullptr is ignored.
    const std::shared_ptr<corvendi::ChordMapper>& ChordMapper() const { return mChordMapper; }
    void SetChordMapper(std::shared_ptr<corvendi::ChordMapper> mapper);

    // --- files ---------------------------------------------------------------------------------
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
    // The path of the document's file; empty for a score that was never opened or saved.
    const std::string& FileName() const;
    // The FileFormats value of the current file, used by SaveFile without a path.
    int32_t FileType() const;
    // "New Score" without a file; otherwise the file's name without folder and extension.
    std::string FileTitle() const;
    // Opens FileName() again, or makes the default score when there is no file.
    void Reload();

    // --- pages and hit testing -----------------------------------------------------------------
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

    // --- printing ------------------------------------------------------------------------------
    // Prints pages fromPage..toPage of the paginated score on a printer surface: a missing or 0
    // fromPage starts at page 1, and with both missing or 0 every page is printed; fromPage alone
    // prints that page. Each printed page is followed by NewPage, the document by EndDoc. The
    // window, the current page and time and the redraw state are given back afterwards; the
    // colours become the defaults shared by all scores. A call while a print runs is ignored;
    // a call without a device throws Error "print.device".
    void PrintScore(std::shared_ptr<Surface> device, std::optional<int32_t> fromPage = std::nullopt,
                    std::optional<int32_t> toPage = std::nullopt);
    bool Printing() const;

  private:
    friend struct detail::ScoreAccess;

    // The host-visible properties. Everything else the engine keeps for a score (pagination,
    // painting and printing state, page geometry in twips, selection, regions, file state)
    // lives in mState, so it can change without changing this class.
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

    int32_t mCurTime = 0;
    int32_t mVoice = 1;
    int32_t mVerse = 1;
    int32_t mDrumIX = 0;
    int32_t mDynAdjust = 0;
    bool mGetAsync = false;
    bool mHandles = false;
    int32_t mKey = 0;
    int32_t mMinorVal = 0;
    int32_t mSelectedMeasure = 0;

    bool mNumberMeasures = false;
    int32_t mNumberMeasuresBy = 0;
    int32_t mNumberPos = 0;
    int32_t mPageNums = 0;
    int32_t mPageOrientation = 0;
    int32_t mPageSize = 0;
    // Stored in portrait sense; set through the page setters at creation.
    float mPageWidthIn = 0.0f;
    float mPageHeightIn = 0.0f;
    int32_t mCurPage = 1;
    int32_t mLastPage = 1;
    std::array<float, 4> mMargins{};
    float mStaffHeight = 0.0f;
    float mStaffSpace = 0.0f;
    float mSystemSpace = 0.0f;

    std::array<std::shared_ptr<Font>, kFontCount> mFonts;
    std::shared_ptr<Surface> mWindow;
    bool mRedraw = false;

    std::shared_ptr<corvendi::Staffs> mStaffs;
    std::shared_ptr<corvendi::Voices> mVoices;
    std::shared_ptr<corvendi::Instruments> mInstruments;
    std::shared_ptr<corvendi::GlobalEvents> mGlobals;
    std::shared_ptr<corvendi::ChordMapper> mChordMapper;

    std::unique_ptr<detail::ScoreState> mState;
};

}  // namespace corvendi
