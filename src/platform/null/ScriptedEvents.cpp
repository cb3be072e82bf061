#include <algorithm>

#include "platform/VirtualKeys.h"
#include "platform/null/NullPlatform.h"

namespace vorlanex {

namespace {

constexpr int FirstSidedModifier = vk::LeftShift;
constexpr int LastSidedModifier = vk::RightAlt;

// The generic code that a left/right modifier code also sets, or 0.
int GenericModifier(int vk)
{
    if (vk < FirstSidedModifier || vk > LastSidedModifier)
        return 0;
    static constexpr int generic[3] = {vk::Shift, vk::Control, vk::Alt};
    return generic[(vk - FirstSidedModifier) / 2];
}

}  // namespace

bool ScriptedEvents::Poll(InputEvent& out)
{
    if (queue.empty())
        return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

bool ScriptedEvents::QuitPending()
{
    return std::any_of(queue.begin(), queue.end(), [](const InputEvent& e) {
        return e.kind == EventKind::Quit || (e.kind == EventKind::KeyDown && e.key == vk::F4 && e.alt);
    });
}

void ScriptedEvents::MousePosition(int& x, int& y)
{
    x = mouseX;
    y = mouseY;
}

void ScriptedEvents::ReadKeyboard(std::uint8_t out[256])
{
    std::copy(keys.begin(), keys.end(), out);
}

void ScriptedEvents::PressKey(int vk)
{
    if (vk < 1 || vk > 255)
        return;
    keys[std::size_t(vk)] = 0x80;
    if (const int generic = GenericModifier(vk))
        keys[std::size_t(generic)] = 0x80;
}

// The generic modifier stays down while the key of the other side still is.
void ScriptedEvents::ReleaseKey(int vk)
{
    if (vk < 1 || vk > 255)
        return;
    keys[std::size_t(vk)] = 0;
    if (const int generic = GenericModifier(vk))
    {
        const int otherSide = ((vk - FirstSidedModifier) ^ 1) + FirstSidedModifier;
        if (!IsKeyDown(otherSide))
            keys[std::size_t(generic)] = 0;
    }
}

void ScriptedEvents::SetKeyboard(const std::uint8_t state[256])
{
    std::copy(state, state + 256, keys.begin());
}

}  // namespace vorlanex
