// The score's members for marks, lyrics and chords (EventEditor does the work) and for the active
// position and the lyric cursor (ActivePosition).
#include "corvendi/ChordList.h"
#include "corvendi/Score.h"
#include "engine/ActivePosition.h"
#include "engine/EditStep.h"
#include "engine/EventEditor.h"
#include "engine/ScoreState.h"

namespace corvendi {

void Score::AddGlobalByHit(int32_t X, int32_t Y, int32_t EventType, int32_t SubType,
                           const std::string& Text) {
    detail::EditStep step(*this);
    EventEditor(*this).AddGlobalByHit(X, Y, EventType, SubType, Text);
}

void Score::RemoveGlobalEvent(int32_t AtTime, int32_t EventType) {
    detail::EditStep step(*this);
    EventEditor(*this).RemoveGlobalEvent(AtTime, EventType);
}

std::string Score::Lyric() const {
    return mState->Cursor.LyricTime < 0 ? std::string() : mState->Cursor.LyricText;
}

void Score::SetLyric(std::string Text) {
    detail::EditStep step(*this);
    EventEditor(*this).SetLyric(std::move(Text));
}

bool Score::AddLyric(int32_t AtTime, std::string Text) {
    detail::EditStep step(*this);
    return EventEditor(*this).AddLyric(AtTime, std::move(Text));
}

void Score::SetVerse(int32_t value) {
    detail::EditStep step(*this);
    EventEditor(*this).SetVerse(value);
}

void Score::TextOffsetByPos(uint8_t& Offset1, uint8_t& Offset2, int32_t X, int32_t Y,
                            int32_t& Inc) {
    EventEditor(*this).TextOffsetByPos(Offset1, Offset2, X, Y, Inc);
}

void Score::LoadChordList(ChordList& List) const { EventEditor::LoadChordList(*this, List); }

void Score::SetActiveByHit(int32_t X, int32_t Y) { ActivePosition(*this).SetActiveByHit(X, Y); }

bool Score::FirstActiveXY(int32_t& AtTime, int32_t& X, int32_t& Y, std::string& ActiveLyric) {
    detail::EditStep step(*this);
    return ActivePosition(*this).FirstActiveXY(AtTime, X, Y, ActiveLyric);
}

bool Score::NextActiveXY(int32_t& ActiveTime, int32_t& X, int32_t& Y, std::string& ActiveLyric) {
    return ActivePosition(*this).NextActiveXY(ActiveTime, X, Y, ActiveLyric);
}

bool Score::PrevActiveXY(int32_t& ActiveTime, int32_t& X, int32_t& Y, std::string& ActiveLyric) {
    return ActivePosition(*this).PrevActiveXY(ActiveTime, X, Y, ActiveLyric);
}

}  // namespace corvendi
