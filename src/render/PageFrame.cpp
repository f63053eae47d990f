// The frame of a page: edges and margins (exchanged on mirrored even pages), clearing the
// window, the page number, the copyright footer and, on page 1, the title block and heading.
// Then the systems fill the page from the top cursor down to the bottom limit.
#include <limits>
#include <memory>
#include <string>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

void PageLayout::DrawPage() {
    if (mScore.Redraw()) detail::ScoreAccess::State(mScore).PaintPending = false;
    if (!detail::ScoreAccess::WindowRef(mScore) || LayoutPageHeight(mScore) < 1 ||
        LayoutPageWidth(mScore) < 1 || mScore.CurPage() < 1) {
        return;
    }
    // Hold the surface for the whole page: an event handler may detach it meanwhile.
    mSurface = detail::ScoreAccess::WindowRef(mScore);
    mDrawing = !detail::ScoreAccess::State(mScore).Paginating;
    mOddPage = IMod(mScore.CurPage(), 2) != 0 || !mScore.ReverseEvenOdd();
    SetPageEdges();
    if (mDrawing) StartDrawing();

    DrawPageNumber();
    DrawCopyright();
    if (mScore.CurPage() == 1) DrawTitleBlock();
    if (mDrawing && !mPrinting) {
        mShownTitleBottom = mScore.CurPage() == 1 ? mTop : std::numeric_limits<int32_t>::min();
        mShownFooterTop = mBottomLimit;
    }

    mFirstSystem = true;
    mPage = static_cast<size_t>(mScore.CurPage() - 1);
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
    detail::ScoreAccess::State(mScore).Regions.clear();
    if (!mPrinting) {
        mSurface->Cls();
        mSurface->SetDrawMode(kDrawModeCopyPen);
        mSurface->SetDrawStyle(kDrawStyleSolid);
        detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::WindowCleared);
    }
    mSurface->SetForeColor(detail::ScoreAccess::State(mScore).Colors.Lines);
}

void PageLayout::DrawPageNumber() {
    const int32_t mode = mScore.PageNums();
    if (mode != pgnAllPages && !(mode == pgnNoPageOne && mScore.CurPage() >= 2)) return;
    SelectFont(fntHeader);
    const std::string text = "Page " + std::to_string(mScore.CurPage());
    const int64_t x = mOddPage ? static_cast<int64_t>(LayoutPageWidth(mScore)) -
                                     LayoutMargin(mScore, marRight) - TextWidth(text)
                               : LayoutMargin(mScore, marRight);
    mFooterTop = ClampCoord(static_cast<int64_t>(mBottomLimit) - TextHeight(text));
    if (mDrawing) DrawText(text, ClampCoord(x), mFooterTop);
}

void PageLayout::DrawCopyright() {
    const auto& lines = detail::ScoreAccess::CopyrightLines(mScore);
    if (!lines[0].empty() || !lines[1].empty()) {
        SelectFont(fntCopyright);
        DrawFooterLine(mBottomLimit, lines[1]);
        DrawFooterLine(mBottomLimit, lines[0]);
    }
    mBottomLimit = std::min(mBottomLimit, mFooterTop);
}

std::string PageLayout::HeadingText() const {
    if (!mScore.Metronome()) return mScore.Heading();
    const std::string metronome =
        std::string(1, kBeatPlaceholder) + " = " + std::to_string(mScore.Count());
    if (mScore.Heading().empty()) return metronome;
    return mScore.Heading() + " (" + metronome + ")";
}

void PageLayout::DrawTitleBlock() {
    if (!mScore.Title().empty()) {
        SelectFont(fntTitle);
        DrawCenteredLine(mTop, mScore.Title());
    }
    if (!mScore.SubTitle().empty()) {
        SelectFont(fntSubTitle);
        DrawCenteredLine(mTop, mScore.SubTitle());
    }
    bool composerLineLast = false;
    if (!mScore.Composer().empty() || !mScore.ArrangedBy().empty()) {
        SelectFont(fntComposer);
        for (const std::string* line : {&mScore.Composer(), &mScore.ArrangedBy()}) {
            if (line->empty()) continue;
            DrawRightLine(mTop, *line);
            composerLineLast = true;
        }
    }
    if (mScore.Heading().empty() && !mScore.Metronome()) return;
    SelectFont(fntHeader);
    // The heading stands at the left of the last composer or arranger line.
    if (composerLineLast) mTop = ClampCoord(static_cast<int64_t>(mTop) - TextHeight("S"));
    DrawHeading(mTop, HeadingText());
}

void PageLayout::PreparePageRecords() {
    auto& ranges = detail::ScoreAccess::State(mScore).PageRanges;
    auto& metrics = detail::ScoreAccess::State(mScore).PageMetrics;
    const size_t needed = mPage + 1;
    for (auto* records : {&ranges, &metrics}) {
        while (records->size() < needed) records->push_back(std::make_shared<Range>());
        if (!(*records)[mPage]) (*records)[mPage] = std::make_shared<Range>();
    }
    detail::RangeAccess::LowSet(*ranges[mPage], mScore.CurTime());
    detail::RangeAccess::HighSet(*ranges[mPage], mScore.CurTime());
}

}  // namespace corvendi
