// The services the engine asks of the machine and of the host application: the time of day, the
// screen metrics, the application folder, timers on the host's thread, the host's message loop,
// the recent-documents list, message boxes, modal dialogs with their font chooser, the clipboard
// and the MIDI sequencer playback plays through.
//
// Every thread has its own platform (the engine runs on one user-interface thread per score and
// never starts threads of its own). Until a host installs its own with SetPlatform, a thread uses
// a HeadlessPlatform (HeadlessPlatform.h): no window system, a virtual clock for its timers,
// message boxes recorded instead of shown.
//
// Implementing a platform: derive from HeadlessPlatform and override what the host backs with
// real services (a GUI host typically overrides the timers, ProcessPendingEvents and
// ShowMessage). Services added to this interface later get a default in HeadlessPlatform, so such
// a host keeps compiling.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "corvendi/Export.h"
#include "corvendi/Sequencer.h"

namespace corvendi {

class Dialog;
class Font;

// Local time of day, 0..23, 0..59, 0..59.
struct CORVENDI_API TimeOfDay {
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;

    bool operator==(const TimeOfDay&) const = default;
};

// The symbol shown with a message box.
enum class MessageIcon : int32_t {
    None = 0,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
};

using TimerCallback = std::function<void()>;

class CORVENDI_API Platform {
  public:
    virtual ~Platform() = default;

    // --- Machine -------------------------------------------------------------------------------
    virtual TimeOfDay Now() const = 0;
    // Twips per screen pixel, horizontally and vertically: whole numbers of at least 1, since the
    // layout snaps positions to them.
    virtual int32_t TwipsPerPixelX() const = 0;
    virtual int32_t TwipsPerPixelY() const = 0;
    // The folder below which the configuration lives ("<folder>/Common/Config/Instrument.txt").
    virtual std::string AppFolder() const = 0;
    // The size of the screen the dialogs are centred on, in twips (at least 1 each).
    virtual int32_t ScreenWidthTw() const = 0;
    virtual int32_t ScreenHeightTw() const = 0;

    // --- Timers and the message loop ----------------------------------------------------------
    // Starts a periodic timer whose callback runs on this thread, from the host's message loop
    // (or from ProcessPendingEvents). Returns its identifier (greater than 0), or 0 when no
    // timer could be started. A callback may stop or start timers, including its own.
    virtual int32_t StartTimer(int32_t periodMs, TimerCallback callback) = 0;
    // Stops a timer; an unknown or already stopped identifier is ignored.
    virtual void StopTimer(int32_t timerId) = 0;
    // Lets pending host events and due timers run once. Returns false when nothing could happen
    // (no timer armed that could fire, nothing pending), so that a waiting loop can give up.
    //
    // Every wait loop of the engine ("wait, yielding to the host, while X") ends:
    //  - when X clears;
    //  - when this call returns false (nothing armed, so X can never clear);
    //  - at once when X was set further up the same call stack (a host handler re-entering the
    //    engine while the operation that set X is still running): waiting could never end.
    virtual bool ProcessPendingEvents() = 0;

    // --- Shell -------------------------------------------------------------------------------
    // Adds a file (UTF-8 path) to the user's list of recently used documents.
    virtual void AddToRecentDocs(const std::string& path) = 0;
    // A modal message with an OK button. The engine never prints; this is its only way to tell
    // the user something.
    virtual void ShowMessage(const std::string& text, const std::string& title,
                             MessageIcon icon) = 0;

    // --- Dialogs -------------------------------------------------------------------------------
    // Shows a dialog model modally (corvendi/dialogs/Dialog.h) and returns when it is closed; the
    // caller then reads the dialog's Result(). There is no failure value: a platform that cannot
    // show the dialog presses its "Cancel" button, so the caller changes nothing.
    virtual void PresentDialog(Dialog& dialog) = 0;
    // The font chooser a dialog opens from its "Font" buttons, shown modally over the dialog
    // being presented. It starts on `font`; when the user confirms, the chosen face, size, bold
    // and italic are stored in `font` and the result is true. False (cancelled, or no chooser)
    // leaves `font` as it was.
    virtual bool ChooseFont(Font& font) = 0;
    // --- Clipboard -----------------------------------------------------------------------------
    // The system clipboard as plain UTF-8 text, shared with other programs: what is on it ("" when
    // it holds no text), putting text on it, and emptying it. A clipboard that cannot be reached
    // reads "" and ignores writes.
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual void ClearClipboard() = 0;

    // --- Sound ---------------------------------------------------------------------------------
    // A new sequencer for one score's playback (Sequencer.h), used on this thread only; nullptr
    // when the machine has none (the score then plays nothing).
    virtual std::unique_ptr<Sequencer> CreateSequencer() = 0;
};

// The platform of the calling thread; a HeadlessPlatform until SetPlatform installs another.
CORVENDI_API Platform& CurrentPlatform();
// The same, shared: for objects that must reach the platform that started their timer.
CORVENDI_API std::shared_ptr<Platform> CurrentPlatformPtr();
// Installs the platform of the calling thread; nullptr installs a fresh HeadlessPlatform.
// Timers started on the previous platform stay with it.
CORVENDI_API void SetPlatform(std::shared_ptr<Platform> platform);

}  // namespace corvendi
