#include "FluidLog.h"

#include <fluidsynth.h>

#ifdef CORVENDI_SILENCE_ALSA
#include <alsa/asoundlib.h>
#endif

#include <mutex>

namespace corvendi::fluidsynth {

namespace {

// FluidSynth may log from its audio thread too: keep the text per thread.
thread_local std::string tLastError;

void KeepError(int level, const char* message, void*) {
    if ((level == FLUID_PANIC || level == FLUID_ERR) && message) tLastError = message;
}

void Discard(int, const char*, void*) {}

#ifdef CORVENDI_SILENCE_ALSA
void DiscardAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif

}  // namespace

void SilenceFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, KeepError, nullptr);
        fluid_set_log_function(FLUID_ERR, KeepError, nullptr);
        fluid_set_log_function(FLUID_WARN, Discard, nullptr);
        fluid_set_log_function(FLUID_INFO, Discard, nullptr);
        fluid_set_log_function(FLUID_DBG, Discard, nullptr);
#ifdef CORVENDI_SILENCE_ALSA
        snd_lib_error_set_handler(DiscardAlsa);
#endif
    });
}

std::string TakeFluidError() {
    std::string error;
    error.swap(tLastError);
    return error;
}

}  // namespace corvendi::fluidsynth
