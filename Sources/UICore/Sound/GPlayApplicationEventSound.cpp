#include "Sound/GPlayApplicationEventSound.h"

#include <atomic>

namespace {

std::atomic<ApplicationEventSoundPlayer> installedPlayer{nullptr};

} // namespace

void GPlayApplicationEventSound(const char* eventName) {
    if (const ApplicationEventSoundPlayer player = installedPlayer.load())
        player(eventName);
}

ApplicationEventSoundPlayer SetApplicationEventSoundPlayer(ApplicationEventSoundPlayer player) {
    return installedPlayer.exchange(player);
}
