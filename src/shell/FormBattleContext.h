#pragma once
// The battle context the form gives its sprite engine: the form's game state, catalogue, input and sound, and
// its battle services.

#include "actors/BattleContext.h"

namespace vorlanex {

class TMainForm;

class FormBattleContext final : public BattleContext
{
public:
    explicit FormBattleContext(TMainForm& form);

    void PlaySound(const std::string& name, bool wait) override;
    void ReadKeyboard(std::uint8_t keys[256]) override;
    std::int32_t DisplayWidth() const override;
    std::int32_t DisplayHeight() const override;
    void KillBulletsOf(const TTank& tank) override;
    void FreezeOtherTeams(std::int32_t team) override;
    void CallPlanes(std::int32_t team, std::int32_t count) override;

private:
    TMainForm& form;
};

}  // namespace vorlanex
