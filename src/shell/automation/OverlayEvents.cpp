#include "shell/automation/OverlayEvents.h"

namespace vorlanex {

bool OverlayEvents::Poll(InputEvent& out)
{
    if (!host || !host->Poll(out))
        return false;
    if (out.kind == EventKind::MouseMove || out.kind == EventKind::MouseDown || out.kind == EventKind::MouseUp)
        mouse.reset();
    if (out.kind == EventKind::FocusGained || out.kind == EventKind::FocusLost)
        focus.reset();
    return true;
}

void OverlayEvents::MousePosition(int& x, int& y)
{
    if (mouse)
    {
        x = mouse->first;
        y = mouse->second;
        return;
    }
    x = y = 0;
    if (host)
        host->MousePosition(x, y);
}

void OverlayEvents::ReadKeyboard(std::uint8_t keys[256])
{
    if (host)
        host->ReadKeyboard(keys);
    else
        std::fill(keys, keys + 256, std::uint8_t(0));
    for (std::size_t i = 0; i < 256; ++i)
        keys[i] |= scriptedKeys[i];
}

bool OverlayEvents::HasFocus()
{
    if (focus)
        return *focus;
    return host ? host->HasFocus() : true;
}

}  // namespace vorlanex
