// The players' panel over the battle, with the score-milestone life rule it applies first.

#include <algorithm>
#include <cmath>
#include <string>

#include "actors/MyTank.h"
#include "framework/AssetNames.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// Where each player's panel stands and the colour of its life bar, player 1 first.
constexpr TColor BarColors[PlayerCount] = {clRed, clYellow};

int PanelLeft(int player, int displayWidth) { return player == 1 ? 3 : displayWidth / 2; }

// Every MilestonePoints points earn a life: paid back against the debt first, at most 10 spare lives.
void ApplyMilestone(PlayerSeat seat)
{
    TMyTank* tank = seat.Tank;
    if (!seat.Alive || !tank || tank->Score / MilestonePoints == tank->Milestone)
        return;
    tank->Milestone = tank->Score / MilestonePoints;
    if (seat.LifeDebt <= 0)
        ++seat.Lives;
    else
        --seat.LifeDebt;
    seat.Lives = std::min(seat.Lives, 10);
}

}  // namespace

void TMainForm::ApplyScoreMilestones()
{
    for (PlayerSeat seat : Seats(Game))
        ApplyMilestone(seat);
}

void TMainForm::DrawStatusPanel()
{
    ApplyScoreMilestones();
    if (!Game.PanelOn)
        return;
    const int anchorY = 28;
    TDirectDrawSurface& back = DXDraw.BackSurface;
    const auto seats = Seats(Game);
    for (const PlayerSeat& p : seats)
    {
        const int left = PanelLeft(p.Player, DXDraw.Width());
        const bool offering = p.Alive && p.Tank && p.Tank->GiveLife;
        if (TPictureCollectionItem* icon = ImageList.Items.ImageFind(offering ? names::SmallTank1 : names::SmallTank2))
            for (int i = 0; i < p.Lives - p.LifeDebt; ++i)
                icon->DrawPattern(back, left + 16 * i, anchorY, 0);
        if (p.Alive && p.Tank)
            p.Carry.Score = p.Tank->Score;
    }
    TDirectDrawSurfaceCanvas& canvas = SurfaceCanvas(back);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "宋体";
    canvas.Font.Size = 12;
    for (const PlayerSeat& p : seats)
    {
        const int left = PanelLeft(p.Player, DXDraw.Width());
        const std::string text = std::to_string(p.Carry.Score) + (p.Alive ? "" : "  GAME OVER");
        canvas.Font.Color = clBlack;
        canvas.TextOut(left - 1, anchorY + 17, text);
        canvas.Font.Color = clWhite;
        canvas.TextOut(left, anchorY + 18, text);
    }
    for (const PlayerSeat& p : seats)
    {
        if (!p.Alive || !p.Tank)
            continue;
        const int left = PanelLeft(p.Player, DXDraw.Width());
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = RGBColor(192, 192, 192);
        canvas.FillRect({left, anchorY - 8, left + 52, anchorY - 2});
        // Not clamped: a life above the maximum runs past the frame, as it always did.
        canvas.Brush.Color = BarColors[p.Player - 1];
        const int barRight = left + int(std::trunc(double(p.Tank->Life) * 50 / Game.MaxLife));
        canvas.FillRect({left + 1, anchorY - 7, barRight, anchorY - 3});
    }
    ReleaseCanvas(canvas);
}

}  // namespace vorlanex
