#include "model/ProcessState.h"

#include "model/InstrumentCatalog.h"
#include "model/PaginationTimer.h"

namespace corvendi {

ProcessState& Process() {
    thread_local ProcessState state;
    return state;
}

void ResetProcessState() {
    StopPaginationTimer();
    Process() = ProcessState{};
    ResetInstrumentCatalog();
    SetPlatform(nullptr);
}

}  // namespace corvendi
