// The undo history of a score: the steps that can be taken back, newest last, and the steps
// taken back that can be made again. Each step holds what one edit changed (UndoStep); applying
// it swaps those parts of the document with the step's, so the same step serves Undo and Redo.
//
// The histories of a thread's scores live in the thread's store (model/ProcessState.h), keyed
// by score, with one depth for all of them; a score's history goes when the score goes.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/DocumentFrame.h"
#include "engine/ScoreSettings.h"
#include "model/NoteJournal.h"

namespace corvendi {

class Score;

namespace detail {

// How far the pages must be laid out again when a step is taken back or made again: as far as
// the edit itself had them laid out.
enum class StepRelayout : uint8_t { None, FromCurrentPage, FromFirstPage };

struct UndoStep {
    NoteJournal Notes;
    FrameChanges Frame;
    EditMemory Memory;  // the memory on the other side of the step
    StepRelayout Relayout = StepRelayout::None;
    int32_t Page = 1;  // the page shown while the edit ran
};

// What an open edit step has gathered so far.
struct PendingStep {
    explicit PendingStep(Score& score);

    DocumentFrame Frame;
    EditMemory Memory;
    NoteJournal Notes;
    StepRelayout Relayout = StepRelayout::None;
    int32_t Page = 1;
};

struct UndoHistory {
    std::deque<UndoStep> Done;
    std::vector<UndoStep> Undone;  // the next step to make again last
};

struct UndoStore {
    static constexpr int32_t kDefaultDepth = 100;
    static constexpr int32_t kMaxDepth = 1000;

    int32_t Depth = kDefaultDepth;
    std::unordered_map<const Score*, UndoHistory> Histories;
};

// The thread's store, made on first use.
UndoStore& Undos();
// The score's history; nullptr when it has none yet.
UndoHistory* FindHistory(const Score& score);
UndoHistory& HistoryOf(const Score& score);
// Forgets the score's history without telling anyone (the score is going).
void ForgetHistory(const Score& score);
// Empties the score's history and tells the host what can no longer be undone or redone.
void ClearHistory(Score& score);

EditMemory MemoryOf(const Score& score);
void SwapMemory(Score& score, EditMemory& memory);

}  // namespace detail
}  // namespace corvendi
