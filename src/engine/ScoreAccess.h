// The engine's way into a Score: the state behind the host API (ScoreState), the settings the
// file readers store without their setters' effects, the page geometry in twips, pagination,
// and the steps the Score's own source files share. Every engine file that needs more of a
// score than its public header offers goes through these static functions; hosts cannot, as
// this header is not installed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "corvendi/Score.h"
#include "engine/ScoreSettings.h"
#include "engine/ScoreState.h"

namespace corvendi {

class PageLayout;

namespace detail {

struct ScoreAccess {
    static ScoreState& State(Score& s) { return *s.mState; }
    static const ScoreState& State(const Score& s) { return *s.mState; }

    static const ScoreEventSource& EventSource(const Score& s) { return s.mEvents; }
    static LyricCursor& Cursor(Score& s) { return s.mState->Cursor; }
    static const LyricCursor& Cursor(const Score& s) { return s.mState->Cursor; }

    // The score's own references, for loops that should not copy a shared pointer per step.
    static const std::shared_ptr<corvendi::Staffs>& StaffsRef(const Score& s) { return s.mStaffs; }
    static const std::shared_ptr<GlobalEvents>& GlobalsRef(const Score& s) { return s.mGlobals; }
    static const std::shared_ptr<Surface>& WindowRef(const Score& s) { return s.mWindow; }
    static const std::array<std::shared_ptr<Font>, Score::kFontCount>& FontsRef(const Score& s) {
        return s.mFonts;
    }
    static const std::array<std::string, 2>& CopyrightLines(const Score& s) { return s.mCopyright; }

    // --- pagination and painting ---------------------------------------------------------------
    // Restarts background pagination from page 1, or from the current page.
    static void StartPagination(Score& s, bool fromCurrent = false);
    // One step of background pagination (run by the pagination timer). A step that raises
    // events or yields to the host must expect StartPagination to run meanwhile: it then finds
    // PaginationGeneration changed and leaves the new pagination alone.
    static void PaginateStep(Score& s);
    static uint32_t PaginationGeneration(const Score& s) { return s.mState->PaginationGeneration; }
    static void PaginatingSet(Score& s, bool on) { s.mState->Paginating = on; }
    static bool PaginateBusy(const Score& s) { return s.mState->PaginateBusy; }
    static bool Painting(const Score& s) { return s.mState->Painting; }
    static int32_t LayoutFromPage(const Score& s) { return s.mState->LayoutFromPage; }
    static void LayoutFromPageSet(Score& s, int32_t page) { s.mState->LayoutFromPage = page; }
    static int32_t LayoutFromTime(const Score& s) { return s.mState->LayoutFromTime; }
    static void LayoutFromTimeSet(Score& s, int32_t time) { s.mState->LayoutFromTime = time; }
    static bool LayoutPending(const Score& s) { return s.mState->LayoutPending; }
    static bool PaintPending(const Score& s) { return s.mState->PaintPending; }
    static void PaintPendingSet(Score& s, bool on) { s.mState->PaintPending = on; }
    static bool HasGroupMark(const Score& s) { return s.mState->HasGroupMark; }
    // The pagination timer is running for this score.
    static bool PaginationTimerIsOurs(const Score& s);
    // Returns once the background pagination has passed the current page: the pages up to it
    // are laid out at once, one step after the other, instead of a timer tick apart.
    static void AwaitLayoutOfCurrentPage(Score& s);
    static void DrawPage(Score& s);
    // The record of the page after `page` starts where `page` ends.
    static void AddPageAfter(Score& s, int32_t page, int32_t start);
    static PageLayout& Layout(Score& s);
    // Erases and redraws the system of region `regionIndex` (1-based among Regions()), or every
    // system from it to the page's end. With measureIndex >= 0 the flags of that measure are
    // first updated in each of those regions: OR setBits, then clear clearBits.
    static void RepaintSystem(Score& s, int32_t regionIndex, bool toEndOfPage = false,
                              int32_t measureIndex = -1, int32_t setBits = 0,
                              int32_t clearBits = 0);
    // After an edit of region `regionIndex`'s notes from fromTime to toTime (exclusive) that
    // kept the layout: repaints a box around those measures of that staff where the window can
    // limit its drawing, else the region's system.
    // `gone` holds the values the edit removed there.
    static void RepaintAround(Score& s, int32_t regionIndex, int32_t fromTime, int32_t toTime,
                              std::span<const uint8_t> gone = {});
    // The regions of the last drawn page in drawing order (Index is the 1-based position).
    static const std::vector<std::shared_ptr<Region>>& Regions(const Score& s) {
        return s.mState->Regions;
    }
    static std::vector<std::shared_ptr<Region>>& Regions(Score& s) { return s.mState->Regions; }

