// The score as a stream of MIDI events: order, lengths, velocities, repeats and async delivery.
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "playback/MidiEventStream.h"
#include "playback/PlaybackTestSupport.h"

namespace corvendi::test {
namespace {

class EventStream : public PlaybackTest {
  protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        detail::InstrumentAccess::ValueSet(*voice->Instrument(), 40);
    }

    // A chord of the given keys.
    void Chord(int32_t time, std::initializer_list<int> keys, int32_t duration = 16,
               int32_t flags = 0) {
        for (int key : keys) score->AddNote(1, time, static_cast<uint8_t>(key), duration, flags);
    }
};

TEST_F(EventStream, ChordOverSixStepsWithNoteOffsFirstAtEqualTimes) {
    Chord(0, {50});
    Chord(16, {60, 64, 67});
    EXPECT_EQ(StreamFrom(0), (std::vector<std::string>{
                                 "0 program 40 112 @0",
                                 "0 on 50 112 @0",
                                 "16 off 50 112 @0",  // before the chord's note-ons at 16
                                 "16 on 60 112 @0",
                                 "16 on 64 112 @0",
                                 "16 on 67 112 @0",
                                 "32 off 67 112 @0",  // the note-off queued last goes first
                                 "32 off 64 112 @0",
                                 "32 off 60 112 @0",
                             }));
    EXPECT_EQ(score->GetMIDIEvent(), nullptr);
}

TEST_F(EventStream, DotsAndStaccatoSetTheLengthAccentsAndDrumsTheVelocity) {
    Chord(0, {60}, 16, nteDot);
    Chord(32, {62}, 16, nteStacato);
    Chord(64, {64}, 16, nteDot | nteStacato);
    Chord(96, {65}, 16, nteAccent | nteTriplet);  // the stream ignores triplets
    EXPECT_EQ(StreamFrom(0), (std::vector<std::string>{
                                 "0 program 40 112 @0", "0 on 60 112 @0", "24 off 60 112 @0",
                                 "32 on 62 112 @0", "40 off 62 112 @0", "64 on 64 112 @0",
                                 "76 off 64 112 @0", "96 on 65 127 @0", "112 off 65 127 @0"}));

    OnChannel(9);
    EXPECT_EQ(StreamFrom(64), (std::vector<std::string>{"64 program 40 127 @9", "64 on 64 127 @9",
                                                        "76 off 64 127 @9", "96 on 65 127 @9",
                                                        "112 off 65 127 @9"}));
}

TEST_F(EventStream, VoicesMergeEarliestFirstAndTheFirstVoiceWinsATie) {
    const auto staffs = score->AllStaffs();
    auto second = detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Bass", std::nullopt, true)
                      ->AddVoice(score->AllInstruments()->Add("I2", 33));
    detail::InstrumentAccess::ChannelSet(*second->Instrument(), 1);
    detail::InstrumentAccess::ValueSet(*second->Instrument(), 33);
    Chord(0, {72}, 32);
    score->AddNote(2, 0, 36, 16, 0);
    score->AddNote(2, 16, 38, 16, 0);
    EXPECT_EQ(StreamFrom(0),
              (std::vector<std::string>{
                  // the first voice wins every tie, its program change included
                  "0 program 40 112 @0", "0 on 72 112 @0", "0 program 33 112 @1", "0 on 36 112 @1",
                  "16 off 36 112 @1", "16 on 38 112 @1", "32 off 38 112 @1", "32 off 72 112 @0"}));
    // From a later start each voice begins with its program at its first note there.
    EXPECT_EQ(StreamFrom(16), (std::vector<std::string>{"16 program 33 112 @1", "16 on 38 112 @1",
                                                        "32 off 38 112 @1"}));
}

TEST_F(EventStream, RepeatAndSectionEventsAreRaisedEnteringTheirMeasure) {
    for (int32_t measure = 0; measure < 4; ++measure) Chord(measure * 64, {60});
    const auto globals = score->AllGlobals();
    globals->Add(64, evtRepeatBegin);
    globals->Add(128, evtRepeatEnd);
    globals->Add(128, evtDynamic, dynF);  // not a mark
    globals->Add(192, evtSectionDefine, sctEnding1);
    globals->Add(192, evtSectionDefine, sctEnding2);  // only first endings are skipped
    globals->Add(200, evtRepeatBegin);                // inside the measure: not reported
    log->log.clear();

    if (auto e = score->GetMIDIEvent(0)) log->log.push_back(Line(*e));
    while (auto e = score->GetMIDIEvent()) log->log.push_back(Line(*e));
    EXPECT_EQ(log->log, (std::vector<std::string>{
                            "0 program 40 112 @0", "0 on 60 112 @0", "16 off 60 112 @0",
                            "MarkRepeat 64", "64 on 60 112 @0", "80 off 60 112 @0", "GoRepeat 192",
                            "128 on 60 112 @0", "144 off 60 112 @0", "SkipSection 192 256",
                            "192 on 60 112 @0", "208 off 60 112 @0"}));
}

TEST_F(EventStream, AsynchronousRequestsDeliverOneEventEachThroughLoadMidi) {
    Chord(0, {60});
    score->SetGetAsync(true);
    log->log.clear();
    const int64_t start = Headless().VirtualTimeMs();
    EXPECT_EQ(score->GetMIDIEvent(0), nullptr);
    EXPECT_TRUE(log->log.empty());
    while (Headless().ProcessPendingEvents()) {
    }
    EXPECT_EQ(Headless().VirtualTimeMs() - start, 25);
    EXPECT_EQ(log->log, std::vector<std::string>{"LoadMIDI 0 program 40 112 @0"});

    for (int i = 0; i < 3; ++i) {
        score->GetMIDIEvent();
        while (Headless().ProcessPendingEvents()) {
        }
    }
    EXPECT_EQ(log->log,
              (std::vector<std::string>{"LoadMIDI 0 program 40 112 @0", "LoadMIDI 0 on 60 112 @0",
                                        "LoadMIDI 16 off 60 112 @0", "LoadMIDI none"}));
}

}  // namespace
}  // namespace corvendi::test
