#include "actors/BattleContext.h"

#include "actors/GameState.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

BattleContext* FindBattle(const TSprite& sprite)
{
    return sprite.Engine ? sprite.Engine->Owner : nullptr;
}

BattleContext& Battle(const TSprite& sprite)
{
    if (!sprite.Engine)
        throw EBattleWiring("an actor was created outside a sprite engine");
    BattleContext* context = FindBattle(sprite);
    if (!context)
        throw EBattleWiring("the sprite engine of an actor has no battle context");
    return *context;
}

std::int32_t GameRandom(const TSprite& sprite, std::int32_t n) { return Battle(sprite).Game.Random(n); }

double GameRandomNumber(const TSprite& sprite) { return Battle(sprite).Game.RandomNumber(); }

TPictureCollectionItem* FindPicture(const TSprite& sprite, const char* name)
{
    return Battle(sprite).Pictures.ImageFind(name);
}

}  // namespace vorlanex
