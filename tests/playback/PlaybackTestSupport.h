// Playback tests: a default score whose voice plays on a chosen channel, the score's events and
// the stream's MIDI events written as short lines.
#pragma once

#include <string>
#include <vector>

#include "corvendi/Instrument.h"
#include "corvendi/MIDIEvent.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreTestSupport.h"
#include "model/ModelAccess.h"

namespace corvendi::test {

// "time on|off|program value0 value1 @channel".
inline std::string Line(const MIDIEvent& event) {
    const char* type = event.EventType() == midNoteOn          ? "on"
                       : event.EventType() == midNoteOff       ? "off"
                       : event.EventType() == midProgramChange ? "program"
                                                               : "other";
    return std::to_string(event.EventTime()) + " " + type + " " + std::to_string(event.Value(0)) +
           " " + std::to_string(event.Value(1)) + " @" + std::to_string(event.Channel());
}

struct PlaybackLog : EventLog {
    std::vector<std::shared_ptr<MIDIEvent>> loaded;

    void MarkRepeat(int32_t t) override { log.push_back("MarkRepeat " + std::to_string(t)); }
    void GoRepeat(int32_t t) override { log.push_back("GoRepeat " + std::to_string(t)); }
    void SkipSection(int32_t t, int32_t next) override {
        log.push_back("SkipSection " + std::to_string(t) + " " + std::to_string(next));
    }
    void LoadMIDI(const std::shared_ptr<MIDIEvent>& event) override {
        loaded.push_back(event);
        log.push_back("LoadMIDI " + (event ? Line(*event) : std::string("none")));
    }
    void PlayDone() override { log.push_back("PlayDone"); }
};

class PlaybackTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        score = Score::Create();
        log = std::make_shared<PlaybackLog>();
        events = log;
        score->SetEvents(log);
        score->CreateDefault();
        voice = score->Staff(1)->Voice(1);
        OnChannel(0);
        log->log.clear();
    }

    void OnChannel(int32_t channel) {
        detail::InstrumentAccess::ChannelSet(*voice->Instrument(), channel);
    }

    // Every event left in the stream, one line each.
    std::vector<std::string> Drain() {
        std::vector<std::string> lines;
        while (const auto event = score->GetMIDIEvent()) lines.push_back(Line(*event));
        return lines;
    }

    // The stream from `start` on.
    std::vector<std::string> StreamFrom(int32_t start) {
        std::vector<std::string> lines;
        if (const auto first = score->GetMIDIEvent(start)) lines.push_back(Line(*first));
        for (const auto& line : Drain()) lines.push_back(line);
        return lines;
    }

    std::shared_ptr<PlaybackLog> log;
    std::shared_ptr<Voice> voice;
};

}  // namespace corvendi::test
