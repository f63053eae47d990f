#include "model/PaginationTimer.h"

#include "model/ProcessState.h"

namespace corvendi {

namespace {

void PaginationTick() {
    PaginationTimerState& state = Process().gPagination;
    // A step may yield to the host's loop, which may deliver another tick: that tick waits its
    // turn by doing nothing.
    if (state.InCallback || !state.Running || state.Target == nullptr) return;
    state.InCallback = true;
    try {
        state.Target->PaginateStep();
    } catch (...) {
        // Nobody above a timer tick can take the error, and a step that failed once would fail
        // on every tick: give up this pagination.
        StopPaginationTimer();
        return;
    }
    Process().gPagination.InCallback = false;
}

}  // namespace

void StartPaginationTimer(int32_t periodMs, PaginationTarget* target) {
    PaginationTimerState& state = Process().gPagination;
    if (state.Stopping) return;
    if (state.Running) StopPaginationTimer();
    if (target == nullptr) return;

    state.Target = target;
    state.Host = CurrentPlatformPtr();
    state.TimerId = state.Host->StartTimer(periodMs, [] { PaginationTick(); });
    state.Running = state.TimerId != 0;
    if (!state.Running) {
        state.Target = nullptr;
        state.Host.reset();
    }
}

void StopPaginationTimer() {
    PaginationTimerState& state = Process().gPagination;
    state.Stopping = true;
    if (state.Running && state.Host) state.Host->StopTimer(state.TimerId);
    state.Target = nullptr;
    state.Host.reset();
    state.TimerId = 0;
    state.Running = false;
    state.InCallback = false;
    state.Stopping = false;
}

void StopPaginationTimerFor(const PaginationTarget* target) {
    if (target != nullptr && Process().gPagination.Target == target) StopPaginationTimer();
}

bool PaginationTimerRunning() { return Process().gPagination.Running; }

PaginationTarget* PaginationTimerTarget() { return Process().gPagination.Target; }

}  // namespace corvendi
