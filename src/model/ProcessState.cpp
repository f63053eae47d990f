#include "model/ProcessState.h"

#include "model/PaginationTimer.h"

namespace corvendi {

ProcessState& Process() {
    thread_local ProcessState state;
    return state;
}

void ResetProcessState() {
    StopPaginationTimer();
    Process() = ProcessState{};
    // The instrument catalogue is reset here too once it is part of the build.
    SetPlatform(nullptr);
}

}  // namespace corvendi
