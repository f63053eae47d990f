// Playback in the studio: Play, Play from the selected measure and Stop through the FluidSynth
// sequencer, with the soundfont chosen in Preferences (kept in the user's configuration folder).
// Failing to play (no soundfont, no audio device) is told in a message naming the cause.
#pragma once

#include <corvendi/Score.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtkmm.h>

#include <functional>
#include <memory>
#include <string>

namespace corvendi::studio {

class StudioPlayer {
  public:
    // `score` names the window's score; `report` shows one line in the status bar; `message`
    // shows an error message box (text, title).
    StudioPlayer(std::shared_ptr<gtk::GtkPlatform> platform,
                 std::function<std::shared_ptr<Score>()> score,
                 std::function<void(const std::string&)> report,
                 std::function<void(const std::string&, const std::string&)> message);
    ~StudioPlayer();

    // Plays from the start of measure `measure`.
    void Play(int32_t measure);
    void Stop();
    bool Playing() const;

    // The soundfont in use: the one chosen in Preferences, else the standard ones.
    // Called with the score tick sounding while playing, and with -1 once playing stopped.
    std::function<void(int32_t tick)> OnPosition;

    const std::string& ChosenSoundFont() const { return mSoundFont; }
    void ChooseSoundFont(const std::string& path);

  private:
    void Follow();
    static std::string PreferencesFile();

    std::shared_ptr<gtk::GtkPlatform> mPlatform;
    std::function<std::shared_ptr<Score>()> mScore;
    std::function<void(const std::string&)> mReport;
    std::function<void(const std::string&, const std::string&)> mMessage;
    std::string mSoundFont;
    std::string mLastError;
    sigc::connection mFollow;
    int32_t mShownMeasure = 0;
};

}  // namespace corvendi::studio
