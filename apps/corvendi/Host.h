// The engine's host on a terminal: the platform of the thread (screen resolution, clock), the
// engine's message boxes written to standard error, progress while loading and paginating.
#pragma once

#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Score.h>
#include <corvendi/Surface.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace corvendi::cli {

struct HostOptions {
    int32_t TwipsPerPixel = 15;
    bool Quiet = false;
    bool FixedClock = false;
};

class Host {
  public:
    // Installs the thread's platform; call before any score is created.
    explicit Host(const HostOptions& options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // A new score with this host's listener attached.
    std::shared_ptr<Score> NewScore();
    // Opens a score or MIDI file into `score`. False when it could not be read; the engine's
    // message (or one of ours) has then been written to standard error.
    bool Open(Score& score, const std::string& path);
    // Attaches `window` (a window surface of the page's size) and lets pagination run to the
    // end, showing the pages found.
    void Paginate(Score& score, const std::shared_ptr<Surface>& window);
    // A message on standard error, prefixed with the program's name.
    void Error(const std::string& text) const;
    // Sends the messages elsewhere (a run of many files keeps them apart from its progress).
    void SetErrorSink(std::function<void(const std::string&)> sink) {
        mErrorSink = std::move(sink);
    }
    // The engine's message boxes since the last Open.
    size_t MessageCount() const { return mPlatform->Messages().size(); }
    const std::shared_ptr<HeadlessPlatform>& Platform() const { return mPlatform; }
    // True when progress goes to standard error.
    bool ShowsProgress() const { return mShowProgress; }
    void Progress(const std::string& text) const;
    void EndProgress() const;

  private:
    class Listener;
    std::shared_ptr<HeadlessPlatform> mPlatform;
    std::shared_ptr<Listener> mListener;
    bool mShowProgress = false;
    std::function<void(const std::string&)> mErrorSink;
    std::string mOpening;  // the file being opened, for messages
};

}  // namespace corvendi::cli
