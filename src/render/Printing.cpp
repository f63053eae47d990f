// Printing: the page drawing pointed at a printer surface instead of the window. Nothing is laid
// out anew; each requested page is drawn from where pagination found it starts.
#include <algorithm>
#include <array>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Error.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "model/ProcessState.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Printer paper codes of the named page sizes, by PageSizes value.
constexpr std::array<int32_t, 5> kPaperCodes = {1, 5, 7, 9, 11};
constexpr int32_t kPortrait = 1;
constexpr int32_t kLandscape = 2;

}  // namespace

void Score::PrintScore(std::shared_ptr<Surface> device, std::optional<int32_t> fromPage,
                       std::optional<int32_t> toPage) {
    if (!device) throw Error("print.device", "PrintScore was given no printer surface");
    if (mState->Printing) return;
    mState->Printing = true;

    int32_t from = fromPage.value_or(0);
    int32_t to = toPage.value_or(0);
    if (from == 0) {
        from = 1;
        if (to == 0) to = mLastPage;
    }
    from = std::max(from, 1);
    to = std::min(to, mLastPage);
    to = std::max(to, from);

    mState->SavedWindow = mWindow;
    mWindow = device;
    // The window comes back however printing ends: a printer may fail in the middle.
    ScopeExit restoreWindow([this] {
        mWindow = mState->SavedWindow;
        mState->SavedWindow.reset();
        detail::ScoreAccess::Layout(*this).PrintOffsetSet(0, 0);
        detail::ScoreAccess::Layout(*this).PrintingSet(false);
        const ProcessState& p = Process();
        mState->TwipsPerPixelX = static_cast<float>(p.gTwipsPerPixelX);
        mState->TwipsPerPixelY = static_cast<float>(p.gTwipsPerPixelY);
        mState->Colors = detail::ScoreColors{p.gColorLines,    p.gColorBars, p.gColorNotes,
                                             p.gColorNotesAlt, p.gColorTies, p.gColorChords};
        mState->Printing = false;
    });

    detail::ScoreAccess::SetUpPrinter(*this, *device);
    detail::ScoreAccess::PrintPages(*this, *device, from, to);
}

void detail::ScoreAccess::SetUpPrinter(Score& s, Surface& device) {
    device.SetScaleMode(kScaleTwips);
    const bool landscape = s.mPageOrientation == pgeLandscape;
    if (s.mPageSize >= pgsLeter && s.mPageSize <= pgsA5) {
        device.SetPaperSize(kPaperCodes[static_cast<size_t>(s.mPageSize)]);
        device.SetOrientation(landscape ? kLandscape : kPortrait);
    } else if (landscape) {
        device.SetOrientation(kLandscape);
        device.SetHeight(s.mState->PageWidthTw);
        device.SetWidth(s.mState->PageHeightTw);
    } else {
        device.SetOrientation(kPortrait);
        device.SetHeight(s.mState->PageHeightTw);
        device.SetWidth(s.mState->PageWidthTw);
    }

    const double printerX = device.TwipsPerPixelX();
    const double printerY = device.TwipsPerPixelY();
    if (printerX > 0.0 && printerY > 0.0) {
        s.mState->TwipsPerPixelX = static_cast<float>(printerX);
        s.mState->TwipsPerPixelY = static_cast<float>(printerY);
        // Lines as thick as one screen pixel.
        const double screenX = Process().gTwipsPerPixelX;
        device.SetDrawWidth(std::max(1, FloorToInt(screenX / printerX)));
    }
    device.SetCopies(1);
    CurrentPlatform().ProcessPendingEvents();

    // Half the unprintable border on each side.
    const int32_t offsetX = IDiv(NInt(device.Width() - device.ScaleWidth()), 2);
    const int32_t offsetY = IDiv(NInt(device.Height() - device.ScaleHeight()), 2);
    Layout(s).PrintOffsetSet(offsetX, offsetY);
    Layout(s).PrintingSet(true);
}

void detail::ScoreAccess::PrintPages(Score& s, Surface& device, int32_t fromPage, int32_t toPage) {
    const int32_t savedTime = s.mCurTime;
    const int32_t savedPage = s.mCurPage;
    const bool savedRedraw = s.mRedraw;
    const bool savedPaintPending = s.mState->PaintPending;
    // Set directly: the Redraw setter would paint a pending page on the printer first.
    s.mRedraw = true;
    s.mState->Colors = detail::ScoreColors{};  // black

    for (int32_t page = fromPage; page <= toPage; ++page) {
        if (page < 1 || page > s.mLastPage) continue;
        const auto index = static_cast<size_t>(page - 1);
        if (index >= s.mState->PageRanges.size() || !s.mState->PageRanges[index]) continue;
        s.mCurPage = page;
        s.mCurTime = s.mState->PageRanges[index]->Low();
        s.PaintWindow();
        device.NewPage();
    }

    s.mState->PaintPending = savedPaintPending;
    s.mRedraw = savedRedraw;
    s.mCurTime = savedTime;
    s.mCurPage = savedPage;
    device.EndDoc();
}

}  // namespace corvendi
