#pragma once
// The battle context that owns the form's sprite engine: the form's game state, catalogue, input, sound,
// keyboard and display size.

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

private:
    TMainForm& form;
};

}  // namespace vorlanex