    // --- document state ------------------------------------------------------------------------
    static bool Loading(const Score& s) { return s.mState->Loading; }
    static void LoadingSet(Score& s, bool loading) { s.mState->Loading = loading; }
    static bool PlayFileStale(const Score& s) { return s.mState->PlayFileStale; }
    static void PlayFileStaleSet(Score& s, bool stale) { s.mState->PlayFileStale = stale; }
    static int32_t HighNoteTime(const Score& s) { return s.mState->HighNoteTime; }
    // Raises the greatest note start time to `time` when it is larger.
    static void RaiseHighNoteTime(Score& s, int32_t time) {
        if (time > s.mState->HighNoteTime) s.mState->HighNoteTime = time;
    }
    static void HighNoteTimeSet(Score& s, int32_t time) { s.mState->HighNoteTime = time; }
    static void CurTimeSet(Score& s, int32_t time) { s.mCurTime = time; }
    static void CurPageSet(Score& s, int32_t page) { s.mCurPage = page; }
    static void LastPageSet(Score& s, int32_t page) { s.mLastPage = page; }
    static void SelectedMeasureSet(Score& s, int32_t number) { s.mSelectedMeasure = number; }
    static void VerseSet(Score& s, int32_t verse) { s.mVerse = verse; }
    static int32_t MinorVal(const Score& s) { return s.mMinorVal; }
    static void KeySet(Score& s, int32_t key, int32_t minorVal) {
        s.mKey = key;
        s.mMinorVal = minorVal;
    }
    static int32_t DrawFlags(const Score& s) { return s.mState->DrawFlags; }
    static void DrawFlagsSet(Score& s, int32_t flags) { s.mState->DrawFlags = flags; }
    static void FileNameSet(Score& s, std::string name) { s.mState->FileName = std::move(name); }
    static void FileTypeSet(Score& s, int32_t type) { s.mState->FileType = type; }
    static int32_t MidiEvtIx(const Score& s) { return s.mState->MidiEvtIx; }
    static void MidiEvtIxSet(Score& s, int32_t time) { s.mState->MidiEvtIx = time; }
    // Empties the document before a file is read into it, and names it after `path`.
    static void ClearScore(Score& s, const std::string& path);
    // Empties the document (staffs, voices, instruments, events, selection) and puts the page
    // and position state back to page 1, time 0; shared by CreateDefault and the file readers.
    static void ResetDocument(Score& s);

    // Settings stored as read, without the effects of their property setters.
    static void PageNumsSet(Score& s, int32_t value) { s.mPageNums = value; }
    static void ReverseEvenOddSet(Score& s, bool on) { s.mReverseEvenOdd = on; }
    static void UseChordsSet(Score& s, bool on) { s.mUseChords = on; }
    static void UseChordMapsSet(Score& s, bool on) { s.mUseChordMaps = on; }

    // --- note entry memory and the selection ----------------------------------------------------
    static int32_t LastStaff(const Score& s) { return s.mState->LastStaff; }
    static int32_t LastVoice(const Score& s) { return s.mState->LastVoice; }
    static int32_t LastTime(const Score& s) { return s.mState->LastTime; }
    static int32_t LastValue(const Score& s) { return s.mState->LastValue; }
    static int32_t LastRegionIx(const Score& s) { return s.mState->LastRegionIx; }
    static void LastNoteSet(Score& s, int32_t staff, int32_t voice, int32_t time, int32_t value) {
        ScoreState& state = *s.mState;
        state.LastStaff = staff;
        state.LastVoice = voice;
        state.LastTime = time;
        state.LastValue = value;
    }
    static void LastRegionIxSet(Score& s, int32_t index) { s.mState->LastRegionIx = index; }
    static int32_t ActiveRegionIx(const Score& s) { return s.mState->ActiveRegionIx; }
    static void ActiveRegionIxSet(Score& s, int32_t index) { s.mState->ActiveRegionIx = index; }
    static std::vector<std::shared_ptr<Note>>& Selected(Score& s) { return s.mState->Selected; }
    static std::vector<std::string>& SelVoiceIDs(Score& s) { return s.mState->SelVoiceIDs; }
    static std::vector<int32_t>& SelStaffs(Score& s) { return s.mState->SelStaffs; }

