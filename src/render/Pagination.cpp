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
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "model/ModelAccess.h"
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

PageLayout& detail::ScoreAccess::Layout(Score& s) {
    if (!s.mState->Layout) s.mState->Layout = std::make_shared<PageLayout>(s);
    return *s.mState->Layout;
}

void detail::ScoreAccess::DrawPage(Score& s) { Layout(s).DrawPage(); }

void detail::ScoreAccess::PaginateStep(Score& s) {
    if (s.mState->PaginateBusy || s.mState->Painting) return;
    BusyScope busy(s.mState->PaginateBusy);
    const int32_t page = std::max(s.mState->LayoutFromPage, 1);

    if (s.mState->LayoutFromTime < s.mState->HighNoteTime && page < kMaxPages) {
        const int32_t savedTime = s.mCurTime;
        const int32_t savedPage = s.mCurPage;
        const bool savedRedraw = s.mRedraw;
        ScopeExit restore([&] {
            s.mCurTime = savedTime;
            s.mCurPage = savedPage;
            s.mRedraw = savedRedraw;
        });
        s.mCurTime = s.mState->LayoutFromTime;
        s.mCurPage = page;
        s.mRedraw = false;
        Layout(s).DrawPage();

        const auto index = static_cast<size_t>(page - 1);
        const int32_t next = index < s.mState->PageRanges.size() && s.mState->PageRanges[index]
                                 ? s.mState->PageRanges[index]->High()
                                 : s.mState->LayoutFromTime;
        // A page that places no measure (no window, no room for music) ends pagination here.
        if (next > s.mState->LayoutFromTime) {
            s.mState->LayoutFromTime = next;
            // A last note at the very start of the next page puts that page in too.
            if (next <= s.mState->HighNoteTime) AddPageAfter(s, page, next);
            return;
        }
    }
    if (PaginationTimerIsOurs(s)) StopPaginationTimer();
    s.mLastPage = page;
    s.mState->Paginating = false;
}

// The record of the page after `page` is new and starts where `page` ends; records of pages
// beyond it, from an earlier pagination, are dropped.
void detail::ScoreAccess::AddPageAfter(Score& s, int32_t page, int32_t start) {
    const auto count = static_cast<size_t>(page) + 1;
    for (auto* records : {&s.mState->PageRanges, &s.mState->PageMetrics}) {
        records->resize(std::min(records->size(), count - 1));
        HoldPages(*records, count);
    }
    detail::RangeAccess::LowSet(*s.mState->PageRanges[count - 1], start);
    detail::RangeAccess::HighSet(*s.mState->PageRanges[count - 1], start);
    s.mState->LayoutFromPage = page + 1;
    s.mLastPage = std::max(s.mLastPage, s.mState->LayoutFromPage);
}

void Score::SetCurPage(int32_t page) {
    if (page >= 1 && page <= mLastPage) {
        if (page == mCurPage) return;
        HoldPages(mState->PageRanges, static_cast<size_t>(page));
        HoldPages(mState->PageMetrics, static_cast<size_t>(page));
        mCurPage = page;
        mCurTime = mState->PageRanges[static_cast<size_t>(page - 1)]->Low();
        mState->LastValue = 0;
        mState->LastRegionIx = 0;
        PaintWindow();
    } else if (page == mLastPage + 1 && page >= 2 && page <= kMaxPages) {
        // An empty page after the last one, to enter music on.
        HoldPages(mState->PageRanges, static_cast<size_t>(page));
        HoldPages(mState->PageMetrics, static_cast<size_t>(page));
        const auto& previous = mState->PageRanges[static_cast<size_t>(page - 2)];
        const int32_t start = previous ? previous->High() : 0;
        auto& record = mState->PageRanges[static_cast<size_t>(page - 1)];
        record = std::make_shared<Range>();
        detail::RangeAccess::LowSet(*record, start);
        detail::RangeAccess::HighSet(*record, start);
        mState->PageMetrics[static_cast<size_t>(page - 1)] = std::make_shared<Range>();
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
