// A picture of everything in a document except its notes: the score's settings, its staffs,
// voices and instruments (which there are, in which order, and what each stores) and every
// event list with its events. The lists are small next to the notes, so an edit step takes the
// picture when it opens and compares it with the document when it closes; whatever differs
// becomes a FrameChanges that swaps the old state in and out. This catches every change to
// these values, however it was made (a setter, a dialog writing a staff, an event list edit),
// without each editing operation having to record what it did.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "engine/ScoreSettings.h"
#include "model/ModelAccess.h"

namespace corvendi {

class Score;

namespace detail {

// What an event stores apart from its place in its list.
struct EventValues {
    int32_t Time = 0;
    int32_t Type = 0;
    std::string Text;
    uint8_t Value1 = 0;
    uint8_t Value2 = 0;

    bool operator==(const EventValues&) const = default;
};

// A stretch of a list swapped for another: the items now at [Start, Start + Length) go,
// `Items` come in their place and keep what went, so the same splice applied again undoes
// itself.
template <typename T>
struct Splice {
    size_t Start = 0;
    size_t Length = 0;
    std::vector<std::shared_ptr<T>> Items;

    void Toggle(std::vector<std::shared_ptr<T>>& list);
};

class FrameChanges {
  public:
    bool Empty() const;
    // Swaps every changed part with the document's: the first call takes the edit back, the
    // next makes it again.
    void Toggle(Score& score);

  private:
    friend class DocumentFrame;

    struct EventsChange {
        std::shared_ptr<GlobalEvents> Events;
        std::optional<Splice<GlobalEvent>> TimeList;
        std::optional<Splice<GlobalEvent>> OtherList;
        std::vector<std::pair<std::shared_ptr<GlobalEvent>, EventValues>> Values;
        std::optional<int32_t> Pulse;
    };

    std::unique_ptr<ScoreSettings> mSettings;  // most edits leave them: kept only when changed
    std::optional<Splice<Staff>> mStaffList;
    std::optional<Splice<Voice>> mVoiceList;
    std::optional<Splice<Instrument>> mInstrumentList;
    std::shared_ptr<corvendi::Staffs> mStaffs;
    std::shared_ptr<corvendi::Voices> mVoices;
    std::shared_ptr<corvendi::Instruments> mInstruments;
    std::vector<std::pair<std::shared_ptr<Staff>, StaffValues>> mStaffValues;
    std::vector<std::pair<std::shared_ptr<Voice>, VoiceValues>> mVoiceValues;
    std::vector<std::pair<std::shared_ptr<Instrument>, InstrumentValues>> mInstrumentValues;
    std::vector<EventsChange> mEvents;
};

class DocumentFrame {
  public:
    explicit DocumentFrame(Score& score);
    // What changed in `score` since the picture was taken.
    FrameChanges ChangesSince(Score& score) const;

  private:
    struct EventsPicture {
        std::shared_ptr<GlobalEvents> Events;
        GlobalEvents::List TimeList;
        GlobalEvents::List OtherList;
        std::vector<EventValues> TimeValues;
        std::vector<EventValues> OtherValues;
        int32_t Pulse = 0;
    };
    static EventsPicture Picture(const std::shared_ptr<GlobalEvents>& events);
    static std::optional<FrameChanges::EventsChange> EventsChanges(const EventsPicture& before);

    ScoreSettings mSettings;
    std::shared_ptr<corvendi::Staffs> mStaffs;
    std::shared_ptr<corvendi::Voices> mVoices;
    std::shared_ptr<corvendi::Instruments> mInstruments;
    Staffs::List mStaffList;
    Voices::List mVoiceList;
    Instruments::List mInstrumentList;
    std::vector<StaffValues> mStaffValues;
    std::vector<VoiceValues> mVoiceValues;
    std::vector<InstrumentValues> mInstrumentValues;
    std::vector<EventsPicture> mEvents;
};

}  // namespace detail
}  // namespace corvendi
