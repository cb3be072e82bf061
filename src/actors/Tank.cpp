#include "actors/Tank.h"

#include <nlohmann/json.hpp>

#include "framework/PictureCollection.h"
#include "shell/MainForm.h"

namespace vorlanex {

TTank::TTank(TSprite* parent) : TImageSprite(parent)
{
    if (Engine && Engine->Owner)
        Image = Engine->Owner->ImageList.Items.ImageFind("Blink");
    if (Image)
    {
        Width = Image->PatternWidth();
        Height = Image->PatternHeight();
    }
    PixelExact = false;
    X = 200;
    Y = 240 - Height / 2;
    SetZ(1);
    Collidable = false;
    FrameStart = 0;
    FrameLooped = true;
    FrameSpeed = 0.01;
}

void TTank::DumpFields(nlohmann::json& out) const
{
    TImageSprite::DumpFields(out);
    out["State"] = State;
    out["Team"] = Team;
    out["Age"] = Age;
    out["Score"] = Score;
    out["Direction"] = Direction;
    out["Speed"] = Speed;
    out["Life"] = Life;
    out["AllPass"] = AllPass;
    out["FreezeTime"] = FreezeTime;
    out["HideTime"] = HideTime;
    out["SuperTime"] = SuperTime;
    out["LiveBullets"] = LiveBullets;
    out["MaxBullets"] = MaxBullets;
    out["BulletSpeed"] = BulletSpeed;
    out["BulletPower"] = BulletPower;
    out["BulletSize"] = BulletSize;
    out["Spread"] = Spread;
    out["ShotDelay"] = ShotDelay;
    out["LastShot"] = LastShot;
    out["Clever"] = Clever;
}

TMyTank::TMyTank(TSprite* parent) : TTank(parent) { Milestone = Score / 50000; }

void TMyTank::DumpFields(nlohmann::json& out) const
{
    TTank::DumpFields(out);
    out["FireKey"] = FireKey;
    out["UpKey"] = UpKey;
    out["DownKey"] = DownKey;
    out["LeftKey"] = LeftKey;
    out["RightKey"] = RightKey;
    out["KeepKey"] = KeepKey;
    out["GiveKey"] = GiveKey;
    out["GiveLife"] = GiveLife;
    out["Milestone"] = Milestone;
}

}  // namespace vorlanex
