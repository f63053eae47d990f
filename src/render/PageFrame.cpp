// The frame of a page: edges and margins (exchanged on mirrored even pages), clearing the
// window, the page number, the copyright footer and, on page 1, the title block and heading.
// Then the systems fill the page from the top cursor down to the bottom limit.
#include <memory>
#include <string>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

void PageLayout::DrawPage() {
    if (mScore.mRedraw) mScore.mPaintPending = false;
    if (!mScore.mWindow || LayoutPageHeight(mScore) < 1 || LayoutPageWidth(mScore) < 1 ||
        mScore.mCurPage < 1) {
        return;
    }
    // Hold the surface for the whole page: an event handler may detach it meanwhile.
    mSurface = mScore.mWindow;
    mDrawing = !mScore.mPaginating;
    mOddPage = IMod(mScore.mCurPage, 2) != 0 || !mScore.mReverseEvenOdd;
    SetPageEdges();
    if (mDrawing) StartDrawing();

    DrawPageNumber();
    DrawCopyright();
    if (mScore.mCurPage == 1) DrawTitleBlock();

    mFirstSystem = true;
    mPage = static_cast<size_t>(mScore.mCurPage - 1);
    SelectFont(fntCopyright);  // staff descriptions are measured in the copyright font
    PreparePageRecords();
    mFitPasses = 0;
    for (int32_t systems = 0; systems < kMaxSystemsPerPage && mTop < mBottomLimit; ++systems) {
        if (!LayOutSystem()) break;
    }
    mSurface.reset();
}

void PageLayout::SetPageEdges() {
    const int32_t width = LayoutPageWidth(mScore);
    const int32_t left = LayoutMargin(mScore, marLeft);
    const int32_t right = LayoutMargin(mScore, marRight);
    mTop = LayoutMargin(mScore, marTop);
    mBottomLimit = ClampCoord(static_cast<int64_t>(LayoutPageHeight(mScore)) -
                              LayoutMargin(mScore, marBottom));
    mFooterTop = mBottomLimit;
    mLeftEdge = mOddPage ? left : right;
    mRightLimit = ClampCoord(static_cast<int64_t>(width) - (mOddPage ? right : left));
    mMusicLeft = mLeftEdge;
}

void PageLayout::StartDrawing() {
    mScore.mRegions.clear();
    if (!mPrinting) {
        mSurface->Cls();
        mSurface->SetDrawMode(kDrawModeCopyPen);
        mSurface->SetDrawStyle(kDrawStyleSolid);
        mScore.mEvents.Raise(&ScoreEvents::WindowCleared);
    }
    mSurface->SetForeColor(mScore.mColors.Lines);
}

void PageLayout::DrawPageNumber() {
    const int32_t mode = mScore.mPageNums;
    if (mode != pgnAllPages && !(mode == pgnNoPageOne && mScore.mCurPage >= 2)) return;
    SelectFont(fntHeader);
    const std::string text = "Page " + std::to_string(mScore.mCurPage);
    const int64_t x = mOddPage ? static_cast<int64_t>(LayoutPageWidth(mScore)) -
                                     LayoutMargin(mScore, marRight) - TextWidth(text)
                               : LayoutMargin(mScore, marRight);
    mFooterTop = ClampCoord(static_cast<int64_t>(mBottomLimit) - TextHeight(text));
    if (mDrawing) DrawText(text, ClampCoord(x), mFooterTop);
}

void PageLayout::DrawCopyright() {
    const auto& lines = mScore.mCopyright;
    if (!lines[0].empty() || !lines[1].empty()) {
        SelectFont(fntCopyright);
        DrawFooterLine(mBottomLimit, lines[1]);
        DrawFooterLine(mBottomLimit, lines[0]);
    }
    mBottomLimit = std::min(mBottomLimit, mFooterTop);
}

std::string PageLayout::HeadingText() const {
    if (!mScore.mMetronome) return mScore.mHeading;
    const std::string metronome =
        std::string(1, kBeatPlaceholder) + " = " + std::to_string(mScore.mCount);
    if (mScore.mHeading.empty()) return metronome;
    return mScore.mHeading + " (" + metronome + ")";
}

void PageLayout::DrawTitleBlock() {
    if (!mScore.mTitle.empty()) {
        SelectFont(fntTitle);
        DrawCenteredLine(mTop, mScore.mTitle);
    }
    if (!mScore.mSubTitle.empty()) {
        SelectFont(fntSubTitle);
        DrawCenteredLine(mTop, mScore.mSubTitle);
    }
    bool composerLineLast = false;
    if (!mScore.mComposer.empty() || !mScore.mArrangedBy.empty()) {
        SelectFont(fntComposer);
        for (const std::string* line : {&mScore.mComposer, &mScore.mArrangedBy}) {
            if (line->empty()) continue;
            DrawRightLine(mTop, *line);
            composerLineLast = true;
        }
    }
    if (mScore.mHeading.empty() && !mScore.mMetronome) return;
    SelectFont(fntHeader);
    // The heading stands at the left of the last composer or arranger line.
    if (composerLineLast) mTop = ClampCoord(static_cast<int64_t>(mTop) - TextHeight("S"));
    DrawHeading(mTop, HeadingText());
}

void PageLayout::PreparePageRecords() {
    auto& ranges = mScore.mPageRanges;
    auto& metrics = mScore.mPageMetrics;
    const size_t needed = mPage + 1;
    for (auto* records : {&ranges, &metrics}) {
        while (records->size() < needed) records->push_back(std::make_shared<Range>());
        if (!(*records)[mPage]) (*records)[mPage] = std::make_shared<Range>();
    }
    ranges[mPage]->LowSet(mScore.mCurTime);
    ranges[mPage]->HighSet(mScore.mCurTime);
}

}  // namespace corvendi
