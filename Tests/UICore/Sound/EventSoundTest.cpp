#include "Sound/GDesktopSoundPlayer.h"
#include "Sound/GPlayApplicationEventSound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> played;

} // namespace

TEST(GPlayApplicationEventSound, SilentUntilAPlayerIsInstalled) {
    GPlayApplicationEventSound("Korvane_ObjectDeleted"); // nothing installed: nothing happens
    GPlayApplicationEventSound(nullptr);
    const ApplicationEventSoundPlayer previous =
        SetApplicationEventSoundPlayer([](const char* name) { played.push_back(name != nullptr ? name : "<stop>"); });
    EXPECT_EQ(previous, nullptr);
    GPlayApplicationEventSound("Korvane_AboutBox");
    GPlayApplicationEventSound(nullptr);
    SetApplicationEventSoundPlayer(previous);
    GPlayApplicationEventSound("Korvane_PaletteActivated");
    EXPECT_EQ(played, (std::vector<std::string>{"Korvane_AboutBox", "<stop>"}));
}

TEST(EventSound, TheDesktopPlayerIsSilentWithoutASoundSystemOrSound) {
    // The machine's sound system may be missing, the theme may lack the sound: neither fails or waits.
    GDesktopSoundPlayer::Play("Korvane_NoSuchEvent");
    GDesktopSoundPlayer::Play(nullptr);
    const ApplicationEventSoundPlayer test = [](const char*) {
    };
    const ApplicationEventSoundPlayer previous = SetApplicationEventSoundPlayer(test);
    GDesktopSoundPlayer::Install();
    EXPECT_EQ(SetApplicationEventSoundPlayer(previous), test) << "an installed player stays";
}
