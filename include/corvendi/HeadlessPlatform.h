// The platform a thread uses until a host installs its own: no window system, no real waiting.
//
// - Time of day: the local clock, or a fixed time (tests).
// - Screen: 15 twips per pixel both ways and 1920 x 1080 pixels unless set.
// - Application folder, the first of: the folder set with SetAppFolder; the environment
//   variable CORVENDI_HOME; "<program folder>/../share/corvendi" when that folder exists; the
//   data/ folder of the source tree the library was built from.
// - Timers run on a virtual clock. ProcessPendingEvents advances the clock to the earliest
//   deadline of the armed timers and fires every timer due then, once each, in the order they
//   were started, without sleeping. A timer whose callback is running is not fired again from
//   inside that callback. With no timer that could fire, ProcessPendingEvents does nothing and
//   returns false.
// - Recent documents: nothing unless enabled; then the file is added to the freedesktop
//   recently-used list (XBEL) of the user, or to a list file given for tests.
// - Message boxes are recorded (the last 100) and handed to the sink, if one is set.
// - Dialogs go to the presenter set with SetDialogPresenter; without one, "Cancel" is pressed.
//   The font chooser is the presenter's (DialogPresenter::ChooseFont); without a presenter the
//   font is kept.
// - The clipboard is a text in memory, shared by the scores of the thread; it is not the
//   desktop's (a GUI host overrides the three clipboard calls).
// - Sequencers play on the virtual clock: a file "plays" for its duration as timers count it
//   and then raises its completion; nothing sounds. A host with real sound sets a factory.
#pragma once

#include <corvendi/Export.h>
#include <corvendi/Platform.h>
#include <corvendi/dialogs/DialogPresenter.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvendi {

struct CORVENDI_API MessageBoxRecord {
    std::string Text;
    std::string Title;
    MessageIcon Icon = MessageIcon::None;

    bool operator==(const MessageBoxRecord&) const = default;
};

class CORVENDI_API HeadlessPlatform : public Platform,
                                      public std::enable_shared_from_this<HeadlessPlatform> {
  public:
    HeadlessPlatform() = default;

    TimeOfDay Now() const override;
    // A fixed time makes identifiers derived from the clock reproducible; nullopt goes back to
    // the local clock.
    void SetFixedTime(std::optional<TimeOfDay> time);

    int32_t TwipsPerPixelX() const override;
    int32_t TwipsPerPixelY() const override;
    // Values below 1 are ignored.
    void SetTwipsPerPixel(int32_t x, int32_t y);
    int32_t ScreenWidthTw() const override;
    int32_t ScreenHeightTw() const override;
    // In pixels; values below 1 are ignored.
    void SetScreenPixels(int32_t width, int32_t height);

    std::string AppFolder() const override;
    // An empty folder goes back to looking it up.
    void SetAppFolder(std::string folder);

    int32_t StartTimer(int32_t periodMs, TimerCallback callback) override;
    void StopTimer(int32_t timerId) override;
    bool ProcessPendingEvents() override;
    // Milliseconds of virtual time since the platform was created.
    int64_t VirtualTimeMs() const { return mNowMs; }
    int32_t ArmedTimerCount() const { return static_cast<int32_t>(mTimers.size()); }

    void AddToRecentDocs(const std::string& path) override;
    // listFile empty: the user's list (DefaultRecentDocsFile()).
    void EnableRecentDocs(bool enabled, std::string listFile = {});
    bool RecentDocsEnabled() const { return mRecentDocsEnabled; }

    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    const std::vector<MessageBoxRecord>& Messages() const { return mMessages; }
    void ClearMessages() { mMessages.clear(); }
    // Called with every message box after it is recorded; an empty function removes the sink.
    void SetMessageSink(std::function<void(const MessageBoxRecord&)> sink);

    void PresentDialog(Dialog& dialog) override;
    // nullptr goes back to pressing "Cancel".
    void SetDialogPresenter(std::shared_ptr<DialogPresenter> presenter);
    bool ChooseFont(Font& font) override;
    // A clipboard of this platform's own, in memory: the scores of the thread share it.
    std::string ClipboardText() override { return mClipboard; }
    void SetClipboardText(const std::string& text) override { mClipboard = text; }
    void ClearClipboard() override { mClipboard.clear(); }

    // The factory's sequencer, else one playing on the virtual clock.
    std::unique_ptr<Sequencer> CreateSequencer() override;
    // An empty function goes back to the virtual-clock sequencer.
    void SetSequencerFactory(std::function<std::unique_ptr<Sequencer>()> factory);

  private:
    struct Timer {
        int32_t PeriodMs = 1;
        int64_t DeadlineMs = 0;
        std::shared_ptr<TimerCallback> Callback;
        bool Firing = false;
    };
    void Fire(int32_t timerId);

    std::optional<TimeOfDay> mFixedTime;
    int32_t mTwipsPerPixelX = 15;
    int32_t mTwipsPerPixelY = 15;
    int32_t mScreenWidthPx = 1920;
    int32_t mScreenHeightPx = 1080;
    std::string mAppFolder;

    std::map<int32_t, Timer> mTimers;  // armed timers by identifier
    int32_t mLastTimerId = 0;
    int64_t mNowMs = 0;

    bool mRecentDocsEnabled = false;
    std::string mRecentDocsFile;

    std::vector<MessageBoxRecord> mMessages;
    std::function<void(const MessageBoxRecord&)> mMessageSink;
    std::shared_ptr<DialogPresenter> mDialogPresenter;
    std::function<std::unique_ptr<Sequencer>()> mSequencerFactory;
    std::string mClipboard;
};

// The application folder from its candidates in order of precedence: the folder a host set, the
// CORVENDI_HOME value, "<programFolder>/../share/corvendi" when it exists, the source data folder.
// Empty candidates are skipped.
CORVENDI_API std::string ResolveAppFolder(const std::string& hostSet,
                                          const std::string& environment,
                                          const std::string& programFolder,
                                          const std::string& sourceData);

// $XDG_DATA_HOME/recently-used.xbel, else $HOME/.local/share/recently-used.xbel; empty when
// neither variable is set.
CORVENDI_API std::string DefaultRecentDocsFile();

}  // namespace corvendi
