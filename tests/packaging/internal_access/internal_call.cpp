// Must not compile against the installed headers: each INTERNAL_CALL is an engine-internal member
// that used to be public. The check compiles this file once per call.
#include <corvendi/MIDIEvent.h>
#include <corvendi/Note.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>

int main() {
    auto score = corvendi::Score::Create();
    auto staff = score->Staff(1);
    corvendi::Note note;
    corvendi::MIDIEvent event;
    (void)staff, (void)note, (void)event;
    INTERNAL_CALL;
    return 0;
}
