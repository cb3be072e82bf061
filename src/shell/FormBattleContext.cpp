#include "shell/FormBattleContext.h"

#include <algorithm>

#include "shell/MainForm.h"

namespace vorlanex {

FormBattleContext::FormBattleContext(TMainForm& form)
    : BattleContext(form.Game, form.ImageList.Items, form.DXInput, *form.SpriteEngine.Engine), form(form)
{
}

void FormBattleContext::PlaySound(const std::string& name, bool wait) { form.PlaySound(name, wait); }

void FormBattleContext::ReadKeyboard(std::uint8_t keys[256])
{
    std::fill(keys, keys + 256, 0);
    form.platform.events->ReadKeyboard(keys);
}

std::int32_t FormBattleContext::DisplayWidth() const { return form.DXDraw.Width(); }

std::int32_t FormBattleContext::DisplayHeight() const { return form.DXDraw.Height(); }

}  // namespace vorlanex
