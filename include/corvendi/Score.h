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

class ChordList;
class ChordMapper;
class GlobalEvents;
class Instruments;
class MIDIEvent;
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
    // Whether GetMIDIEvent delivers its events through LoadMIDI instead of returning them.
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
    // Makes measure `number` the active measure, for the Measure Properties dialog; numbers
    // below 1 are ignored. Raises nothing and repaints nothing.
    void SetSelectedMeasure(int32_t number);
    // The verse lyrics are shown and typed in, 1..255, on the selected staff (nothing happens
    // without one). 0, or a verse beyond the staff's verse count, sets that count (0 hides the
    // lyrics) and lays the pages out again; the verse itself is then at least 1. A verse of 1 or
    // more puts the lyric cursor on the first note of the page (FirstActiveXY).
    int32_t Verse() const { return mVerse; }
    void SetVerse(int32_t value);

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
    // number. Builds a document: records no undo step of its own and repaints nothing.
    std::shared_ptr<Note> AddNote(int32_t Voice, int32_t Time, uint8_t Value, int32_t Duration,
                                  int32_t Flags);
    // --- selection and clipboard ----------------------------------------------------------
    // Selects the notes of the active voice drawn between Left and Right (twips of the last
    // drawn page) in every system whose staff band the rectangle touches; the corners may come
    // in any order. Returns the number selected (SelCount).
    int32_t SetSelection(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
    // Empties the selection (no event).
    void ClearSelection();
    // Number of selected notes.
    int32_t SelCount() const;
    // Puts the selected notes on the clipboard as text: the staff ID, ":" and the voice ID,
    // "@" and the start of the first note's measure, then "#time#duration#flags#pitches" for
    // each note, a chord's pitches joined by "|" (a new staff or voice ID where it changes).
    // With IsMove the notes are then deleted as ChangeSel(Del) does. Returns the number of
    // selected notes; with none the clipboard is left empty.
    int32_t PutClipboard(bool IsMove);
    // Pastes notes copied by PutClipboard into the active voice of the selected staff, moved
    // from the measure they were copied from to the selected measure. Only the first staff of
    // the text is pasted; pitches outside 0..127 are left out; text that is not copied notes
    // pastes nothing, and a damaged text pastes what came before the damage. `Clear` is
    // accepted and not used.
    void GetClipboard(bool Clear = false);
    // The description of catalogue entry 0..174; "" for another code.
    std::string InsDesc(int32_t InsCode) const;

    // --- undo -----------------------------------------------------------------------------------
    // Every edit of the document (note and mark entry and removal, ChangeSel, ChangeLast,
    // DelNote, pasting, measure and staff editing, braces, the setters of document values, a
    // dialog's Ok) is one step of this score's own history. Undo takes the newest step back so
    // that the document is exactly as before it; Redo makes the step taken back last again. Both
    // clear the selection (SelectionCleared), keep the score changed and repaint. A new edit
    // drops the steps that could be made again. Opening a file, CreateDefault and a successful
    // SaveFile empty the history. HistoryChanged and RedoChanged tell the host when CanUndo and
    // CanRedo change.
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // How many steps each score of the thread keeps, 1..1,000 (100 at first); other values are
    // ignored. Lowering it drops the oldest steps at once.
    int32_t UndoDepth() const;
    void SetUndoDepth(int32_t depth);

    // --- measures and staffs ------------------------------------------------------------------
    // Inserts empty measures before measure Index (after it with AfterIt): the selected measure
    // when Index is missing; a number outside the score's measures is taken as the nearest one.
    // Later notes and events move on by the inserted measures, which have the length of the
    // measure before them. With Prompt the "Insert Measure" dialog asks first (quantity, place);
    // Cancel changes nothing. Text is read as a number (no number: 0). Does nothing while another
    // measure insertion or deletion runs.
    void AddMeasure(std::optional<int32_t> Index = std::nullopt, bool AfterIt = false,
                    bool Prompt = false);
    void AddMeasure(std::string_view Index, bool AfterIt = false, bool Prompt = false);
    // Deletes measure Index (as for AddMeasure) with its notes and events; later music moves
    // back. With Prompt the "Delete Measure" dialog asks first (quantity, first measure).
    void DelMeasure(std::optional<int32_t> Index = std::nullopt, bool Prompt = false);
    void DelMeasure(std::string_view Index, bool Prompt = false);
    // Inserts a staff "New" at position Index (after the last when missing; kept within
    // 1..Staffs() + 1) playing its neighbour's instrument. With Prompt the "Insert Staff" dialog
    // chooses quantity, place, instrument, clef and voices. Returns the last staff created, or
    // nullptr when none was (cancelled, or the score already holds 85 staffs).
    std::shared_ptr<corvendi::Staff> AddStaff(std::optional<int32_t> Index = std::nullopt,
                                              bool Prompt = false);
    // Deletes staff Index (staff 1 when missing; kept within the staffs) with its voices. With
    // Prompt the "Delete Staff" dialog chooses quantity and first staff; staffs beyond the last
    // are skipped.
    void DelStaff(std::optional<int32_t> Index = std::nullopt, bool Prompt = false);
    // Sets the brace of the staff under (X, Y): Staffs 1 or 2 a two-staff brace, 3 or more a
    // three-staff brace, 0 none. A negative Staffs switches the staff-group brackets on or off.
    void SetBraceByHit(float X, float Y, int16_t Staffs = 2);
    // --- playback -----------------------------------------------------------------------------
    // Closes what plays, then, unless StopPlay, writes the score to its temporary MIDI file
    // (again only when it changed since) and plays it through the platform's sequencer from
    // FromTime (score ticks). With SendEvents, PlayDone is raised when playing reaches the end.
    // The file stays open after playing ends, until the next PlayScore. Failures are not
    // reported: Playing() stays false. `hwnd` is accepted for hosts written for window
    // handles and not used.
    void PlayScore(bool StopPlay = false, bool SendEvents = false, int32_t hwnd = 0,
                   int32_t FromTime = 0);
    // Whether the sequencer holds the score's file open.
    bool Playing() const;
    // The score tick now sounding; -1 when nothing is open.
    int32_t PlayPosition() const;
    // Writes the temporary MIDI file of playback when the score changed since it was last
    // written and returns its path (unique to this score; deleted with it); empty on failure.
    std::string WritePlayFile();
    // The temporary MIDI file last written; empty until then.
    const std::string& PlayFile() const;

    // The next MIDI event of the score's event stream; nullptr once it is exhausted, and while
    // GetAsync is on (the event then arrives through LoadMIDI 25 ms later). A StartTime
    // restarts the stream there; -1 ends it.
    std::shared_ptr<MIDIEvent> GetMIDIEvent();
    std::shared_ptr<MIDIEvent> GetMIDIEvent(int32_t StartTime);

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
    // The screen resolution the score lays out and paints at, in whole twips per pixel (values
    // below 1 are ignored): a host zooms its page view with it. It also becomes the thread's
    // screen resolution, which printing returns to and scores created later start with. The
    // pages are laid out again from page 1 and the current page is painted; a host that hands
    // over a window of the new resolution next turns Redraw off around both calls.
    void SetTwipsPerPixel(int32_t X, int32_t Y);

    // --- pagination --------------------------------------------------------------------------
    // True while background pagination runs; LastPage() is final once it is false. A headless
    // host processes pending events until then (see HeadlessPlatform).
    bool Paginating() const;

    // The chord mapper names and draws chord symbols; a host or an editor may hand over another
    // one. nullptr is ignored.
    const std::shared_ptr<corvendi::ChordMapper>& ChordMapper() const { return mChordMapper; }
    void SetChordMapper(std::shared_ptr<corvendi::ChordMapper> mapper);

    // --- property dialogs ----------------------------------------------------------------------
    // Opens the DialogTypes dialog (dlgScoreProperties, dlgStaffProperties,
    // dlgMeasureProperties) through the platform's presenter and returns when it closes; any
    // other value does nothing. Left and Top place the form in screen twips; without them it is
    // centred across the screen and placed 42% of the free height down, on whole pixels. When
    // the dialog changed a score that was unchanged before, ChangeNotify is raised once, after
    // the dialog has closed.
    void ShowDialog(int32_t Dialog, std::optional<int32_t> Left = std::nullopt,
                    std::optional<int32_t> Top = std::nullopt);

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
    // The hit regions of the last drawn page, top to bottom; empty before a page is drawn.
    std::vector<std::shared_ptr<Region>> Regions() const;
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

    // --- note entry and editing -------------------------------------------------------------
    // Positions are page twips of the last drawn page; without a drawn page every ...ByHit call
    // does nothing.
    // Enters a note where the point lies: the staff and time from the hit regions, the pitch
    // from the height (a drum voice takes the DrumIX sound instead), in the active voice. A
    // point inside a note's span starts the note where that one ends, a point on a note's time
    // adds a chord tone; the note starts no later than its measure's end; the one following
    // note it would overlap is removed. A positive Snap rounds the time down to a multiple of
    // Snap. Records an undo step and repaints the system (or the page when the measure needs
    // another width).
    void AddNoteByHit(int32_t X, int32_t Y, int32_t Duration, int32_t Flags, int32_t Snap = 0);
    // Whether a note of the active voice is drawn within half a line spacing (and 30 twips) of
    // X on the staff under Y; if so its time and duration.
    bool OnNote(int32_t X, int32_t Y, int32_t& NoteTime, int32_t& NoteDur);
    // The pitch a point stands for: 0 outside every region, 65 right of a system's last measure.
    int32_t GetNoteValueByHit(int32_t X, int32_t Y);
    // Toggles an OrnamentTypes mark on the note OnNote finds at the point; setting one clears
    // the bowing marks.
    void AddOrnamentByHit(int32_t X, int32_t Y, int32_t Ornament);
    // Changes the note last entered with AddNoteByHit: transposes its entered pitch by Value
    // semitones (kept within 0..127), or with Alignment moves it by Value x 4 ticks between its
    // neighbours. False when there is nothing to change or the move has no room; the note
    // memory is then forgotten.
    bool ChangeLast(int32_t Value, bool Alignment = false);
    // Changes every selected note: NewDur > 0 the duration; NewValue 1..255 a single pitch,
    // >= 256 transposes up by NewValue mod 256, < 0 transposes down; StemDir a StemTypes stem or
    // dot/triplet property; Ornaments toggles OrnamentTypes marks. Notes that then overlap in
    // the measures whose durations changed move later. Returns the number of notes processed.
    // With Del (the other switches then ignored) the selected notes are removed, the selection
    // is emptied (SelectionCleared) and the number removed is returned. With Tie the first
    // selected note is tied to the last selected note of its staff; 1 when a tie was added (not
    // when the end would lie at tick 65,536 or later), else 0.
    int32_t ChangeSel(int32_t NewDur = 0, int32_t NewValue = 0, int32_t StemDir = 0,
                      int32_t Ornaments = 0, bool Del = false, bool Tie = false);
    // Removes the note starting at AtTime from voice Voice (1..4, else the active voice) of staff
    // Staff (1..Staffs(), else the selected staff).
    void DelNote(int32_t AtTime, int32_t Voice = 0, int32_t Staff = 0);

    // --- marks, lyrics and chords --------------------------------------------------------------
    // Places a mark of EventType at the point: in the measure under it, at the measure's start
    // or at the time under X as the type requires. SubType is the mark's value (a dynamic's
    // DynamicTypes, a chord's code, a clef, a key byte or a signed key, a SectionTypes mark, a
    // signed amount of widening or extra space); values outside -255..65,535 place nothing.
    // Repeats, section marks, the score's end, octave lines and repeat-measure signs toggle;
    // line ends toggle; measure widths and staff spacing add up; key and clef changes,
    // dynamics, tempo marks and chords replace the same type at the same time; a text at the
    // same time is moved and rewritten. One undo step; repaints the system, or lays the pages
    // out again from the current page where the layout changes.
    void AddGlobalByHit(int32_t X, int32_t Y, int32_t EventType, int32_t SubType = 0,
                        const std::string& Text = {});
    // Removes the mark of EventType at AtTime, or every one when AtTime < 0: key and clef
    // changes, lyrics, dynamics, tempo marks, staff spacing and text from the selected staff,
    // section marks from the score and the selected staff, the rest from the score. The last
    // lyric gone sets the staff's verse count to 0. Lays the pages out again; one undo step.
    void RemoveGlobalEvent(int32_t AtTime, int32_t EventType);
    // The active verse of the lyric being edited ("" when none is). Setting it stores the verse
    // in the lyric at the cursor (creating it) and redraws it.
    std::string Lyric() const;
    void SetLyric(std::string Text);
    // Makes the lyric at AtTime (on the staff of the last cursor move) the one being edited and
    // sets its active verse to Text. False without a selected staff.
    bool AddLyric(int32_t AtTime, std::string Text);
    // The offsets of a text placed at the point, in half staff spaces above (Offset1) or below
    // (Offset2) the middle line of the staff under it (both 0 outside every staff). Inc is half
    // the staff's line spacing; the middle line is kept for TextPosByOffset(..., UseActive).
    void TextOffsetByPos(uint8_t& Offset1, uint8_t& Offset2, int32_t X, int32_t Y, int32_t& Inc);
    // Fills List with the chord mapper's chord names, each with its code.
    void LoadChordList(ChordList& List) const;

    // --- the active position and the lyric cursor ---------------------------------------------
    // The staff under the point (its edges excluded) becomes the selected staff and the measure
    // under X the selected measure; ActiveStaff and ActiveMeasure tell the host.
    void SetActiveByHit(int32_t X, int32_t Y);
    // The lyric cursor on the first note of the active voice of the selected staff on the
    // current page: its time, x and the y of the lyric line below it (twips), and the active
    // verse already stored there. False when there is none; the arguments are then unchanged.
    bool FirstActiveXY(int32_t& AtTime, int32_t& X, int32_t& Y, std::string& ActiveLyric);
    // The next and the previous note, on the current page only.
    bool NextActiveXY(int32_t& ActiveTime, int32_t& X, int32_t& Y, std::string& ActiveLyric);
    bool PrevActiveXY(int32_t& ActiveTime, int32_t& X, int32_t& Y, std::string& ActiveLyric);

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
