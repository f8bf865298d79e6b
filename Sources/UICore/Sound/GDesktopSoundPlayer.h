#pragma once
// GDesktopSoundPlayer: plays application events through the desktop's event sounds (libcanberra with the
// freedesktop sound theme). An event plays the theme sound its setting names (section "Sounds", the event's name
// as the value), or the theme sound of its own name; where there is no sound system or no such sound, nothing is
// heard.

class GDesktopSoundPlayer {
public:
    // Becomes the player of application event sounds, unless one (a test's) is installed already.
    static void Install();
    // Plays the event's sound; null stops what is playing.
    static void Play(const char* eventName);
};
