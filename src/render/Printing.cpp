// Printing: the page drawing pointed at a printer surface instead of the window. Nothing is laid
// out anew; each requested page is drawn from where pagination found it starts.
#include <algorithm>
#include <array>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
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
    if (mPrinting || !device) return;
    mPrinting = true;

    int32_t from = fromPage.value_or(0);
    int32_t to = toPage.value_or(0);
    if (from == 0) {
        from = 1;
        if (to == 0) to = mLastPage;
    }
    from = std::max(from, 1);
    to = std::min(to, mLastPage);
    to = std::max(to, from);

    mSavedWindow = mWindow;
    mWindow = device;
    // The window comes back however printing ends: a printer may fail in the middle.
    ScopeExit restoreWindow([this] {
        mWindow = mSavedWindow;
        mSavedWindow.reset();
        Layout().PrintOffsetSet(0, 0);
        Layout().PrintingSet(false);
        const ProcessState& p = Process();
        mTwipsPerPixelX = static_cast<float>(p.gTwipsPerPixelX);
        mTwipsPerPixelY = static_cast<float>(p.gTwipsPerPixelY);
        mColors = Colors{p.gColorLines,    p.gColorBars, p.gColorNotes,
                         p.gColorNotesAlt, p.gColorTies, p.gColorChords};
        mPrinting = false;
    });

    SetUpPrinter(*device);
    PrintPages(*device, from, to);
}

void Score::SetUpPrinter(Surface& device) {
    device.SetScaleMode(kScaleTwips);
    const bool landscape = mPageOrientation == pgeLandscape;
    if (mPageSize >= pgsLeter && mPageSize <= pgsA5) {
        device.SetPaperSize(kPaperCodes[static_cast<size_t>(mPageSize)]);
        device.SetOrientation(landscape ? kLandscape : kPortrait);
    } else if (landscape) {
        device.SetOrientation(kLandscape);
        device.SetHeight(mPageWidthTw);
        device.SetWidth(mPageHeightTw);
    } else {
        device.SetOrientation(kPortrait);
        device.SetHeight(mPageHeightTw);
        device.SetWidth(mPageWidthTw);
    }

    const double printerX = device.TwipsPerPixelX();
    const double printerY = device.TwipsPerPixelY();
    if (printerX > 0.0 && printerY > 0.0) {
        mTwipsPerPixelX = static_cast<float>(printerX);
        mTwipsPerPixelY = static_cast<float>(printerY);
        // Lines as thick as one screen pixel.
        const double screenX = Process().gTwipsPerPixelX;
        device.SetDrawWidth(std::max(1, FloorToInt(screenX / printerX)));
    }
    device.SetCopies(1);
    CurrentPlatform().ProcessPendingEvents();

    // Half the unprintable border on each side.
    const int32_t offsetX = IDiv(NInt(device.Width() - device.ScaleWidth()), 2);
    const int32_t offsetY = IDiv(NInt(device.Height() - device.ScaleHeight()), 2);
    Layout().PrintOffsetSet(offsetX, offsetY);
    Layout().PrintingSet(true);
}

void Score::PrintPages(Surface& device, int32_t fromPage, int32_t toPage) {
    const int32_t savedTime = mCurTime;
    const int32_t savedPage = mCurPage;
    const bool savedRedraw = mRedraw;
    const bool savedPaintPending = mPaintPending;
    // Set directly: the Redraw setter would paint a pending page on the printer first.
    mRedraw = true;
    mColors = Colors{};  // black

    for (int32_t page = fromPage; page <= toPage; ++page) {
        if (page < 1 || page > mLastPage) continue;
        const auto index = static_cast<size_t>(page - 1);
        if (index >= mPageRanges.size() || !mPageRanges[index]) continue;
        mCurPage = page;
        mCurTime = mPageRanges[index]->Low();
        PaintWindow();
        device.NewPage();
    }

    mPaintPending = savedPaintPending;
    mRedraw = savedRedraw;
    mCurTime = savedTime;
    mCurPage = savedPage;
    device.EndDoc();
}

}  // namespace corvendi
