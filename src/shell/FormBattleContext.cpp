#include "shell/FormBattleContext.h"

#include <algorithm>

#include "shell/MainForm.h"

namespace vorlanex {

FormBattleContext::FormBattleContext(TMainForm& form)
    : BattleContext(form.Game, form.ImageList.Items, form.DXInput), form(form)
{
}

void FormBattleContext::PlaySound(const std::string& name, bool wait) { form.PlaySound(name, wait); }

void FormBattleContext::ReadKeyboard(std::uint8_t keys[256])
{
    std::fill(keys, keys + 256, 0);
    if (form.platform.events)
        form.platform.events->ReadKeyboard(keys);
}

std::int32_t FormBattleContext::DisplayWidth() const { return form.DXDraw.Width(); }

std::int32_t FormBattleContext::DisplayHeight() const { return form.DXDraw.Height(); }

void FormBattleContext::KillBulletsOf(const TTank& tank) { form.KillBulletsOf(tank); }

void FormBattleContext::FreezeOtherTeams(std::int32_t team) { form.FreezeOtherTeams(team); }

void FormBattleContext::CallPlanes(std::int32_t team, std::int32_t count) { form.CallPlanes(team, count); }

}  // namespace vorlanex
