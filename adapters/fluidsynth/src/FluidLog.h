// FluidSynth's own log (and ALSA's, which FluidSynth drives) silenced: their messages never
// reach the terminal. The last error it
// reported is kept, so that our messages can say what went wrong.
#pragma once

#include <string>

namespace corvendi::fluidsynth {

// Installs the silent log handlers (once per process; later calls do nothing).
void SilenceFluidLog();
// The last error or panic message FluidSynth logged on this thread, then forgets it.
std::string TakeFluidError();

}  // namespace corvendi::fluidsynth
