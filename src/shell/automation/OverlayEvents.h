#pragma once
// Events of the host with scripted input laid over them: scripted keys add to the keyboard,
// a scripted mouse position or focus replaces the host's until the host reports a change of its own.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Platform.h"

namespace vorlanex {

class OverlayEvents final : public Events
{
public:
    explicit OverlayEvents(std::unique_ptr<Events> host) : host(std::move(host)) {}

    bool Poll(InputEvent& out) override;
    void MousePosition(int& x, int& y) override;
    void ReadKeyboard(std::uint8_t keys[256]) override;
    bool HasFocus() override;
    bool QuitPending() override { return host && host->QuitPending(); }

    void SetKey(int vk, bool down) { scriptedKeys[std::size_t(vk & 0xFF)] = down ? 0x80 : 0; }
    bool ScriptedKeyDown(int vk) const { return scriptedKeys[std::size_t(vk & 0xFF)] != 0; }
    void SetMouse(int x, int y) { mouse = {x, y}; }
    void SetFocus(bool focused) { focus = focused; }

private:
    std::unique_ptr<Events> host;
    std::array<std::uint8_t, 256> scriptedKeys{};
    std::optional<std::pair<int, int>> mouse;
    std::optional<bool> focus;
};

}  // namespace vorlanex
