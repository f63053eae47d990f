#include "Host.h"

#include <corvendi/Platform.h>
#include <corvendi/ScoreEvents.h>

#include <unistd.h>

#include <cstdio>

namespace corvendi::cli {

// Shows loading progress as a percentage of the file's size.
class Host::Listener : public ScoreEvents {
  public:
    explicit Listener(const Host& host) : mHost(host) {}
    void BeforeOpenSave(int32_t Size) override {
        mSize = Size;
        mShown = -1;
    }
    void ProgressReport(int32_t Position) override {
        if (!mHost.ShowsProgress() || mSize <= 0) return;
        const int64_t percent = std::min<int64_t>(100, int64_t{Position} * 100 / mSize);
        if (percent == mShown) return;
        mShown = percent;
        mHost.Progress("loading " + std::to_string(percent) + "%");
    }

  private:
    const Host& mHost;
    int32_t mSize = 0;
    int64_t mShown = -1;
};

Host::Host(const HostOptions& options) {
    mPlatform = std::make_shared<HeadlessPlatform>();
    mPlatform->SetTwipsPerPixel(options.TwipsPerPixel, options.TwipsPerPixel);
    if (options.FixedClock) mPlatform->SetFixedTime(TimeOfDay{12, 0, 0});
    mPlatform->SetMessageSink([this](const MessageBoxRecord& message) {
        EndProgress();
        Error(mOpening.empty() ? message.Text : mOpening + ": " + message.Text);
    });
    SetPlatform(mPlatform);
    mShowProgress = !options.Quiet && isatty(STDERR_FILENO) == 1;
    mListener = std::make_shared<Listener>(*this);
}

Host::~Host() {
    mPlatform->SetMessageSink({});
    SetPlatform(nullptr);
}

std::shared_ptr<Score> Host::NewScore() {
    auto score = Score::Create();
    score->SetEvents(mListener);
    return score;
}

bool Host::Open(Score& score, const std::string& path) {
    mPlatform->ClearMessages();
    mOpening = path;
    const bool opened = score.OpenFile(path);
    EndProgress();
    mOpening.clear();
    if (!opened && mPlatform->Messages().empty()) {
        // The score file's directory was empty or damaged: the engine refuses it silently.
        Error(path + ": Invalid data encountered loading file.");
    }
    return opened;
}

void Host::Paginate(Score& score, const std::shared_ptr<Surface>& window) {
    score.SetWindow(window);
    int32_t shown = 0;
    while (score.Paginating() && mPlatform->ProcessPendingEvents()) {
        if (mShowProgress && score.LastPage() != shown) {
            shown = score.LastPage();
            Progress("paginating: page " + std::to_string(shown));
        }
    }
    EndProgress();
}

void Host::Error(const std::string& text) const {
    if (mErrorSink) return mErrorSink(text);
    std::fprintf(stderr, "corvendi: %s\n", text.c_str());
}

void Host::Progress(const std::string& text) const {
    if (!mShowProgress) return;
    std::fprintf(stderr, "\r\033[K%s", text.c_str());
    std::fflush(stderr);
}

void Host::EndProgress() const {
    if (!mShowProgress) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
}

}  // namespace corvendi::cli
