// The host surface, painting and background pagination.
//
// Pagination lays out one page per tick of the thread's pagination timer; PaintWindow waits
// (yielding to the host) until pagination has passed the page it paints. Busy flags keep a
// pagination step and a paint from interleaving. Everything runs on one thread, so a busy flag
// found set was set by a caller further up the same stack: waiting for it could never end, and
// the operation that finds it returns at once (PaintWindow) or goes ahead (StartPagination).
#include <algorithm>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "engine/ScoreInternal.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"
#include "model/WaitLoop.h"

namespace corvendi {

void Score::SetRedraw(bool on) {
    if (on != mRedraw) {
        mRedraw = on;
        if (on && mLayoutPending) StartPagination(false);
    }
    if (mRedraw && mPaintPending) PaintWindow();
}

void Score::SetWindow(std::shared_ptr<Surface> surface) {
    if (!surface) {
        mWindow.reset();
        return;
    }
    if (surface->Kind() != SurfaceKind::Window) return;
    mWindow = std::move(surface);

    const ProcessState& p = Process();
    mColors = Colors{p.gColorLines,    p.gColorBars, p.gColorNotes,
                     p.gColorNotesAlt, p.gColorTies, p.gColorChords};
    mWindow->Cls();
    mWindow->SetDrawMode(kDrawModeCopyPen);
    mWindow->SetDrawStyle(kDrawStyleSolid);
    mWindow->SetClipControls(false);
    mWindow->SetAutoRedraw(true);
    if (mPageHeightTw >= 1 && mPageWidthTw >= 1) {
        ApplyPageSizeToWindow();
        StartPagination(false);
        PaintWindow();
    }
}

void Score::SetColors(int32_t ColorLines, int32_t ColorBars, int32_t ColorNotes, int32_t ColorTies,
                      int32_t ColorChords) {
    ProcessState& p = Process();
    p.gColorLines = mColors.Lines = ColorLines;
    p.gColorBars = mColors.Bars = ColorBars;
    p.gColorNotes = mColors.Notes = ColorNotes;
    mColors.NotesAlt = DeriveNoteColor();
    p.gColorTies = mColors.Ties = ColorTies;
    p.gColorChords = mColors.Chords = ColorChords;
    PaintWindow();
}

bool Score::PaginationTimerIsOurs() const {
    return PaginationTimerRunning() && PaginationTimerTarget() == mPaginator.get();
}

void Score::StartPagination(bool fromCurrent) {
    if (!mRedraw) {
        mLayoutPending = true;
        return;
    }
    mLayoutPending = false;
    mHasGroupMark = mGlobals && mGlobals->Find(0, evtGroupMark, true) != nullptr;
    if (!mWindow) return;

    StopPaginationTimer();
    mLastPage = 0;
    mLayoutFromPage = fromCurrent ? mCurPage : 1;
    mLayoutFromTime = fromCurrent ? mCurTime : 0;
    mPaginating = true;
    ++mPaginationGeneration;
    StartPaginationTimer(kPaginationPeriodMs, mPaginator.get());
}

void Score::PaintWindow() {
    if (!mRedraw && !mPaginating) {
        mPaintPending = true;
        return;
    }
    if (mPainting || mPaginateBusy) return;
    if (mWindow && mPageHeightTw >= 1 && mPageWidthTw >= 1) {
        // Let pagination pass the current page first. Another score may take the pagination
        // timer over; ours then never passes it, so stop waiting.
        WaitWhile([this] {
            return mPaginating && mLayoutFromPage <= mCurPage && PaginationTimerIsOurs();
        });
    }

    BusyScope painting(mPainting);
    const bool paginating = mPaginating;
    const uint32_t generation = mPaginationGeneration;
    mPaginating = false;
    // Pagination restarted by a handler during the paint must keep running afterwards.
    ScopeExit restore([this, paginating, generation] {
        mPaginating = paginating || generation != mPaginationGeneration;
    });
    DrawPage();
}

}  // namespace corvendi
