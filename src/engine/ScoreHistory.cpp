// Undo and Redo of a score, and the depth of the thread's histories (UndoHistory and EditStep
// keep and record the steps).
#include <algorithm>

#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "engine/UndoHistory.h"

namespace corvendi {

namespace {

using detail::ScoreAccess;
using detail::StepRelayout;
using detail::UndoHistory;
using detail::UndoStep;

// Lays the pages out again as far as the step's edit did, and shows the current page (kept
// within the pages there are when the whole score was laid out again).
void ShowAfterStep(Score& score, const UndoStep& step) {
    switch (step.Relayout) {
        case StepRelayout::None: break;
        case StepRelayout::FromCurrentPage:
            ScoreAccess::StartPagination(score, step.Page == score.CurPage());
            break;
        case StepRelayout::FromFirstPage: {
            ScoreAccess::StartPagination(score, false);
            ScoreAccess::AwaitLayoutOfCurrentPage(score);
            const int32_t page = std::clamp(score.CurPage(), 1, std::max(score.LastPage(), 1));
            ScoreAccess::CurPageSet(score, page);
            const auto& ranges = ScoreAccess::PageRanges(score);
            if (static_cast<size_t>(page) <= ranges.size() && ranges[static_cast<size_t>(page - 1)])
                ScoreAccess::CurTimeSet(score, ranges[static_cast<size_t>(page - 1)]->Low());
            break;
        }
    }
    score.PaintWindow();
}

// Swaps the step's parts of the document in, then clears the selection (its notes may have
// gone) and shows the result. The document stays changed.
void ApplyStep(Score& score, UndoStep& step, bool undo) {
    BusyScope applying(ScoreAccess::State(score).ApplyingHistory);
    if (undo) {
        step.Notes.Undo();
    } else {
        step.Notes.Redo();
    }
    step.Frame.Toggle(score);
    detail::SwapMemory(score, step.Memory);
    score.ClearSelection();
    ScoreAccess::EventSource(score).Raise(&ScoreEvents::SelectionCleared);
    score.SetChanged(true);
    ShowAfterStep(score, step);
}

bool CanApply(const Score& score) {
    const detail::ScoreState& state = ScoreAccess::State(score);
    return state.EditDepth == 0 && !state.ApplyingHistory;
}

}  // namespace

void Score::Undo() {
    UndoHistory* history = detail::FindHistory(*this);
    if (!history || history->Done.empty() || !CanApply(*this)) return;
    UndoStep step = std::move(history->Done.back());
    history->Done.pop_back();
    const bool couldRedo = !history->Undone.empty();
    const bool canUndo = !history->Done.empty();
    ApplyStep(*this, step, true);
    detail::HistoryOf(*this).Undone.push_back(std::move(step));
    if (!canUndo) mEvents.Raise(&ScoreEvents::HistoryChanged, false);
    if (!couldRedo) mEvents.Raise(&ScoreEvents::RedoChanged, true);
}

void Score::Redo() {
    UndoHistory* history = detail::FindHistory(*this);
    if (!history || history->Undone.empty() || !CanApply(*this)) return;
    UndoStep step = std::move(history->Undone.back());
    history->Undone.pop_back();
    const bool couldUndo = !history->Done.empty();
    const bool canRedo = !history->Undone.empty();
    ApplyStep(*this, step, false);
    detail::HistoryOf(*this).Done.push_back(std::move(step));
    if (!couldUndo) mEvents.Raise(&ScoreEvents::HistoryChanged, true);
    if (!canRedo) mEvents.Raise(&ScoreEvents::RedoChanged, false);
}

bool Score::CanUndo() const {
    const UndoHistory* history = detail::FindHistory(*this);
    return history && !history->Done.empty();
}

bool Score::CanRedo() const {
    const UndoHistory* history = detail::FindHistory(*this);
    return history && !history->Undone.empty();
}

int32_t Score::UndoDepth() const { return detail::Undos().Depth; }

void Score::SetUndoDepth(int32_t depth) {
    if (depth < 1 || depth > detail::UndoStore::kMaxDepth) return;
    detail::UndoStore& store = detail::Undos();
    store.Depth = depth;
    const auto limit = static_cast<size_t>(depth);
    for (auto& [score, history] : store.Histories) {
        while (history.Done.size() > limit) history.Done.pop_front();
        if (history.Undone.size() > limit) {
            history.Undone.erase(history.Undone.begin(),
                                 history.Undone.end() - static_cast<std::ptrdiff_t>(limit));
        }
    }
}

}  // namespace corvendi
