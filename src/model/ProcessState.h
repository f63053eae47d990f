// State shared by every score of a thread: the screen metrics, the default colours, the unit of
// measure of the dialogs, the undo histories, the pagination timer and the dialog result.
//
// A host uses all its scores from one user-interface thread, so "once per thread" is "once per
// application"; tests on their own threads do not see each other's state.
#pragma once

#include <corvendi/Enums.h>
#include <corvendi/Platform.h>

#include <cstdint>
#include <memory>

namespace corvendi {

// Colours are packed as red + 256 * green + 65536 * blue.
constexpr int32_t PackRGB(int32_t red, int32_t green, int32_t blue) {
    return red + 256 * green + 65536 * blue;
}

class PaginationTarget;

namespace detail {
class NoteJournal;
struct UndoStore;
}  // namespace detail

struct PaginationTimerState {
    bool Running = false;
    bool Stopping = false;    // a stop is in progress: starting is refused meanwhile
    bool InCallback = false;  // a step is running: further ticks are ignored
    int32_t TimerId = 0;
    PaginationTarget* Target = nullptr;  // not owned; the score stops the timer before it goes
    std::shared_ptr<Platform> Host;      // the platform that runs TimerId
};

struct ProcessState {
    // Screen twips per pixel; every new score copies the platform's values here.
    int32_t gTwipsPerPixelX = 15;
    int32_t gTwipsPerPixelY = 15;

    // Default drawing colours of new scores.
    int32_t gColorLines = 0;
    int32_t gColorBars = PackRGB(48, 48, 192);
    int32_t gColorNotes = PackRGB(18, 152, 18);
    int32_t gColorNotesAlt = PackRGB(22, 182, 22);
    int32_t gColorTies = PackRGB(240, 0, 0);
    int32_t gColorChords = PackRGB(100, 20, 60);

    // Unit of measure the dialogs show (MeasurementUnits).
    int32_t gUOM = uomInches;

    // The undo histories of the thread's scores and their depth (engine/UndoHistory.h), made
    // when a score first records a step.
    std::shared_ptr<detail::UndoStore> gUndoStore;
    // The note journal of the edit step recording now (model/NoteJournal.h); null when none.
    detail::NoteJournal* gNoteJournal = nullptr;

    PaginationTimerState gPagination;

    // Outcome of the last modal dialog: 1 Ok, 2 Cancel, 5 loaded (closed by its frame).
    int32_t DialogResult = 0;
};

// The calling thread's state.
ProcessState& Process();

// Puts every piece of per-thread state back to its start: stops the pagination timer, restores
// the values above, empties the instrument catalogue and installs a fresh HeadlessPlatform.
// Tests call it before each case (and configure the platform afterwards).
void ResetProcessState();

}  // namespace corvendi
