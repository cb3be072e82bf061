// The players' panel over the battle, with the score-milestone life rule it applies first.

#include <algorithm>
#include <cmath>
#include <string>

#include "actors/MyTank.h"
#include "framework/AssetNames.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

struct PlayerView
{
    std::uint8_t alive;
    TMyTank* tank;
    std::int32_t& lives;
    std::int32_t& lifeDebt;
    TCarry& carry;
    TColor barColor;
    int anchorX;
};

// Every MilestonePoints points earn a life: paid back against the debt first, at most 10 spare lives.
void ApplyMilestone(std::uint8_t alive, TMyTank* tank, std::int32_t& lives, std::int32_t& lifeDebt)
{
    if (!alive || !tank || tank->Score / MilestonePoints == tank->Milestone)
        return;
    tank->Milestone = tank->Score / MilestonePoints;
    if (lifeDebt <= 0)
        ++lives;
    else
        --lifeDebt;
    lives = std::min(lives, 10);
}

}  // namespace

void TMainForm::ApplyScoreMilestones()
{
    ApplyMilestone(Game.Player1Alive, Game.Player1Tank, Game.Lives1, Game.LifeDebt1);
    ApplyMilestone(Game.Player2Alive, Game.Player2Tank, Game.Lives2, Game.LifeDebt2);
}

void TMainForm::DrawStatusPanel()
{
    ApplyScoreMilestones();
    if (!Game.PanelOn)
        return;
    PlayerView players[2] = {
        {Game.Player1Alive, Game.Player1Tank, Game.Lives1, Game.LifeDebt1, Game.Carry1, clRed, 3},
        {Game.Player2Alive, Game.Player2Tank, Game.Lives2, Game.LifeDebt2, Game.Carry2, clYellow, DXDraw.Width() / 2},
    };
    const int anchorY = 28;
    TDirectDrawSurface& back = DXDraw.BackSurface;
    for (PlayerView& p : players)
    {
        const bool offering = p.alive && p.tank && p.tank->GiveLife;
        if (TPictureCollectionItem* icon = ImageList.Items.ImageFind(offering ? names::SmallTank1 : names::SmallTank2))
            for (int i = 0; i < p.lives - p.lifeDebt; ++i)
                icon->DrawPattern(back, p.anchorX + 16 * i, anchorY, 0);
        if (p.alive && p.tank)
            p.carry.Score = p.tank->Score;
    }
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "宋体";
    canvas.Font.Size = 12;
    for (PlayerView& p : players)
    {
        const std::string text = std::to_string(p.carry.Score) + (p.alive ? "" : "  GAME OVER");
        canvas.Font.Color = clBlack;
        canvas.TextOut(p.anchorX - 1, anchorY + 17, text);
        canvas.Font.Color = clWhite;
        canvas.TextOut(p.anchorX, anchorY + 18, text);
    }
    for (PlayerView& p : players)
    {
        if (!p.alive || !p.tank)
            continue;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = RGBColor(192, 192, 192);
        canvas.FillRect({p.anchorX, anchorY - 8, p.anchorX + 52, anchorY - 2});
        // Not clamped: a life above the maximum runs past the frame, as it always did.
        canvas.Brush.Color = p.barColor;
        const int barRight = p.anchorX + int(std::trunc(double(p.tank->Life) * 50 / Game.MaxLife));
        canvas.FillRect({p.anchorX + 1, anchorY - 7, barRight, anchorY - 3});
    }
    ReleaseCanvas(canvas);
}

}  // namespace vorlanex
