#include "actors/LevelBackground.h"

#include "actors/BattleContext.h"
#include "actors/GameState.h"

namespace vorlanex {

TLevelBackground::~TLevelBackground()
{
    if (BattleContext* battle = FindBattle(*this); battle && battle->Game.BackgroundSprite == this)
        battle->Game.BackgroundSprite = nullptr;
}

}  // namespace vorlanex
