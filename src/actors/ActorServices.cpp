// Access to the form's game state for actors, with the quiet answers of a free-standing engine.

#include "actors/ActorServices.h"

#include "framework/SpriteEngine.h"
#include "shell/MainForm.h"

namespace vorlanex {

namespace {

constexpr std::int32_t DefaultScreenWidth = 1024;
constexpr std::int32_t DefaultScreenHeight = 768;

}  // namespace

TMainForm* OwnerForm(const TSprite& sprite)
{
    return sprite.Engine ? sprite.Engine->Owner : nullptr;
}

std::int32_t GameRandom(const TSprite& sprite, std::int32_t n)
{
    TMainForm* form = OwnerForm(sprite);
    return form ? form->Game.Random(n) : 0;
}

double GameRandomNumber(const TSprite& sprite)
{
    TMainForm* form = OwnerForm(sprite);
    return form ? form->Game.RandomNumber() : 0.0;
}

std::uint8_t GameWind(const TSprite& sprite)
{
    TMainForm* form = OwnerForm(sprite);
    return form ? form->Game.Wind : 0;
}

TPictureCollectionItem* FindBuiltinPicture(const TSprite& sprite, const std::string& name)
{
    TMainForm* form = OwnerForm(sprite);
    return form ? form->ImageList.Items.Find(name) : nullptr;
}

std::int32_t ScreenWidth(const TSprite& sprite)
{
    if (TMainForm* form = OwnerForm(sprite))
        return form->DXDraw.Width();
    return sprite.Engine && sprite.Engine->Width > 0 ? sprite.Engine->Width : DefaultScreenWidth;
}

std::int32_t ScreenHeight(const TSprite& sprite)
{
    if (TMainForm* form = OwnerForm(sprite))
        return form->DXDraw.Height();
    return sprite.Engine && sprite.Engine->Height > 0 ? sprite.Engine->Height : DefaultScreenHeight;
}

}  // namespace vorlanex
