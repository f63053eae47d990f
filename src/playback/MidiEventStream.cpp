#include "playback/MidiEventStream.h"

#include <algorithm>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "engine/ScoreAccess.h"
#include "model/HostTimer.h"
#include "model/ModelAccess.h"

namespace corvendi {

namespace {

constexpr int32_t kStepDelayMs = 25;
constexpr int32_t kBudgetAfterRestart = 10;
constexpr int32_t kBudgetPerStep = 1;
constexpr int32_t kDrumChannel = 9;
constexpr int32_t kVelocity = 112;
constexpr int32_t kStrongVelocity = 127;  // drums and accented notes
constexpr int32_t kNoStream = -1;

// The heap order: the event delivered later compares greater.
struct DeliveredAfter {
    bool operator()(const auto& a, const auto& b) const {
        return a.Time != b.Time ? a.Time > b.Time : a.Order > b.Order;
    }
};

MIDIEvent MakeEvent(int32_t channel, int32_t time, int32_t type, int32_t value0, int32_t value1) {
    MIDIEvent event;
    detail::MIDIEventAccess::ChannelSet(event, channel);
    event.SetEventTime(time);
    event.SetEventType(type);
    detail::MIDIEventAccess::ValueSet(event, 0, value0);
    detail::MIDIEventAccess::ValueSet(event, 1, value1);
    return event;
}

}  // namespace

MidiEventStream::MidiEventStream(Score& score) : mScore(score) {
    Timer().SetHandler([this] { Step(); });
}

MidiEventStream::~MidiEventStream() {
    Timer().SetEnabled(false);
    Timer().SetHandler({});
}

std::shared_ptr<MIDIEvent> MidiEventStream::GetMIDIEvent(std::optional<int32_t> startTime) {
    // A host handler run while a restart lets the host work must not restart under it.
    if (mRestarting) return nullptr;
    mCurrent.reset();
    if (startTime) {
        Restart(*startTime);
    } else {
        mBudget = kBudgetPerStep;
    }
    if (mScore.GetAsync()) {
        Timer().SetInterval(kStepDelayMs);
        Timer().SetEnabled(true);
        return nullptr;
    }
    Step();
    return mCurrent;
}

HostTimer& MidiEventStream::Timer() { return detail::ScoreAccess::EventTimer(mScore); }

void MidiEventStream::Restart(int32_t startTime) {
    mLastMeasure = 0;
    mBudget = kBudgetAfterRestart;
    detail::ScoreAccess::MidiEvtIxSet(mScore, kNoStream);
    mRunning = false;
    mVoicesDone = false;
    mQueue.clear();
    if (startTime > kNoStream) {
        mRestarting = true;
        // The host may change the voices while it works between them: walk a copy.
        const std::vector<std::shared_ptr<Voice>> voices(mScore.AllVoices()->begin(),
                                                         mScore.AllVoices()->end());
        for (const auto& voice : voices) {
            voice->GetInit(startTime);
            if (detail::VoiceAccess::GetNextTime(*voice) > kNoStream)
                detail::ScoreAccess::MidiEvtIxSet(mScore, startTime);
            CurrentPlatform().ProcessPendingEvents();
        }
        mRestarting = false;
    }
    mRunning = detail::ScoreAccess::MidiEvtIx(mScore) > kNoStream;
}

void MidiEventStream::Step() {
    Timer().SetEnabled(false);
    if (mRunning) GenerateVoiceEvents();
    mCurrent = TakeFirstEvent();
    // Raising events may re-enter the stream; hold on to what this step delivers.
    const std::shared_ptr<MIDIEvent> delivered = mCurrent;
    if (delivered) ReportMeasureMarks(delivered->EventTime());
    if (mScore.GetAsync())
        detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::LoadMIDI, delivered);
}

void MidiEventStream::GenerateVoiceEvents() {
    while (mBudget >= 1 && !mVoicesDone) {
        const std::optional<MIDIEvent> event = NextVoiceEvent();
        if (!event) {
            mVoicesDone = true;
            break;
        }
        --mBudget;
        if (event->EventType() == midNoteOn) {
            QueueNote(*event);
        } else {
            QueueMidiEvent(MakeEvent(event->Channel(), event->EventTime(), event->EventType(),
                                     event->Value(0), event->Value(1)));
        }
    }
}

