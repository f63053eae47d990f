#include "model/WaitLoop.h"

#include <corvendi/Platform.h>

namespace corvendi {

bool WaitWhile(const std::function<bool()>& busy) {
    while (busy()) {
        if (!CurrentPlatform().ProcessPendingEvents()) return !busy();
    }
    return true;
}

}  // namespace corvendi
