#include <corvendi/HeadlessPlatform.h>

#include "model/RecentDocs.h"
#include "playback/VirtualSequencer.h"

#include <corvendi/dialogs/Dialog.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#ifndef CORVENDI_SOURCE_DATA_DIR
#define CORVENDI_SOURCE_DATA_DIR ""
#endif

namespace corvendi {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxRecordedMessages = 100;

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string ProgramFolder() {
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return program.parent_path().string();
}

}  // namespace

// --- Machine ---------------------------------------------------------------------------------

TimeOfDay HeadlessPlatform::Now() const {
    if (mFixedTime) return *mFixedTime;
    std::time_t t = std::time(nullptr);
    std::tm parts{};
    localtime_r(&t, &parts);
    return TimeOfDay{parts.tm_hour, parts.tm_min, parts.tm_sec};
}

void HeadlessPlatform::SetFixedTime(std::optional<TimeOfDay> time) { mFixedTime = time; }

int32_t HeadlessPlatform::TwipsPerPixelX() const { return mTwipsPerPixelX; }
int32_t HeadlessPlatform::TwipsPerPixelY() const { return mTwipsPerPixelY; }

void HeadlessPlatform::SetTwipsPerPixel(int32_t x, int32_t y) {
    if (x >= 1) mTwipsPerPixelX = x;
    if (y >= 1) mTwipsPerPixelY = y;
}

int32_t HeadlessPlatform::ScreenWidthTw() const { return mScreenWidthPx * mTwipsPerPixelX; }
int32_t HeadlessPlatform::ScreenHeightTw() const { return mScreenHeightPx * mTwipsPerPixelY; }

void HeadlessPlatform::SetScreenPixels(int32_t width, int32_t height) {
    if (width >= 1) mScreenWidthPx = width;
    if (height >= 1) mScreenHeightPx = height;
}

std::string HeadlessPlatform::AppFolder() const {
    const std::string environment = EnvironmentValue("CORVENDI_HOME");
    if (!mAppFolder.empty() || !environment.empty()) {
        return ResolveAppFolder(mAppFolder, environment, {}, CORVENDI_SOURCE_DATA_DIR);
    }
    // The program's folder and what is installed beside it stay as they are while it runs; the
    // folder is asked for with every glyph drawn, so the file system is asked once.
    static const std::string installedOrSource =
        ResolveAppFolder({}, {}, ProgramFolder(), CORVENDI_SOURCE_DATA_DIR);
    return installedOrSource;
}

void HeadlessPlatform::SetAppFolder(std::string folder) { mAppFolder = std::move(folder); }

std::string ResolveAppFolder(const std::string& hostSet, const std::string& environment,
                             const std::string& programFolder, const std::string& sourceData) {
    if (!hostSet.empty()) return hostSet;
    if (!environment.empty()) return environment;
    if (!programFolder.empty()) {
        fs::path installed =
            (fs::path(programFolder) / ".." / "share" / "corvendi").lexically_normal();
        std::error_code ec;
        if (fs::is_directory(installed, ec)) {
            std::string folder = installed.string();
            while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
            return folder;
        }
    }
    return sourceData;
}

// --- Timers on the virtual clock ---------------------------------------------------------------

int32_t HeadlessPlatform::StartTimer(int32_t periodMs, TimerCallback callback) {
    if (!callback) return 0;
    // Identifiers are not reused while the platform lives, so a stale one never stops a newer
    // timer.
    if (mLastTimerId == std::numeric_limits<int32_t>::max()) return 0;
    const int32_t id = ++mLastTimerId;
    Timer timer;
    timer.PeriodMs = std::max(periodMs, 1);
    timer.DeadlineMs = mNowMs + timer.PeriodMs;
    timer.Callback = std::make_shared<TimerCallback>(std::move(callback));
    mTimers.emplace(id, std::move(timer));
    return id;
}

void HeadlessPlatform::StopTimer(int32_t timerId) { mTimers.erase(timerId); }

