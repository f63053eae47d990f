#include "FluidLog.h"

#include <fluidsynth.h>

#include <mutex>

namespace corvendi::fluidsynth {

namespace {

// FluidSynth may log from its audio thread too: keep the text per thread.
thread_local std::string tLastError;

void KeepError(int level, const char* message, void*) {
    if ((level == FLUID_PANIC || level == FLUID_ERR) && message) tLastError = message;
}

void Discard(int, const char*, void*) {}

}  // namespace

void SilenceFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, KeepError, nullptr);
        fluid_set_log_function(FLUID_ERR, KeepError, nullptr);
        fluid_set_log_function(FLUID_WARN, Discard, nullptr);
        fluid_set_log_function(FLUID_INFO, Discard, nullptr);
        fluid_set_log_function(FLUID_DBG, Discard, nullptr);
    });
}

std::string TakeFluidError() {
    std::string error;
    error.swap(tLastError);
    return error;
}

}  // namespace corvendi::fluidsynth
