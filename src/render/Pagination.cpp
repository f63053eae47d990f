// Background pagination, page navigation and the measure flags line breaking records.
//
// Each tick of the pagination timer lays out one page (PageLayout::DrawPage without drawing)
// from where the previous page ended, until a page reaches the last note. A headless host lets
// the ticks run by processing pending events until LastPage is known (docs/ARCHITECTURE.md).
#include <algorithm>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "engine/ScoreInternal.h"
#include "model/PaginationTimer.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Pagination stops here, whatever the notes' times: enough for any real score, and a damaged
// file with a note at an enormous time still finishes.
constexpr int32_t kMaxPages = 32767;

// Makes sure a page array holds records for pages 1..count.
void HoldPages(std::vector<std::shared_ptr<Range>>& records, size_t count) {
    while (records.size() < count) records.push_back(std::make_shared<Range>());
    if (count > 0 && !records[count - 1]) records[count - 1] = std::make_shared<Range>();
}

}  // namespace

PageLayout& Score::Layout() {
    if (!mLayout) mLayout = std::make_shared<PageLayout>(*this);
    return *mLayout;
}

void Score::DrawPage() { Layout().DrawPage(); }

void Score::PaginateStep() {
    if (mPaginateBusy || mPainting) return;
    BusyScope busy(mPaginateBusy);
    const int32_t page = std::max(mLayoutFromPage, 1);

    if (mLayoutFromTime < mHighNoteTime && page < kMaxPages) {
        const int32_t savedTime = mCurTime;
        const int32_t savedPage = mCurPage;
        const bool savedRedraw = mRedraw;
        ScopeExit restore([&] {
            mCurTime = savedTime;
            mCurPage = savedPage;
            mRedraw = savedRedraw;
        });
        mCurTime = mLayoutFromTime;
        mCurPage = page;
        mRedraw = false;
        Layout().DrawPage();

        const auto index = static_cast<size_t>(page - 1);
        const int32_t next = index < mPageRanges.size() && mPageRanges[index]
                                 ? mPageRanges[index]->High()
                                 : mLayoutFromTime;
        // A page that places no measure (no window, no room for music) ends pagination here.
        if (next > mLayoutFromTime) {
            mLayoutFromTime = next;
            // A last note at the very start of the next page puts that page in too.
            if (next <= mHighNoteTime) AddPageAfter(page, next);
            return;
        }
    }
    if (PaginationTimerIsOurs()) StopPaginationTimer();
    mLastPage = page;
    mPaginating = false;
}

// The record of the page after `page` is new and starts where `page` ends; records of pages
// beyond it, from an earlier pagination, are dropped.
void Score::AddPageAfter(int32_t page, int32_t start) {
    const auto count = static_cast<size_t>(page) + 1;
    for (auto* records : {&mPageRanges, &mPageMetrics}) {
        records->resize(std::min(records->size(), count - 1));
        HoldPages(*records, count);
    }
    mPageRanges[count - 1]->LowSet(start);
    mPageRanges[count - 1]->HighSet(start);
    mLayoutFromPage = page + 1;
    mLastPage = std::max(mLastPage, mLayoutFromPage);
}

void Score::SetCurPage(int32_t page) {
    if (page >= 1 && page <= mLastPage) {
        if (page == mCurPage) return;
        HoldPages(mPageRanges, static_cast<size_t>(page));
        HoldPages(mPageMetrics, static_cast<size_t>(page));
        mCurPage = page;
        mCurTime = mPageRanges[static_cast<size_t>(page - 1)]->Low();
        mLastValue = 0;
        mLastRegionIx = 0;
        PaintWindow();
    } else if (page == mLastPage + 1 && page >= 2 && page <= kMaxPages) {
        // An empty page after the last one, to enter music on.
        HoldPages(mPageRanges, static_cast<size_t>(page));
        HoldPages(mPageMetrics, static_cast<size_t>(page));
        const auto& previous = mPageRanges[static_cast<size_t>(page - 2)];
        const int32_t start = previous ? previous->High() : 0;
        auto& record = mPageRanges[static_cast<size_t>(page - 1)];
        record = std::make_shared<Range>();
        record->LowSet(start);
        record->HighSet(start);
        mPageMetrics[static_cast<size_t>(page - 1)] = std::make_shared<Range>();
        mCurPage = page;
        mCurTime = start;
        PaintWindow();
    }
}

int32_t Score::MeasureFlags(int32_t AtTime) const {
    if (!mGlobals) return 0;
    const GlobalEvents& events = *mGlobals;
    int32_t flags = 0;
    if (events.Find(AtTime, evtRepeatBegin, true)) flags += 1;
    if (events.Find(AtTime, evtRepeatEnd, true)) flags += 2;
    if (events.Find(AtTime, evtSectionEnd, true)) flags += 4;
    if (events.Find(AtTime, evtScoreEnd, true)) flags += 8;
    if (const auto section = events.Find(AtTime, evtSectionDefine, true)) {
        flags += section->Value1() * 16;
    }
    return flags;
}

}  // namespace corvendi
