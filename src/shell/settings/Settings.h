#pragma once
// What a player sets and expects to find again at the next start: difficulty, music and sound, window or full
// screen, and both players' keys, kept in settings.json under the player's configuration folder.

#include <cstdint>
#include <optional>
#include <string>

#include "shell/settings/KeyBindings.h"

namespace vorlanex {

struct Settings
{
    std::int32_t Difficulty = 0;   // 0 as at the first start, 1 low, 2 medium, 3 high
    bool MusicOn = true;
    bool SoundOn = true;
    bool FullScreen = true;
    KeyBindings Keys = DefaultKeyBindings();

    bool operator==(const Settings&) const = default;
};

// The settings as JSON text, every key binding written out so the file shows what can be changed.
std::string SettingsToJson(const Settings& settings);

// Throws std::runtime_error saying what is wrong: bad JSON, a wrong type, an unknown or absurd value, a key
// bound twice or kept by the game. Members left out keep their defaults.
Settings SettingsFromJson(const std::string& text);

struct SettingsLoad
{
    Settings settings;
    // Set when the file was there but damaged: names the file, the fault and where the file went.
    std::string problem;
};

// Reads the settings file. A missing file gives the defaults; a damaged one is renamed to "<path>.bad" (so it
// is reported only once) and gives the defaults.
SettingsLoad LoadSettingsFile(const std::string& path);

// Writes atomically, making the folder when needed; throws FileSaveError.
void SaveSettingsFile(const std::string& path, const Settings& settings);

// $XDG_CONFIG_HOME/vorlanex/settings.json, or ~/.config/vorlanex/settings.json; empty without either variable.
std::string DefaultSettingsPath();
// $XDG_DATA_HOME/vorlanex/maps/, or ~/.local/share/vorlanex/maps/; empty without either variable.
std::string DefaultPlayerMapsFolder();

}  // namespace vorlanex
