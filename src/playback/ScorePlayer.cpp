#include "playback/ScorePlayer.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "corvendi/ScoreEvents.h"
#include "corvendi/Sequencer.h"
#include "engine/ScoreAccess.h"
#include "io/MidiFiles.h"

namespace corvendi {

namespace {

constexpr const char* kFileName = "score.mid";

std::string TemporaryFolder() {
    const char* fromEnvironment = std::getenv("TMPDIR");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp";
}

}  // namespace

ScorePlayer::ScorePlayer(Score& score) : mScore(score) {}

ScorePlayer::~ScorePlayer() {
    Close();
    mSequencer.reset();
    if (mFolder.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
}

void ScorePlayer::PlayScore(bool stopPlay, bool sendEvents, int32_t fromTime) {
    if (mPlaying) Close();
    if (stopPlay) return;
    mPlaying = !WritePlayFile().empty();
    if (mPlaying) mPlaying = StartSequencer(sendEvents, fromTime);
}

void ScorePlayer::Close() {
    if (mSequencer) mSequencer->Close();
    mPlaying = false;
}

bool ScorePlayer::StartSequencer(bool sendEvents, int32_t fromTime) {
    if (!mSequencer) {
        mSequencer = CurrentPlatform().CreateSequencer();
        if (!mSequencer) return false;
        mSequencer->SetDoneHandler(
            [this] { detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::PlayDone); });
    }
    const bool started = mSequencer->Open(mPlayFile) && mSequencer->SetTimeFormat() &&
                         mSequencer->Play(fromTime, sendEvents);
    // A half-opened sequencer would refuse the next open.
    if (!started) mSequencer->Close();
    return started;
}

int32_t ScorePlayer::Position() const {
    return mPlaying && mSequencer ? mSequencer->Position() : -1;
}

std::string ScorePlayer::WritePlayFile() {
    const bool present = !mPlayFile.empty() && std::filesystem::exists(mPlayFile);
    if (present && !detail::ScoreAccess::PlayFileStale(mScore)) return mPlayFile;
    if (!MakeFolder()) return {};
    mPlayFile = (std::filesystem::path(mFolder) / kFileName).string();
    std::error_code ignored;
    std::filesystem::remove(mPlayFile, ignored);
    if (!SaveMidiFile(mScore, mPlayFile, true)) return {};
    detail::ScoreAccess::PlayFileStaleSet(mScore, false);
    return mPlayFile;
}

bool ScorePlayer::MakeFolder() {
    if (!mFolder.empty() && std::filesystem::is_directory(mFolder)) return true;
    std::string pattern = (std::filesystem::path(TemporaryFolder()) / "corvendi-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    mFolder = pattern;
    return true;
}

}  // namespace corvendi
