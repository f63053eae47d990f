// Helpers shared by the source files of Score.
#pragma once

#include <utility>

#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"

namespace corvendi {

// Runs a function when the scope ends, however it ends.
template <typename F>
class ScopeExit {
  public:
    explicit ScopeExit(F f) : mF(std::move(f)) {}
    ~ScopeExit() { mF(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    F mF;
};

// Sets a busy flag for the length of a scope.
class BusyScope {
  public:
    explicit BusyScope(bool& flag) : mFlag(flag) { mFlag = true; }
    ~BusyScope() { mFlag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& mFlag;
};

}  // namespace corvendi
