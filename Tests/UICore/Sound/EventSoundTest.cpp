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
