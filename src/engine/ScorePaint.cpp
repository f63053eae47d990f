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
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"
#include "model/WaitLoop.h"

namespace corvendi {

void Score::SetRedraw(bool on) {
    if (on != mRedraw) {
        mRedraw = on;
        if (on && mState->LayoutPending) detail::ScoreAccess::StartPagination(*this, false);
    }
    if (mRedraw && mState->PaintPending) PaintWindow();
}

void Score::SetWindow(std::shared_ptr<Surface> surface) {
    if (!surface) {
        mWindow.reset();
        return;
    }
    if (surface->Kind() != SurfaceKind::Window) return;
    mWindow = std::move(surface);

    const ProcessState& p = Process();
    mState->Colors = detail::ScoreColors{p.gColorLines,    p.gColorBars, p.gColorNotes,
                                         p.gColorNotesAlt, p.gColorTies, p.gColorChords};
    mWindow->Cls();
    mWindow->SetDrawMode(kDrawModeCopyPen);
    mWindow->SetDrawStyle(kDrawStyleSolid);
    mWindow->SetClipControls(false);
    mWindow->SetAutoRedraw(true);
    if (mState->PageHeightTw >= 1 && mState->PageWidthTw >= 1) {
        detail::ScoreAccess::ApplyPageSizeToWindow(*this);
        detail::ScoreAccess::StartPagination(*this, false);
        PaintWindow();
    }
}

void Score::SetColors(int32_t ColorLines, int32_t ColorBars, int32_t ColorNotes, int32_t ColorTies,
                      int32_t ColorChords) {
    ProcessState& p = Process();
    p.gColorLines = mState->Colors.Lines = ColorLines;
    p.gColorBars = mState->Colors.Bars = ColorBars;
    p.gColorNotes = mState->Colors.Notes = ColorNotes;
    mState->Colors.NotesAlt = DeriveNoteColor();
    p.gColorTies = mState->Colors.Ties = ColorTies;
    p.gColorChords = mState->Colors.Chords = ColorChords;
    PaintWindow();
}

void Score::SetTwipsPerPixel(int32_t X, int32_t Y) {
    if (X < 1 || Y < 1) return;
    ProcessState& p = Process();
    p.gTwipsPerPixelX = X;
    p.gTwipsPerPixelY = Y;
    // A print in progress keeps the printer's resolution; it returns to the new one at its end.
    if (!mState->Printing) {
        mState->TwipsPerPixelX = static_cast<float>(X);
        mState->TwipsPerPixelY = static_cast<float>(Y);
    }
    detail::ScoreAccess::StartPagination(*this, false);
    PaintWindow();
}

bool detail::ScoreAccess::PaginationTimerIsOurs(const Score& s) {
    return PaginationTimerRunning() && PaginationTimerTarget() == &s.mState->ScorePaginator;
}

void detail::ScoreAccess::AwaitLayoutOfCurrentPage(Score& s) {
    const detail::ScoreState& state = *s.mState;
    // Another score may take the pagination timer over; ours then never passes the page, so
    // stop waiting.
    auto behind = [&s, &state] {
        return state.Paginating && state.LayoutFromPage <= s.mCurPage && PaginationTimerIsOurs(s);
    };
    // The steps the timer would run next, run now: the page shows as soon as its start is known.
    while (behind() && !state.PaginateBusy && !state.Painting) {
        const int32_t page = state.LayoutFromPage;
        const uint32_t generation = state.PaginationGeneration;
        PaginateStep(s);
        if (state.LayoutFromPage == page && state.PaginationGeneration == generation) break;
    }
    WaitWhile(behind);
}

void detail::ScoreAccess::StartPagination(Score& s, bool fromCurrent) {
    EditStep::NoteRelayout(s, fromCurrent);
    if (!s.mRedraw) {
        s.mState->LayoutPending = true;
        return;
    }
    s.mState->LayoutPending = false;
    s.mState->HasGroupMark = s.mGlobals && s.mGlobals->Find(0, evtGroupMark, true) != nullptr;
    if (!s.mWindow) return;

    StopPaginationTimer();
    s.mLastPage = 0;
    s.mState->LayoutFromPage = fromCurrent ? s.mCurPage : 1;
    s.mState->LayoutFromTime = fromCurrent ? s.mCurTime : 0;
    s.mState->Paginating = true;
    ++s.mState->PaginationGeneration;
    StartPaginationTimer(kPaginationPeriodMs, &s.mState->ScorePaginator);
}

void Score::PaintWindow() {
    if (!mRedraw && !mState->Paginating) {
        mState->PaintPending = true;
        return;
    }
    if (mState->Painting || mState->PaginateBusy) return;
    if (mWindow && mState->PageHeightTw >= 1 && mState->PageWidthTw >= 1) {
        detail::ScoreAccess::AwaitLayoutOfCurrentPage(*this);
    }

    BusyScope painting(mState->Painting);
    const bool paginating = mState->Paginating;
    const uint32_t generation = mState->PaginationGeneration;
    mState->Paginating = false;
    // Pagination restarted by a handler during the paint must keep running afterwards.
    ScopeExit restore([this, paginating, generation] {
        mState->Paginating = paginating || generation != mState->PaginationGeneration;
    });
    detail::ScoreAccess::DrawPage(*this);
}

}  // namespace corvendi
