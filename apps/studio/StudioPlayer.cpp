#include "StudioPlayer.h"

#include <corvendi/GlobalEvents.h>
#include <corvendi/fluidsynth/FluidSynthSequencer.h>
#include <corvendi/fluidsynth/SoundFont.h>

#include <algorithm>

namespace corvendi::studio {

namespace {
constexpr int kFollowMs = 100;
constexpr const char* kGroup = "Playback";
constexpr const char* kSoundFontKey = "SoundFont";
}  // namespace

StudioPlayer::StudioPlayer(std::shared_ptr<gtk::GtkPlatform> platform,
                           std::function<std::shared_ptr<Score>()> score,
                           std::function<void(const std::string&)> report,
                           std::function<void(const std::string&, const std::string&)> message)
    : mPlatform(std::move(platform)),
      mScore(std::move(score)),
      mReport(std::move(report)),
      mMessage(std::move(message)) {
    auto preferences = Glib::KeyFile::create();
    try {
        preferences->load_from_file(PreferencesFile());
        mSoundFont = preferences->get_string(kGroup, kSoundFontKey);
    } catch (const Glib::Error&) {
        // No preferences yet: the standard soundfonts.
    }
    mPlatform->SetSequencerFactory([this] {
        std::string lookedFor;
        auto sequencer = std::make_unique<fluidsynth::FluidSynthSequencer>(
            fluidsynth::FindSoundFont(mSoundFont, lookedFor));
        return sequencer;
    });
}

StudioPlayer::~StudioPlayer() { mFollow.disconnect(); }

std::string StudioPlayer::PreferencesFile() {
    return Glib::build_filename(Glib::get_user_config_dir(), "corvendi-studio", "preferences.ini");
}

void StudioPlayer::ChooseSoundFont(const std::string& path) {
    mSoundFont = path;
    auto preferences = Glib::KeyFile::create();
    try {
        preferences->load_from_file(PreferencesFile());
    } catch (const Glib::Error&) {
    }
    preferences->set_string(kGroup, kSoundFontKey, path);
    try {
        g_mkdir_with_parents(Glib::path_get_dirname(PreferencesFile()).c_str(), 0700);
        preferences->save_to_file(PreferencesFile());
    } catch (const Glib::Error& error) {
        mMessage("The preferences could not be saved: " + std::string(error.what()), "Preferences");
    }
}

void StudioPlayer::Play(int32_t measure) {
    const std::shared_ptr<Score> score = mScore();
    if (!score) return;
    std::string lookedFor;
    if (fluidsynth::FindSoundFont(mSoundFont, lookedFor).empty()) {
        mMessage("No soundfont to play with. Looked for " + lookedFor +
                     ". Choose one with Play ▸ Choose Soundfont, or install fluid-soundfont-gm.",
                 "Play");
        return;
    }
    const int32_t from = score->AllGlobals()->MeasureTime(std::max(measure, 1));
    score->PlayScore(false, true, 0, from);
    if (!score->Playing()) {
        mMessage(
            "The score could not be played: no audio output could be opened, or the "
            "soundfont could not be read.",
            "Play");
        return;
    }
    mShownMeasure = 0;
    mFollow.disconnect();
    mFollow = Glib::signal_timeout().connect(
        [this] {
            Follow();
            return Playing();
        },
        kFollowMs);
    Follow();
}

void StudioPlayer::Stop() {
    mFollow.disconnect();
    if (const std::shared_ptr<Score> score = mScore()) score->PlayScore(true);
    mReport("");
    if (OnPosition) OnPosition(-1);
}

bool StudioPlayer::Playing() const {
    const std::shared_ptr<Score> score = mScore();
    return score && score->Playing() && score->PlayPosition() >= 0;
}

void StudioPlayer::Follow() {
    const std::shared_ptr<Score> score = mScore();
    if (!score || !Playing()) {
        mReport("");
        if (OnPosition) OnPosition(-1);
        return;
    }
    if (OnPosition) OnPosition(score->PlayPosition());
    const int32_t measure =
        score->AllGlobals()->MeasureInfo(std::max(score->PlayPosition(), 0)).Number;
    if (measure == mShownMeasure) return;
    mShownMeasure = measure;
    mReport("Playing measure " + std::to_string(measure));
}

}  // namespace corvendi::studio
