// Scores for the measure and staff editing tests, and the scripted presenter installed for them.
#pragma once

#include <memory>
#include <string>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Notes.h"
#include "corvendi/Staffs.h"
#include "corvendi/ToJson.h"
#include "corvendi/Voice.h"
#include "corvendi/dialogs/ScriptedPresenter.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreTestSupport.h"
#include "model/ModelAccess.h"

namespace corvendi::test {

inline void AddNote(Score& s, int32_t staff, int32_t voice, int32_t time, uint8_t pitch,
                    int32_t duration = 16) {
    s.Staff(staff)->Voice(voice)->Notes()->Add(time, pitch, duration, 0);
    detail::ScoreAccess::HighNoteTimeSet(s, s.HighTime());
}

// A tie keeps its end time in its two values and its voice in its text.
inline void AddTie(GlobalEvents& events, int32_t from, int32_t to, int32_t voice = 1) {
    events.Add(from, evtTie, static_cast<uint8_t>(to / 256), static_cast<uint8_t>(to % 256),
               std::to_string(voice));
}

class MeasureTest : public ScoreTest {
  protected:
    // Answers the next dialog with its text form ("txtQuant=2; Ok").
    void Answer(const std::string& text) {
        if (!presenter) {
            presenter = std::make_shared<ScriptedPresenter>();
            Headless().SetDialogPresenter(presenter);
        }
        auto answer = DialogAnswer::Parse(text);
        ASSERT_TRUE(answer) << text;
        presenter->Queue(*answer);
    }

    // A default score with a second staff and a second voice on staff 1.
    std::shared_ptr<Score> TwoStaffScore() {
        NewScore();
        score->CreateDefault();
        auto staffs = score->AllStaffs();
        detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Piano");
        score->Staff(1)->AddVoice(score->Staff(1)->Voice(1)->Instrument());
        return score;
    }

    std::shared_ptr<ScriptedPresenter> presenter;
};

}  // namespace corvendi::test
