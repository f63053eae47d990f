#include "engine/EditStep.h"

#include <algorithm>
#include <utility>

#include "engine/ScoreAccess.h"
#include "engine/UndoHistory.h"

namespace corvendi::detail {

EditStep::EditStep(Score& score) : mScore(score) {
    ScoreState& state = ScoreAccess::State(score);
    if (state.EditDepth++ > 0) return;
    mOutermost = true;
    if (state.Loading || state.ApplyingHistory) return;
    state.Pending = std::make_shared<PendingStep>(score);
    state.OuterJournal = SetActiveNoteJournal(&state.Pending->Notes);
}

EditStep::~EditStep() {
    --ScoreAccess::State(mScore).EditDepth;
    if (mOutermost) Close();
}

void EditStep::NoteRelayout(Score& score, bool fromCurrentPage) {
    const auto& pending = ScoreAccess::State(score).Pending;
    if (!pending) return;
    const StepRelayout relayout =
        fromCurrentPage ? StepRelayout::FromCurrentPage : StepRelayout::FromFirstPage;
    pending->Relayout = std::max(pending->Relayout, relayout);
}

// Keeps what the edit changed as the newest step; the steps that could have been made again go.
void EditStep::Close() noexcept {
    ScoreState& state = ScoreAccess::State(mScore);
    const std::shared_ptr<PendingStep> pending = std::move(state.Pending);
    if (!pending) return;
    SetActiveNoteJournal(state.OuterJournal);
    state.OuterJournal = nullptr;
    try {
        UndoStep step;
        step.Frame = pending->Frame.ChangesSince(mScore);
        if (step.Frame.Empty() && pending->Notes.ChangedNothing()) return;
        step.Notes = std::move(pending->Notes);
        step.Memory = pending->Memory;
        step.Relayout = pending->Relayout;
        step.Page = pending->Page;

        UndoHistory& history = HistoryOf(mScore);
        const bool couldUndo = !history.Done.empty();
        const bool couldRedo = !history.Undone.empty();
        history.Undone.clear();
        history.Done.push_back(std::move(step));
        while (history.Done.size() > static_cast<size_t>(Undos().Depth)) history.Done.pop_front();

        const auto& events = ScoreAccess::EventSource(mScore);
        if (!couldUndo) events.Raise(&ScoreEvents::HistoryChanged, true);
        if (couldRedo) events.Raise(&ScoreEvents::RedoChanged, false);
    } catch (...) {
        // Out of memory while keeping the step: the edit stands, it just cannot be taken back.
    }
}

}  // namespace corvendi::detail
