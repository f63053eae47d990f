// Shared setup for the staff, voice, instrument and catalogue tests: a minimal owning score,
// the shipped catalogue, and a fixed time of day.
#pragma once

#include <memory>

#include "corvendi/DocumentOwner.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Instruments.h"
#include "corvendi/Platform.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"

namespace corvendi::test {

// The four collections a score would own, and its key.
struct TestOwner : DocumentOwner {
    TestOwner() {
        detail::VoicesAccess::SetParent(*voices, this);
        detail::InstrumentsAccess::SetParent(*instruments, this);
        detail::StaffsAccess::SetParent(*staffs, this);
    }
    ~TestOwner() override {
        detail::VoicesAccess::SetParent(*voices, nullptr);
        detail::InstrumentsAccess::SetParent(*instruments, nullptr);
        detail::StaffsAccess::SetParent(*staffs, nullptr);
    }
    std::shared_ptr<Voices> AllVoices() const override { return voices; }
    std::shared_ptr<Instruments> AllInstruments() const override { return instruments; }
    std::shared_ptr<Staffs> AllStaffs() const override { return staffs; }
    std::shared_ptr<GlobalEvents> AllGlobals() const override { return globals; }
    int32_t Key() const override { return key; }

    std::shared_ptr<Instrument> AddInstrument(int32_t entry) {
        return instruments->Add(instruments->NewID(), entry);
    }

    std::shared_ptr<Voices> voices = std::make_shared<Voices>();
    std::shared_ptr<Instruments> instruments = std::make_shared<Instruments>();
    std::shared_ptr<Staffs> staffs = std::make_shared<Staffs>();
    std::shared_ptr<GlobalEvents> globals = std::make_shared<GlobalEvents>();
    int32_t key = 0;
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
