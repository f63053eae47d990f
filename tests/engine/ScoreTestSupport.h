// A fresh thread state for every score test: headless platform, the repository's data folder,
// a fixed time of day, and a listener that logs the score's events.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "corvendi/HeadlessPlatform.h"
#include "corvendi/MIDIEvent.h"
#include "corvendi/Platform.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Score.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Staff.h"
#include "model/ProcessState.h"

namespace corvendi::test {

struct EventLog : ScoreEvents {
    std::vector<std::string> log;
    std::shared_ptr<Staff> lastStaff;

    void ActiveMeasure(int32_t n) override { log.push_back("ActiveMeasure " + std::to_string(n)); }
    void ActiveStaff(const std::shared_ptr<Staff>& staff) override {
        lastStaff = staff;
        log.push_back("ActiveStaff " + std::to_string(staff ? staff->Index() : 0));
    }
    void ActiveVoice(int32_t n) override { log.push_back("ActiveVoice " + std::to_string(n)); }
    void ChangeNotify(bool changed) override {
        log.push_back(changed ? "ChangeNotify true" : "ChangeNotify false");
    }
    void WindowCleared() override { log.push_back("WindowCleared"); }

    size_t Count(const std::string& entry) const {
        return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
    }
};

class ScoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        Headless().SetAppFolder(CORVENDI_TEST_DATA_DIR);
        Headless().SetFixedTime(TimeOfDay{10, 20, 30});
    }
    void TearDown() override {
        score.reset();
        ResetProcessState();
    }

    static HeadlessPlatform& Headless() {
        return dynamic_cast<HeadlessPlatform&>(CurrentPlatform());
    }

    // A new score with the event log attached.
    std::shared_ptr<Score> NewScore() {
        score = Score::Create();
        events = std::make_shared<EventLog>();
        score->SetEvents(events);
        return score;
    }

    // A window surface attached to the score, its record emptied.
    std::shared_ptr<RecordingSurface> Attach() {
        auto surface = std::make_shared<RecordingSurface>(SurfaceKind::Window);
        score->SetWindow(surface);
        surface->ClearCalls();
        events->log.clear();
        return surface;
    }

    std::shared_ptr<Score> score;
    std::shared_ptr<EventLog> events;
};

}  // namespace corvendi::test
