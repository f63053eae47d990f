#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvendi/MIDIEvent.h"
#include "corvendi/ScoreEvents.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

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

}  // namespace
}  // namespace corvendi