    // --- page geometry in twips ----------------------------------------------------------------
    static int32_t PageHeightTw(const Score& s) { return s.mState->PageHeightTw; }
    static int32_t PageWidthTw(const Score& s) { return s.mState->PageWidthTw; }
    // Indexed by PageMargins; other indexes read 0.
    static int32_t MarginsTw(const Score& s, int32_t margin) {
        return margin >= 0 && margin <= 3 ? s.mState->MarginsTw[static_cast<size_t>(margin)] : 0;
    }
    static int32_t StaffHeightTw(const Score& s) { return s.mState->StaffHeightTw; }
    // The layout shrinks the staff height of an overfull page; StaffHeight restores it.
    static void StaffHeightTwSet(Score& s, int32_t twips) { s.mState->StaffHeightTw = twips; }
    static int32_t StaffSpaceTw(const Score& s) { return s.mState->StaffSpaceTw; }
    static int32_t SystemSpaceTw(const Score& s) { return s.mState->SystemSpaceTw; }
    static int32_t BeamLines(const Score& s) { return s.mState->BeamLines; }
    static int32_t BeamGap(const Score& s) { return s.mState->BeamGap; }
    static float TwipsPerPixelXf(const Score& s) { return s.mState->TwipsPerPixelX; }
    static float TwipsPerPixelYf(const Score& s) { return s.mState->TwipsPerPixelY; }
    static bool Landscape(const Score& s);
    static std::vector<std::shared_ptr<Range>>& PageRanges(Score& s) {
        return s.mState->PageRanges;
    }
    static std::vector<std::shared_ptr<Range>>& PageMetrics(Score& s) {
        return s.mState->PageMetrics;
    }
    static const std::array<std::shared_ptr<Range>, ScoreState::kRangeCount>& Ranges(
        const Score& s) {
        return s.mState->Ranges;
    }
    static const ScoreColors& DrawColors(const Score& s) { return s.mState->Colors; }
    static HostTimer& EventTimer(Score& s) { return *s.mState->EventTimer; }

    // --- creation steps, in order ---------------------------------------------------------------
    static void ReadScreenMetrics(Score& s);
    static void CreateChordMapperFromData(Score& s);
    static void CreateRanges(Score& s);
    static void CreateFonts(Score& s);
    static void CreateCollections(Score& s);
    static void SetPageDefaults(Score& s);
    // Empties the collections and cuts their back references.
    static void DetachDocument(Score& s);

    // --- setter effects -------------------------------------------------------------------------
    static void Relayout(Score& s) { StartPagination(s, false); }
    static void SetTextAndRelayout(Score& s, std::string& member, std::string text);
    static void StoreSpacing(Score& s, float inches, float& member, int32_t& twips);
    static void SetPaperLength(Score& s, float inches);
    static void SetPaperBreadth(Score& s, float inches);
    static void UpdateBeamMetrics(Score& s);
    static void ApplyPageSizeToWindow(Score& s);
    static void RecomputePageSize(Score& s);
    static void WriteScoreKeyEvent(Score& s);

    // --- replacing the document (ScoreDocument.cpp) -------------------------------------------
    // A new score to read a file into; unlike Score::Create it leaves the thread's default
    // colours.
    static std::shared_ptr<Score> CreateDocument();
    // `to` takes over `from`'s document: its settings (texts, tempo, page, spacing, fonts,
    // switches), its staffs, voices, instruments and events (`from` gets `to`'s in exchange),
    // its file name and type. Host and view state stay: window, colours, redraw, handles, the
    // active voice and drum sound.
    static void AdoptDocument(Score& to, Score& from);
    // Only the settings.
    static void AdoptDocumentSettings(Score& to, const Score& from);

    // --- undo (DocumentFrame.cpp) ---------------------------------------------------------------
    static ScoreSettings Settings(const Score& s);
    // Puts `settings` into the score and the score's own into `settings`; the collections that
    // come back are owned by the score again, the ones that leave are not.
    static void SwapSettings(Score& s, ScoreSettings& settings);

    // --- printing -------------------------------------------------------------------------------
    static void SetUpPrinter(Score& s, Surface& device);
    static void PrintPages(Score& s, Surface& device, int32_t fromPage, int32_t toPage);
};

inline void Paginator::PaginateStep() { ScoreAccess::PaginateStep(mScore); }

}  // namespace detail
}  // namespace corvendi
