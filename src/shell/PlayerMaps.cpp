#include "shell/PlayerMaps.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "shell/MainForm.h"

namespace vorlanex {

namespace {

bool EndsInMap(const std::string& name)
{
    if (name.size() < 5 || name[0] == '.')
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".map";
}

}  // namespace

std::vector<std::string> ListPlayerMaps(const std::string& folder)
{
    std::vector<std::string> maps;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (EndsInMap(it->path().filename().string()) && it->is_regular_file(ec))
            maps.push_back(it->path().string());
    std::sort(maps.begin(), maps.end());
    return maps;
}

std::string NewPlayerMapName(const std::string& folder)
{
    const std::filesystem::path base(folder);
    for (int n = 1;; ++n)
    {
        char name[32];
        std::snprintf(name, sizeof name, "map%03d.map", n);
        std::error_code ec;
        if (!std::filesystem::exists(base / name, ec))
            return (base / name).string();
    }
}

// With --maps the campaign is the folder's maps; without (or with an empty folder) the game's own levels.
std::string TMainForm::LevelMapFile(std::int32_t level)
{
    if (campaignMaps.empty())
        return LevelMapFileName(Game.AppDir, level);
    if (level < 1 || std::size_t(level) > campaignMaps.size())
        return {};
    return campaignMaps[std::size_t(level - 1)];
}

void TMainForm::FindCampaignMaps()
{
    if (!config.mapsCampaign)
        return;
    campaignMaps = ListPlayerMaps(config.playerMapsDir);
    if (campaignMaps.empty())
        ReportError(config.playerMapsDir + ": holds no map files; the game's own levels are played");
}

}  // namespace vorlanex
