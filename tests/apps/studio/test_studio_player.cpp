// Playback from the studio on the headless platform's virtual sequencer: playing from a chosen
// measure, the playing measure reported, stopping; and the message when there is no soundfont.
#include <corvendi/Score.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "StudioPlayer.h"

namespace corvendi::studio {
namespace {

TEST(StudioPlayer, PlaysFromTheMeasureAndTellsWhenThereIsNoSoundFont) {
    const auto config = std::filesystem::temp_directory_path() / "corvendi-studio-player-test";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    unsetenv("CORVENDI_SOUNDFONT");
    auto platform = std::make_shared<gtk::GtkPlatform>();
    SetPlatform(platform);
    auto score = Score::Create();
    ASSERT_TRUE(score->OpenFile(std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco"));
    std::string status;
    std::vector<std::string> messages;
    StudioPlayer player(
        platform, [&] { return score; }, [&](const std::string& text) { status = text; },
        [&](const std::string& text, const std::string&) { messages.push_back(text); });

    player.ChooseSoundFont("/nonexistent/sound.sf2");
    player.Play(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("No soundfont"), std::string::npos) << messages[0];
    EXPECT_FALSE(player.Playing());

    // Any readable file passes as the soundfont; the virtual sequencer plays without sound.
    player.ChooseSoundFont(std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco");
    platform->SetSequencerFactory({});
    player.Play(3);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(player.Playing());
    EXPECT_EQ(status, "Playing measure 3");
    // The choice was remembered for the next start.
    StudioPlayer next(
        platform, [&] { return score; }, [](const std::string&) {},
        [](const std::string&, const std::string&) {});
    EXPECT_EQ(next.ChosenSoundFont(), player.ChosenSoundFont());
    player.Stop();
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(status, "");
    SetPlatform(nullptr);
    std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace corvendi::studio
