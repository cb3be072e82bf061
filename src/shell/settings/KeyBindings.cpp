#include "shell/settings/KeyBindings.h"

#include <map>

#include "shell/automation/InputScript.h"

namespace vorlanex {

namespace {

constexpr std::array<PlayerAction, PlayerActionCount> kPlayer1 = {{
    {"up", StateUp}, {"down", StateDown}, {"left", StateLeft}, {"right", StateRight},
    {"fire", StateButton1}, {"offer", StateButton8}, {"withdraw", StateButton10},
}};
constexpr std::array<PlayerAction, PlayerActionCount> kPlayer2 = {{
    {"up", StateButton2}, {"down", StateButton3}, {"left", StateButton4}, {"right", StateButton5},
    {"fire", StateButton6}, {"offer", StateButton7}, {"withdraw", StateButton9},
}};

constexpr int VK_MENU = 0x12, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_F1 = 0x70, VK_F24 = 0x87;

}  // namespace

const std::array<PlayerAction, PlayerActionCount>& PlayerActions(int player)
{
    return player == 1 ? kPlayer1 : kPlayer2;
}

KeyBindings DefaultKeyBindings()
{
    const TKeyAssignList defaults = KeyAssignsFromBlock(DefaultKeyAssignBlock());
    KeyBindings bindings{};
    for (int player = 1; player <= 2; ++player)
        for (std::size_t a = 0; a < PlayerActionCount; ++a)
        {
            std::size_t slot = 0;
            for (std::int32_t key : defaults[std::size_t(PlayerActions(player)[a].state)])
                if (key != 0)
                    bindings[std::size_t(player - 1)][a][slot++] = key;
        }
    return bindings;
}

std::vector<std::string> KeysBoundTwice(const KeyBindings& bindings)
{
    std::map<int, std::vector<std::string>> users;
    for (int player = 1; player <= 2; ++player)
        for (std::size_t a = 0; a < PlayerActionCount; ++a)
        {
            const std::string who = "player " + std::to_string(player) + " " + PlayerActions(player)[a].name;
            for (int key : bindings[std::size_t(player - 1)][a])
                if (key != 0 && (users[key].empty() || users[key].back() != who))
                    users[key].push_back(who);
        }
    std::vector<std::string> twice;
    for (const auto& [key, who] : users)
    {
        if (who.size() < 2)
            continue;
        std::string line = KeyNameFromVirtualKey(key) + " (";
        for (std::size_t i = 0; i < who.size(); ++i)
            line += (i ? ", " : "") + who[i];
        twice.push_back(line + ")");
    }
    return twice;
}

bool KeyKeptByTheGame(int vk)
{
    return (vk >= VK_F1 && vk <= VK_F24) || vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
}

void ApplyKeyBindings(const KeyBindings& bindings, TKeyAssignList& assigns)
{
    for (int player = 1; player <= 2; ++player)
        for (std::size_t a = 0; a < PlayerActionCount; ++a)
        {
            auto& slots = assigns[std::size_t(PlayerActions(player)[a].state)];
            for (std::size_t k = 0; k < 3; ++k)
                slots[k] = bindings[std::size_t(player - 1)][a][k];
        }
}

}  // namespace vorlanex
