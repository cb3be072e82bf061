// Function keys and the mouse on the display.

#include <cmath>

#include "actors/MyTank.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

constexpr int VK_F1 = 0x70, VK_F3 = 0x72, VK_F4 = 0x73, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A,
              VK_F12 = 0x7B, VK_RETURN = 0x0D;

bool IsPlayerTank(const TSprite* sprite) { return dynamic_cast<const TMyTank*>(sprite) != nullptr; }

bool Contains(const TRect& r, int x, int y) { return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom; }

}  // namespace

void TMainForm::FormKeyDown(int Key, bool alt)
{
    if (alt)
    {
        // Alt+F4 without a window manager arrives as key presses; Alt+Enter switches window and full screen.
        if (Key == VK_F4)
            QuitRequested = true;
        else if (Key == VK_RETURN && platform.video)
        {
            platform.video->ToggleFullscreen();
            SettingsChanged(true);
        }
        return;
    }
    switch (Key)
    {
    case VK_F1: Game.TickerOn = !Game.TickerOn; break;
    case VK_F3: DXTimer.SetEnabled(!DXTimer.Enabled()); break;
    case VK_F8: Game.Wind = 1; break;
    case VK_F9: Game.Wind = 0; break;
    case VK_F10: Game.PanelOn = !Game.PanelOn; break;
    case VK_F11:
        Game.MusicOn = !Game.MusicOn;
        if (Game.MusicOn)
            PlayWave(WaveFind(DXWaveList, "背景音乐"), false);
        else
            StopWave(WaveFind(DXWaveList, "背景音乐"));
        break;
    case VK_F12: Game.SoundOn = !Game.SoundOn; break;
    default: return;
    }
    if (Key == VK_F11 || Key == VK_F12)
        SettingsChanged();
}

void TMainForm::DXDrawMouseDown(MouseButton Button, int X, int Y)
{
    TSprite* found = SpriteEngine.Engine->SpriteAt(X, Y);
    if (Button == MouseButton::Right && Scene != SceneMenu)
    {
        SavedScene = Scene;
        Scene = SceneMenu;
        static constexpr const char* kPictures[3] = {"CFGLow", "CFGMed", "CFGHigh"};
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
    else if (Scene == SceneMenu)
    {
        for (int i = 0; i < 3; ++i)
            if (Contains(Game.MenuButtons[std::size_t(i)].Rect, X, Y))
            {
                Game.Difficulty = i + 1;
                SettingsChanged();
                Scene = SavedScene;
                PendingScene = 0;
                break;
            }
    }
}

}  // namespace vorlanex
