// Function keys and the mouse on the display.

#include <cmath>

#include "actors/MyTank.h"
#include "framework/AssetNames.h"
#include "platform/VirtualKeys.h"
#include "shell/MainForm.h"
#include "shell/editor/MapEditor.h"

namespace vorlanex {

namespace {

bool IsPlayerTank(const TSprite* sprite) { return dynamic_cast<const TMyTank*>(sprite) != nullptr; }

bool Contains(const TRect& r, int x, int y) { return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom; }

}  // namespace

void TMainForm::FormKeyDown(int Key, bool alt)
{
    if (!alt && TestPlaying() && Key == vk::Escape)
    {
        EndTestPlay();
        return;
    }
    if (!alt && Scene == Scene::Editor && Editor && Editor->KeyDown(Key))
        return;
    if (!alt && Scene == Scene::Title && Key == vk::F2)
    {
        OpenEditor("", true);
        return;
    }
    if (alt)
    {
        // Alt+F4 without a window manager arrives as key presses; Alt+Enter switches window and full screen.
        if (Key == vk::F4)
            QuitRequested = true;
        else if (Key == vk::Return)
        {
            platform.video->ToggleFullscreen();
            SettingsChanged(true);
        }
        return;
    }
    switch (Key)
    {
    case vk::F1: Game.TickerOn = !Game.TickerOn; break;
    case vk::F3: DXTimer.SetEnabled(!DXTimer.Enabled()); break;
    case vk::F8: Game.Wind = 1; break;
    case vk::F9: Game.Wind = 0; break;
    case vk::F10: Game.PanelOn = !Game.PanelOn; break;
    case vk::F11:
        Game.MusicOn = !Game.MusicOn;
        if (Game.MusicOn)
            PlayWave(WaveFind(DXWaveList, names::WaveMusic), false);
        else
            StopWave(WaveFind(DXWaveList, names::WaveMusic));
        break;
    case vk::F12: Game.SoundOn = !Game.SoundOn; break;
    default: return;
    }
    if (Key == vk::F11 || Key == vk::F12)
        SettingsChanged();
}

void TMainForm::DXDrawMouseDown(MouseButton Button, int X, int Y)
{
    if (Scene == Scene::Editor)
    {
        InputEvent e;
        e.kind = EventKind::MouseDown;
        e.button = Button;
        e.x = X;
        e.y = Y;
        EditorPointer(e);
        return;
    }
    TSprite* found = SpriteEngine.Engine->SpriteAt(X, Y);
    if (Button == MouseButton::Right && Scene != Scene::Menu)
    {
        SavedScene = Scene;
        Scene = Scene::Menu;
        static constexpr const char* kPictures[3] = {names::CfgLow, names::CfgMed, names::CfgHigh};
        const int centreX = int(std::lround(DXDraw.Width() / 2.0));
        const int centreY = int(std::lround(DXDraw.Height() / 2.0));
        for (int i = 0; i < 3; ++i)
        {
            TMenuButton& button = Game.MenuButtons[std::size_t(i)];
            button.PictureName = kPictures[i];
            button.Rect.Left = centreX - 64;
            button.Rect.Top = centreY + (i - 1) * 40;
            button.Rect.Right = button.Rect.Left + 128;
            button.Rect.Bottom = button.Rect.Top + 32;
        }
    }
    else if (IsPlayerTank(found))
    {
        Game.PanelOn = 1;
    }
    else if (Scene == Scene::Menu)
    {
        for (int i = 0; i < 3; ++i)
            if (Contains(Game.MenuButtons[std::size_t(i)].Rect, X, Y))
            {
                Game.Difficulty = i + 1;
                SettingsChanged();
                Scene = SavedScene;
                PendingScene = Scene::None;
                break;
            }
    }
}

}  // namespace vorlanex
