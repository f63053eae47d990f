#include "model/ProcessState.h"

#include "common/ThreadInstance.h"

#include "model/InstrumentCatalog.h"
#include "model/PaginationTimer.h"

namespace corvendi {

ProcessState& Process() { return detail::ThreadInstance<ProcessState>(); }

void ResetProcessState() {
    StopPaginationTimer();
    Process() = ProcessState{};
    ResetInstrumentCatalog();
    SetPlatform(nullptr);
}

}  // namespace corvendi