bool HeadlessPlatform::ProcessPendingEvents() {
    // A callback may drop the last reference to this platform; keep it alive until we return.
    std::shared_ptr<HeadlessPlatform> keepAlive = weak_from_this().lock();

    std::optional<int64_t> earliest;
    for (const auto& [id, timer] : mTimers) {
        if (timer.Firing) continue;
        if (!earliest || timer.DeadlineMs < *earliest) earliest = timer.DeadlineMs;
    }
    if (!earliest) return false;
    mNowMs = std::max(mNowMs, *earliest);

    std::vector<int32_t> due;
    for (const auto& [id, timer] : mTimers) {
        if (!timer.Firing && timer.DeadlineMs <= mNowMs) due.push_back(id);
    }
    // std::map keeps identifiers ascending, so timers fire in the order they were started.
    for (int32_t id : due) Fire(id);
    return true;
}

void HeadlessPlatform::Fire(int32_t timerId) {
    auto it = mTimers.find(timerId);
    // An earlier callback of the same round may have stopped this timer.
    if (it == mTimers.end() || it->second.Firing) return;
    Timer& timer = it->second;
    timer.DeadlineMs = mNowMs + timer.PeriodMs;
    timer.Firing = true;
    std::shared_ptr<TimerCallback> callback = timer.Callback;

    struct ClearFiring {
        std::map<int32_t, Timer>& Timers;
        int32_t Id;
        ~ClearFiring() {
            auto found = Timers.find(Id);
            if (found != Timers.end()) found->second.Firing = false;
        }
    } clearFiring{mTimers, timerId};
    (*callback)();
}

// --- Sound ---------------------------------------------------------------------------------------

std::unique_ptr<Sequencer> HeadlessPlatform::CreateSequencer() {
    if (mSequencerFactory) return mSequencerFactory();
    return std::make_unique<VirtualSequencer>(weak_from_this());
}

void HeadlessPlatform::SetSequencerFactory(std::function<std::unique_ptr<Sequencer>()> factory) {
    mSequencerFactory = std::move(factory);
}

// --- Shell ---------------------------------------------------------------------------------------

void HeadlessPlatform::AddToRecentDocs(const std::string& path) {
    if (!mRecentDocsEnabled) return;
    const std::string list = mRecentDocsFile.empty() ? DefaultRecentDocsFile() : mRecentDocsFile;
    // The list is a convenience of the desktop; failing to update it is not the caller's concern.
    AddToRecentlyUsedList(list, path, std::chrono::system_clock::now());
}

void HeadlessPlatform::EnableRecentDocs(bool enabled, std::string listFile) {
    mRecentDocsEnabled = enabled;
    mRecentDocsFile = std::move(listFile);
}

std::string DefaultRecentDocsFile() {
    std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
    if (!dataHome.empty()) return (fs::path(dataHome) / "recently-used.xbel").string();
    std::string home = EnvironmentValue("HOME");
    if (!home.empty()) return (fs::path(home) / ".local" / "share" / "recently-used.xbel").string();
    return {};
}

void HeadlessPlatform::ShowMessage(const std::string& text, const std::string& title,
                                   MessageIcon icon) {
    if (mMessages.size() >= kMaxRecordedMessages) mMessages.erase(mMessages.begin());
    mMessages.push_back(MessageBoxRecord{text, title, icon});
    if (mMessageSink) {
        // The sink may replace itself, show another message or drop this platform.
        std::shared_ptr<HeadlessPlatform> keepAlive = weak_from_this().lock();
        auto sink = mMessageSink;
        MessageBoxRecord record = mMessages.back();
        sink(record);
    }
}

void HeadlessPlatform::SetMessageSink(std::function<void(const MessageBoxRecord&)> sink) {
    mMessageSink = std::move(sink);
}

// --- Dialogs -------------------------------------------------------------------------------------

void HeadlessPlatform::PresentDialog(Dialog& dialog) {
    // The presenter may replace itself or drop this platform while the dialog is shown.
    std::shared_ptr<HeadlessPlatform> keepAlive = weak_from_this().lock();
    std::shared_ptr<DialogPresenter> presenter = mDialogPresenter;
    if (presenter) {
        presenter->Present(dialog);
    } else {
        CancelPresenter().Present(dialog);
    }
    if (dialog.IsOpen()) dialog.CloseByFrame();
}

void HeadlessPlatform::SetDialogPresenter(std::shared_ptr<DialogPresenter> presenter) {
    mDialogPresenter = std::move(presenter);
}

bool HeadlessPlatform::ChooseFont(Font& font) {
    std::shared_ptr<DialogPresenter> presenter = mDialogPresenter;
    return presenter && presenter->ChooseFont(font);
}

}  // namespace corvendi
