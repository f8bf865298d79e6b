#include "Sound/GDesktopSoundPlayer.h"

#include "Preferences/GPreference.h"
#include "Sound/GPlayApplicationEventSound.h"

#include <canberra.h>

#include <mutex>

namespace {

// The one connection to the sound system, made on the first sound; null when there is none.
ca_context* context() {
    static ca_context* connection = [] {
        ca_context* made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS)
            return static_cast<ca_context*>(nullptr);
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Korvane", nullptr);
        return made;
    }();
    return connection;
}

std::mutex playing;

} // namespace

void GDesktopSoundPlayer::Install() {
    if (const ApplicationEventSoundPlayer previous = SetApplicationEventSoundPlayer(Play))
        SetApplicationEventSoundPlayer(previous);
}

void GDesktopSoundPlayer::Play(const char* eventName) {
    const std::lock_guard<std::mutex> lock(playing);
    ca_context* sounds = context();
    if (sounds == nullptr)
        return;
    if (eventName == nullptr) {
        ca_context_cancel(sounds, 0);
        return;
    }
    const GString sound = GPreference::ReadPrefString("Sounds", eventName, eventName);
    ca_context_play(sounds, 0, CA_PROP_EVENT_ID, static_cast<const char*>(sound), CA_PROP_EVENT_DESCRIPTION, eventName,
                    nullptr);
}
