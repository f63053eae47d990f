#include "engine/UndoHistory.h"

#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "model/ProcessState.h"

namespace corvendi::detail {

PendingStep::PendingStep(Score& score)
    : Frame(score), Memory(MemoryOf(score)), Page(score.CurPage()) {}

UndoStore& Undos() {
    auto& store = Process().gUndoStore;
    if (!store) store = std::make_shared<UndoStore>();
    return *store;
}

UndoHistory* FindHistory(const Score& score) {
    const auto& store = Process().gUndoStore;
    if (!store) return nullptr;
    const auto it = store->Histories.find(&score);
    return it == store->Histories.end() ? nullptr : &it->second;
}

UndoHistory& HistoryOf(const Score& score) { return Undos().Histories[&score]; }

void ForgetHistory(const Score& score) {
    if (const auto& store = Process().gUndoStore) store->Histories.erase(&score);
}

void ClearHistory(Score& score) {
    const UndoHistory* history = FindHistory(score);
    if (!history) return;
    const bool couldUndo = !history->Done.empty();
    const bool couldRedo = !history->Undone.empty();
    ForgetHistory(score);
    const auto& events = ScoreAccess::EventSource(score);
    if (couldUndo) events.Raise(&ScoreEvents::HistoryChanged, false);
    if (couldRedo) events.Raise(&ScoreEvents::RedoChanged, false);
}

EditMemory MemoryOf(const Score& score) {
    const ScoreState& state = ScoreAccess::State(score);
    return {state.HighNoteTime, state.DrawFlags, state.LastStaff,   state.LastVoice,
            state.LastTime,     state.LastValue, state.LastRegionIx};
}

void SwapMemory(Score& score, EditMemory& memory) {
    ScoreState& state = ScoreAccess::State(score);
    EditMemory current = MemoryOf(score);
    state.HighNoteTime = memory.HighNoteTime;
    state.DrawFlags = memory.DrawFlags;
    state.LastStaff = memory.LastStaff;
    state.LastVoice = memory.LastVoice;
    state.LastTime = memory.LastTime;
    state.LastValue = memory.LastValue;
    state.LastRegionIx = memory.LastRegionIx;
    memory = current;
}

}  // namespace corvendi::detail
