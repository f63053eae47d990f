// Playback on the score: the members forward to the player and the event stream.
#include "corvendi/MIDIEvent.h"
#include "corvendi/Score.h"
#include "engine/ScoreState.h"

namespace corvendi {

void Score::PlayScore(bool StopPlay, bool SendEvents, int32_t hwnd, int32_t FromTime) {
    (void)hwnd;  // completion reaches the host as PlayDone
    mState->Player->PlayScore(StopPlay, SendEvents, FromTime);
}

bool Score::Playing() const { return mState->Player->Playing(); }

int32_t Score::PlayPosition() const { return mState->Player->Position(); }

std::string Score::WritePlayFile() { return mState->Player->WritePlayFile(); }

const std::string& Score::PlayFile() const { return mState->Player->PlayFile(); }

std::shared_ptr<MIDIEvent> Score::GetMIDIEvent() {
    return mState->EventStream->GetMIDIEvent(std::nullopt);
}

std::shared_ptr<MIDIEvent> Score::GetMIDIEvent(int32_t StartTime) {
    return mState->EventStream->GetMIDIEvent(StartTime);
}

}  // namespace corvendi
