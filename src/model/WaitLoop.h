// Waiting by yielding to the host's message loop, never by blocking.
#pragma once

#include <functional>

namespace corvendi {

// Lets the host's pending events and due timers run while busy() is true. Returns true when
// busy() cleared, false when the platform reports that nothing more can happen (the condition
// would then never clear). A caller that set the awaited flag itself further up the same call
// stack must not wait at all: nothing below it can clear that flag.
bool WaitWhile(const std::function<bool()>& busy);

}  // namespace corvendi
