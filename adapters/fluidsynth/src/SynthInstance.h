// A FluidSynth synthesizer with its settings and one soundfont loaded, released together.
#pragma once

#include <fluidsynth.h>

#include <functional>
#include <memory>
#include <string>

namespace corvendi::fluidsynth {

class SynthInstance {
  public:
    // New settings, adjusted by `configure`, then a synthesizer with `soundFont` loaded.
    // nullptr with `error` set when the soundfont cannot be loaded.
    static std::unique_ptr<SynthInstance> Create(
        const std::string& soundFont, const std::function<void(fluid_settings_t*)>& configure,
        std::string& error);
    ~SynthInstance();
    SynthInstance(const SynthInstance&) = delete;
    SynthInstance& operator=(const SynthInstance&) = delete;

    fluid_settings_t* Settings() const { return mSettings; }
    fluid_synth_t* Synth() const { return mSynth; }

  private:
    SynthInstance() = default;
    fluid_settings_t* mSettings = nullptr;
    fluid_synth_t* mSynth = nullptr;
};

}  // namespace corvendi::fluidsynth
