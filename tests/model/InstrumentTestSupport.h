// Shared setup for the voice, instrument and catalogue tests: a minimal owning score, the
// shipped catalogue, and a fixed time of day.
#pragma once

#include <memory>

#include "corvendi/DocumentOwner.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Instruments.h"
#include "corvendi/Platform.h"
#include "corvendi/Voices.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"

namespace corvendi::test {

class TestOwner : public DocumentOwner {
  public:
    TestOwner() {
        detail::VoicesAccess::SetParent(*mVoices, this);
        detail::InstrumentsAccess::SetParent(*mInstruments, this);
    }
    ~TestOwner() override {
        detail::VoicesAccess::SetParent(*mVoices, nullptr);
        detail::InstrumentsAccess::SetParent(*mInstruments, nullptr);
    }
    std::shared_ptr<Voices> AllVoices() const override { return mVoices; }
    std::shared_ptr<Instruments> AllInstruments() const override { return mInstruments; }
    std::shared_ptr<Staffs> AllStaffs() const override { return nullptr; }
    std::shared_ptr<GlobalEvents> AllGlobals() const override { return nullptr; }
    int32_t Key() const override { return 0; }

  private:
    std::shared_ptr<Voices> mVoices = std::make_shared<Voices>();
    std::shared_ptr<Instruments> mInstruments = std::make_shared<Instruments>();
};

inline void LoadShippedCatalog() {
    ResetInstrumentCatalog();
    ReadInstrumentCatalog(CORVENDI_TEST_DATA_DIR);
}

// Installs a headless platform whose clock stands still at the given time for the test's life.
class FixedClock {
  public:
    explicit FixedClock(TimeOfDay time) {
        auto platform = std::make_shared<HeadlessPlatform>();
        platform->SetFixedTime(time);
        SetPlatform(platform);
    }
    ~FixedClock() { SetPlatform(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

}  // namespace corvendi::test