void MidiEventStream::QueueNote(const MIDIEvent& noteOn) {
    const int32_t channel = noteOn.Channel();
    const int32_t time = noteOn.EventTime();
    const int32_t velocity = channel == kDrumChannel ? kStrongVelocity : noteOn.Value(1);
    for (const char key : noteOn.Text()) {
        const int32_t k = static_cast<uint8_t>(key);
        QueueMidiEvent(MakeEvent(channel, time, midNoteOn, k, velocity));
        QueueMidiEvent(MakeEvent(channel, time + mNoteLen, midNoteOff, k, velocity));
    }
}

// The earliest next note or pending program change among the voices; the first voice wins a
// tie.
std::optional<MIDIEvent> MidiEventStream::NextVoiceEvent() {
    const int32_t from = detail::ScoreAccess::MidiEvtIx(mScore);
    for (;;) {
        std::shared_ptr<Voice> chosen;
        int32_t chosenTime = 0;
        for (const auto& voice : *mScore.AllVoices()) {
            const int32_t time = detail::VoiceAccess::GetNextTime(*voice);
            if (time >= from && (!chosen || time < chosenTime)) {
                chosen = voice;
                chosenTime = time;
            }
        }
        if (!chosen) return std::nullopt;

        const auto instrument = chosen->Instrument();
        const int32_t channel = instrument ? instrument->Channel() : 0;
        const int32_t plain = channel == kDrumChannel ? kStrongVelocity : kVelocity;
        if (detail::VoiceAccess::ProgramPending(*chosen)) {
            detail::VoiceAccess::SetProgramPending(*chosen, false);
            return MakeEvent(channel, chosenTime, midProgramChange,
                             instrument ? instrument->Value() : 0, plain);
        }
        const auto note = chosen->GetNext();
        if (!note) continue;  // the notes changed under the stream; the voice is done now
        mNoteFlags = note->Flags();
        mNoteLen = SoundingLength(note->Duration(), mNoteFlags);
        MIDIEvent event = MakeEvent(channel, chosenTime, midNoteOn, 0,
                                    (mNoteFlags & nteAccent) ? kStrongVelocity : plain);
        std::string keys;
        for (int32_t i = 0; i < note->ValueCount(); ++i) keys += static_cast<char>(note->Value(i));
        detail::MIDIEventAccess::TextSet(event, std::move(keys));
        return event;
    }
}

int32_t MidiEventStream::SoundingLength(int32_t duration, int32_t flags) const {
    int32_t length = duration;
    if (flags & nteDot) length = NInt(length * 1.5);
    if (flags & nteStacato) length = NInt(length / 2.0);
    return length;
}

void MidiEventStream::QueueMidiEvent(const MIDIEvent& event) {
    ++mQueuedSoFar;
    const int64_t order = event.EventType() == midNoteOff ? -mQueuedSoFar : mQueuedSoFar;
    mQueue.push_back({event.EventTime(), order, event});
    std::push_heap(mQueue.begin(), mQueue.end(), DeliveredAfter{});
}

std::shared_ptr<MIDIEvent> MidiEventStream::TakeFirstEvent() {
    if (mQueue.empty()) {
        mRunning = false;
        return nullptr;
    }
    std::pop_heap(mQueue.begin(), mQueue.end(), DeliveredAfter{});
    auto event = std::make_shared<MIDIEvent>(std::move(mQueue.back().Event));
    mQueue.pop_back();
    return event;
}

void MidiEventStream::ReportMeasureMarks(int32_t time) {
    const auto globals = mScore.AllGlobals();
    const MeasureInfoResult measure = globals->MeasureInfo(time);
    if (measure.Number == mLastMeasure) return;
    mLastMeasure = measure.Number;

    // Gather the marks first: a host handler may edit the events.
    std::vector<std::shared_ptr<GlobalEvent>> marks;
    auto mark = globals->Find(time, evtPlayBack, true);
    for (int32_t index = mark ? mark->Index() : 0; mark && mark->EventTime() == time;
         mark = globals->ByIndex(++index)) {
        marks.push_back(mark);
    }
    const ScoreEventSource& events = detail::ScoreAccess::EventSource(mScore);
    for (const auto& m : marks) {
        switch (m->EventType()) {
            case evtRepeatBegin: events.Raise(&ScoreEvents::MarkRepeat, time); break;
            case evtRepeatEnd: events.Raise(&ScoreEvents::GoRepeat, time + measure.Duration); break;
            case evtSectionDefine:
                if (m->Value1() == sctEnding1) {
                    events.Raise(&ScoreEvents::SkipSection, time, time + measure.Duration);
                }
                break;
            default: break;
        }
    }
}

}  // namespace corvendi
