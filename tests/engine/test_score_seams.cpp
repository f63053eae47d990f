#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvendi/MIDIEvent.h"
#include "corvendi/ScoreEvents.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

struct VoiceAndChangeListener : ScoreEvents {
    std::vector<std::string> log;
    void ActiveVoice(int32_t n) override { log.push_back("voice " + std::to_string(n)); }
    void ChangeNotify(bool changed) override { log.push_back(changed ? "changed" : "clean"); }
    void SkipSection(int32_t from, int32_t to) override {
        log.push_back("skip " + std::to_string(from) + "-" + std::to_string(to));
    }
};

TEST(ScoreEvents, RaisingReachesOnlyTheOverriddenEvents) {
    ScoreEventSource source;
    source.Raise(&ScoreEvents::ActiveVoice, 1);  // nobody attached: nothing happens
    auto listener = std::make_shared<VoiceAndChangeListener>();
    source.Attach(listener);
    source.Raise(&ScoreEvents::ActiveVoice, 2);
    source.Raise(&ScoreEvents::ChangeNotify, true);
    source.Raise(&ScoreEvents::SkipSection, 64, 128);
    source.Raise(&ScoreEvents::WindowCleared);
    source.Raise(&ScoreEvents::ActiveStaff, nullptr);
    source.Raise(&ScoreEvents::LoadMIDI, std::make_shared<MIDIEvent>());
    source.Raise(&ScoreEvents::MarkHandle, int16_t{0}, 1440);
    EXPECT_EQ(listener->log, (std::vector<std::string>{"voice 2", "changed", "skip 64-128"}));
}

TEST(ScoreEvents, AHandlerMayDetachItself) {
    struct SelfDetaching : ScoreEvents {
        ScoreEventSource* source = nullptr;
        int calls = 0;
        void SelectionCleared() override {
            ++calls;
            source->Attach(nullptr);  // drops the source's reference while running
            ++calls;
        }
    };
    ScoreEventSource source;
    auto listener = std::make_shared<SelfDetaching>();
    listener->source = &source;
    source.Attach(listener);
    std::weak_ptr<SelfDetaching> watch = listener;
    listener.reset();
    source.Raise(&ScoreEvents::SelectionCleared);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(source.Listener(), nullptr);
}

TEST(MIDIEvent, ValuesOutsideBothIndexesReadZeroAndAreIgnored) {
    MIDIEvent e;
    e.SetEventTime(32);
    e.SetEventType(midNoteOn);
    detail::MIDIEventAccess::ChannelSet(e, 9);
    detail::MIDIEventAccess::ValueSet(e, 0, 60);
    detail::MIDIEventAccess::ValueSet(e, 1, 127);
    detail::MIDIEventAccess::ValueSet(e, 2, 5);
    detail::MIDIEventAccess::ValueSet(e, -1, 5);
    EXPECT_EQ(e.Value(0), 60);
    EXPECT_EQ(e.Value(1), 127);
    EXPECT_EQ(e.Value(2), 0);
    EXPECT_EQ(e.Value(-1), 0);
}

}  // namespace
}  // namespace corvendi
