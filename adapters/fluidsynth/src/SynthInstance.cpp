#include "SynthInstance.h"

#include "FluidLog.h"

namespace corvendi::fluidsynth {

std::unique_ptr<SynthInstance> SynthInstance::Create(
    const std::string& soundFont, const std::function<void(fluid_settings_t*)>& configure,
    std::string& error) {
    SilenceFluidLog();
    std::unique_ptr<SynthInstance> instance(new SynthInstance());
    instance->mSettings = new_fluid_settings();
    if (!instance->mSettings) {
        error = "FluidSynth could not be set up";
        return nullptr;
    }
    // The synthesizer's memory need not be locked against paging; locking fails for users
    // without the right to it.
    fluid_settings_setint(instance->mSettings, "synth.lock-memory", 0);
    if (configure) configure(instance->mSettings);
    instance->mSynth = new_fluid_synth(instance->mSettings);
    if (!instance->mSynth) {
        error = "FluidSynth could not be set up: " + TakeFluidError();
        return nullptr;
    }
    if (fluid_synth_sfload(instance->mSynth, soundFont.c_str(), 1) == FLUID_FAILED) {
        const std::string reason = TakeFluidError();
        error = "the soundfont " + soundFont + " could not be loaded" +
                (reason.empty() ? "" : ": " + reason);
        return nullptr;
    }
    return instance;
}

SynthInstance::~SynthInstance() {
    if (mSynth) delete_fluid_synth(mSynth);
    if (mSettings) delete_fluid_settings(mSettings);
}

}  // namespace corvendi::fluidsynth
