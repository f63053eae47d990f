// A small host of the engine: builds a short score in code and tells what it holds. It stands
// in for the command-line program until that exists.
#include <cstdio>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Staff.h"
#include "corvendi/Version.h"
#include "corvendi/Voice.h"

namespace {

// Prints the events a host would react to.
class PrintingListener : public corvendi::ScoreEvents {
  public:
    void ActiveVoice(int32_t number) override { std::printf("  event: active voice %d\n", number); }
    void ActiveStaff(const std::shared_ptr<corvendi::Staff>& staff) override {
        std::printf("  event: active staff %d\n", staff ? staff->Index() : 0);
    }
    void ChangeNotify(bool changed) override {
        std::printf("  event: document %s\n", changed ? "changed" : "unchanged");
    }
};

}  // namespace

int main() {
    using namespace corvendi;
    std::printf("Corvendi %s\n", VersionString());

    auto score = Score::Create();
    score->SetEvents(std::make_shared<PrintingListener>());
    std::printf("Creating the default score:\n");
    score->CreateDefault();
    score->SetTitle("Ode in C");
    score->SetComposer("Example");

    // One bar of quarters and a dotted half with a chord at the end.
    const uint8_t melody[] = {64, 64, 65, 67};
    for (int i = 0; i < 4; ++i) score->AddNote(1, i * durQuarter, melody[i], durQuarter, 0);
    score->AddNote(1, 64, 60, durHalf, nteDot);
    score->AddNote(1, 64, 64, durHalf, nteDot);
    score->AddNote(1, 64, 67, durHalf, nteDot);

    auto staff = score->Staff(1);
    auto voice = staff->Voice(1);
    auto instrument = voice->Instrument();
    std::printf("\nTitle:      %s\nComposer:   %s\n", score->Title().c_str(),
                score->Composer().c_str());
    std::printf("Staffs:     %d\n", score->Staffs());
    std::printf("Instrument: %s (program %d, channel %d)\n",
                instrument ? instrument->Description().c_str() : "none",
                instrument ? instrument->Value() : 0, instrument ? instrument->Channel() : 0);
    std::printf("Notes:      %d, the last starting at tick %d\n", voice->Notes()->Count(),
                score->HighTime());
    int32_t measure = 0, length = 0;
    score->AllGlobals()->MeasureInfo(score->HighTime(), measure, length);
    std::printf("Measures:   %d of %d ticks\n", measure, length);
    for (const auto& note : *voice->Notes()) {
        std::printf("  tick %3d  duration %2d%s  pitches", note->NoteTime(), note->Duration(),
                    (note->Flags() & nteDot) ? " dotted" : "       ");
        for (int k = 0; k < note->ValueCount(); ++k) std::printf(" %d", note->Value(k));
        std::printf("\n");
    }
    return 0;
}
