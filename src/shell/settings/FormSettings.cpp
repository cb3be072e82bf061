// The form's side of the settings file: read once at start-up, written again whenever a kept setting changes.
// Runs without a settings file (headless, scripted, --no-settings) do neither.

#include "shell/MainForm.h"
#include "shell/settings/Settings.h"

namespace vorlanex {

namespace {

constexpr std::uint32_t doFullScreenBit = 1u << doFullScreen;

}  // namespace

void TMainForm::LoadSettings()
{
    if (config.settingsFile.empty())
        return;
    const SettingsLoad load = LoadSettingsFile(config.settingsFile);
    if (!load.problem.empty())
        ReportError(load.problem);
    const Settings& s = load.settings;
    Game.Difficulty = s.Difficulty;
    Game.MusicOn = s.MusicOn;
    Game.SoundOn = s.SoundOn;
    // --windowed on the command line wins over the kept full screen.
    if (!config.windowed)
    {
        if (s.FullScreen)
            DXDraw.Options |= doFullScreenBit;
        else
            DXDraw.Options &= ~doFullScreenBit;
    }
    ApplyKeyBindings(s.Keys, DXInput.Keyboard.Assigns);
    keptSettings = std::make_unique<Settings>(s);
}

void TMainForm::SettingsChanged(bool screenModeChanged)
{
    if (!keptSettings)
        return;
    Settings now = *keptSettings;
    now.Difficulty = Game.Difficulty;
    now.MusicOn = Game.MusicOn != 0;
    now.SoundOn = Game.SoundOn != 0;
    // Only a switch the player made counts: a --windowed run leaves the kept mode alone.
    if (screenModeChanged && platform.video)
        now.FullScreen = !platform.video->IsWindowed();
    if (now == *keptSettings)
        return;
    try
    {
        SaveSettingsFile(config.settingsFile, now);
        *keptSettings = now;
    }
    catch (const std::exception& e)
    {
        ReportError(e.what());
    }
}

}  // namespace vorlanex
