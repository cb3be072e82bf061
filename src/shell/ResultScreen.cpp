// The result screen: victory or defeat, both scores with their ranks, and the choice of the next battle.

#include <algorithm>
#include <filesystem>
#include <string>

#include "actors/MyTank.h"
#include "framework/AssetNames.h"
#include "maps/MapFile.h"
#include "shell/MainForm.h"

namespace vorlanex {


std::string ResultLine(int player, std::int32_t score)
{
    const std::size_t rank = std::size_t(std::min(score / MilestonePoints, 9));
    return "Player" + std::to_string(player) + "得分=" + std::to_string(score) + "  级别=" + RankTitles[rank];
}

void TMainForm::ResultFrame()
{
    TDirectDrawSurface& back = DXDraw.BackSurface;
    const int w = DXDraw.Width(), h = DXDraw.Height();
    DrawBackdropOnBlack(back);
    if (TPictureCollectionItem* logo = ImageList.Items.ImageFind(names::Logo))
        logo->DrawPattern(back, (w - logo->PatternWidth()) / 2, (h - logo->PatternHeight()) / 2, 0);
    if (TPictureCollectionItem* banner = ImageList.Items.ImageFind(Game.LevelCleared ? names::Victory : names::Defeat))
        banner->DrawPatternRotated(back, w / 2, h / 2, banner->PatternWidth(), banner->PatternHeight(), 0, 0.5, 0.5,
                                   FrameCounter * 3);

    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "宋体";
    canvas.Font.Size = 16;
    const int cx = w, cy = h;
    for (const PlayerSeat& seat : Seats(Game))
    {
        const std::string line = ResultLine(seat.Player, seat.Carry.Score);
        const int tw = canvas.TextWidth(line), th = canvas.TextHeight(line);
        const int x = (cx - tw) / 2, y = seat.Player == 1 ? cy / 2 - th : cy / 2 + th;
        canvas.Font.Color = clBlack;
        canvas.TextOut(x, y, line);
        canvas.Font.Color = clYellow;
        canvas.TextOut(x + 1, y + 1, line);
    }
    ReleaseCanvas(canvas);

    if (!DXInput.State(StateButton1))
        return;
    PlaySound(names::WaveSceneMove, false);
    Block(200);
    ++Game.CurrentLevel;
    if (Game.LevelCleared)
    {
        Game.MapFileName = LevelMapFile(Game.CurrentLevel);
        if (Game.MapFileName.empty() || !std::filesystem::exists(ResolveFileName(Game.MapFileName)))
        {
            Game.CurrentLevel = 1;
            Game.MapFileName = LevelMapFile(Game.CurrentLevel);
        }
    }
    else
    {
        for (PlayerSeat seat : Seats(Game))
        {
            seat.Carry.Score = 0;
            seat.LifeDebt = 0;
        }
    }
    ChangeScene(Scene::Battle);
}

}  // namespace vorlanex
