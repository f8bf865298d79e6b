#pragma once
// GPlayApplicationEventSound: plays the sound the user chose for an application event ("Korvane_ObjectDeleted",
// "Korvane_PaletteActivated", ...); no name stops the sound playing. The sound output is the application shell's:
// it installs a player; until then, and for events without a sound, nothing is heard. It never fails.

using ApplicationEventSoundPlayer = void (*)(const char* eventName);

void GPlayApplicationEventSound(const char* eventName);
// Installs the player (null: silence); returns the previous one.
ApplicationEventSoundPlayer SetApplicationEventSoundPlayer(ApplicationEventSoundPlayer player);
