// Background pagination: one periodic timer per thread that runs one layout step of one score
// per tick. Starting it for a score stops it for any other score.
//
// The score is reached through PaginationTarget, an engine-internal interface. `Score` does not
// derive from it (its public header stays free of internal headers); it owns a small private
// adapter object that implements PaginateStep by calling the score's own step, and its destructor
// calls StopPaginationTimerFor(adapter) so the timer never reaches a destroyed score.
#pragma once

#include <cstdint>

namespace corvendi {

class PaginationTarget {
  public:
    virtual ~PaginationTarget() = default;
    // Lays out one page. Stops the timer itself (StopPaginationTimer) after the last page.
    virtual void PaginateStep() = 0;
};

// The period the score paginates with.
constexpr int32_t kPaginationPeriodMs = 180;

// Stops a running pagination timer (whatever score it served) and starts it for target, whose
// PaginateStep then runs every periodMs. Does nothing while a stop is in progress. The target is
// not owned. A null target only stops the running timer.
void StartPaginationTimer(int32_t periodMs, PaginationTarget* target);

// Stops the timer and forgets its target.
void StopPaginationTimer();

// Stops the timer only when it serves target (a score going away).
void StopPaginationTimerFor(const PaginationTarget* target);

bool PaginationTimerRunning();
// The target served, or nullptr.
PaginationTarget* PaginationTimerTarget();

}  // namespace corvendi
