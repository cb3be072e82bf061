#include "shell/settings/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "framework/AtomicFile.h"
#include "framework/DataFile.h"
#include "shell/automation/InputScript.h"

namespace vorlanex {

namespace {

using nlohmann::json;

// A settings file is a few hundred bytes; anything far larger is not one.
constexpr std::uint64_t MaxSettingsBytes = 256 * 1024;

[[noreturn]] void Damaged(const std::string& what) { throw std::runtime_error(what); }

bool BoolMember(const json& root, const char* name, bool fallback)
{
    if (!root.contains(name))
        return fallback;
    if (!root[name].is_boolean())
        Damaged(std::string("\"") + name + "\" must be true or false");
    return root[name].get<bool>();
}

int KeyFromName(const json& value, const std::string& where)
{
    if (!value.is_string())
        Damaged(where + " must name a key, as a string");
    const std::string name = value.get<std::string>();
    const int vk = VirtualKeyFromKeyName(name);
    if (vk <= 0)
        Damaged(where + ": unknown key '" + name + "'");
    if (KeyKeptByTheGame(vk))
        Damaged(where + ": '" + name + "' is kept by the game and cannot be bound");
    return vk;
}

// One action: a key name, or a list of one to three key names.
std::array<int, 3> ActionKeys(const json& value, const std::string& where)
{
    std::array<int, 3> keys{};
    if (!value.is_array())
    {
        keys[0] = KeyFromName(value, where);
        return keys;
    }
    if (value.empty() || value.size() > 3)
        Damaged(where + " needs one to three keys");
    for (std::size_t i = 0; i < value.size(); ++i)
        keys[i] = KeyFromName(value[i], where);
    return keys;
}

void ReadKeys(const json& root, KeyBindings& bindings)
{
    if (!root.contains("keys"))
        return;
    const json& keys = root["keys"];
    if (!keys.is_object())
        Damaged("\"keys\" must be an object with \"player1\" and \"player2\"");
    for (const auto& [seat, actions] : keys.items())
    {
        if (seat != "player1" && seat != "player2")
            Damaged("\"keys\" holds an unknown player \"" + seat + "\"");
        if (!actions.is_object())
            Damaged("\"keys\"." + seat + " must be an object of actions");
        const int player = seat == "player1" ? 1 : 2;
        for (const auto& [action, value] : actions.items())
        {
            const auto& table = PlayerActions(player);
            std::size_t a = 0;
            while (a < table.size() && action != table[a].name)
                ++a;
            if (a == table.size())
                Damaged("\"keys\"." + seat + " holds an unknown action \"" + action + "\"");
            bindings[std::size_t(player - 1)][a] = ActionKeys(value, "\"keys\"." + seat + "." + action);
        }
    }
    const std::vector<std::string> twice = KeysBoundTwice(bindings);
    if (!twice.empty())
    {
        std::string list;
        for (const std::string& key : twice)
            list += (list.empty() ? "" : "; ") + key;
        Damaged("keys bound twice: " + list);
    }
}

std::string EnvironmentFolder(const char* variable, const char* fallbackUnderHome)
{
    const char* set = std::getenv(variable);
    if (set && *set == '/')
        return set;
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/" + fallbackUnderHome;
    return {};
}

}  // namespace

std::string SettingsToJson(const Settings& settings)
{
    json keys = json::object();
    for (int player = 1; player <= 2; ++player)
    {
        json actions = json::object();
        for (std::size_t a = 0; a < PlayerActionCount; ++a)
        {
            json names = json::array();
            for (int vk : settings.Keys[std::size_t(player - 1)][a])
                if (vk != 0)
                    names.push_back(KeyNameFromVirtualKey(vk));
            actions[PlayerActions(player)[a].name] = names.size() == 1 ? names[0] : names;
        }
        keys["player" + std::to_string(player)] = actions;
    }
    const json root = {{"difficulty", settings.Difficulty}, {"music", settings.MusicOn},
                       {"sound", settings.SoundOn},         {"fullscreen", settings.FullScreen},
                       {"keys", keys}};
    return root.dump(2) + "\n";
}

Settings SettingsFromJson(const std::string& text)
{
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded())
        Damaged("not valid JSON");
    if (!root.is_object())
        Damaged("must hold one JSON object");
    Settings s;
    if (root.contains("difficulty"))
    {
        const json& d = root["difficulty"];
        if (!d.is_number_integer() || d.get<std::int64_t>() < 0 || d.get<std::int64_t>() > 3)
            Damaged("\"difficulty\" must be 0, 1, 2 or 3");
        s.Difficulty = d.get<std::int32_t>();
    }
    s.MusicOn = BoolMember(root, "music", s.MusicOn);
    s.SoundOn = BoolMember(root, "sound", s.SoundOn);
    s.FullScreen = BoolMember(root, "fullscreen", s.FullScreen);
    ReadKeys(root, s.Keys);
    return s;
}

SettingsLoad LoadSettingsFile(const std::string& path)
{
    SettingsLoad load;
    if (ClassifyDataFile(path) == DataFileKind::Missing)
        return load;
    try
    {
        const std::vector<std::uint8_t> bytes = ReadDataFile(path, MaxSettingsBytes, "a settings file");
        load.settings = SettingsFromJson(std::string(bytes.begin(), bytes.end()));
        return load;
    }
    catch (const DataFileError& e)
    {
        load.problem = e.what();
    }
    catch (const std::exception& e)
    {
        load.problem = path + ": " + e.what();
    }
    load.settings = Settings{};
    std::error_code ec;
    std::filesystem::rename(path, path + ".bad", ec);
    load.problem += ec ? "; the default settings are used" : "; kept as " + path + ".bad, the default settings are used";
    return load;
}

void SaveSettingsFile(const std::string& path, const Settings& settings)
{
    MakeFolders(std::filesystem::path(path).parent_path().string());
    const std::string text = SettingsToJson(settings);
    AtomicWriteFile(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string DefaultSettingsPath()
{
    const std::string folder = EnvironmentFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? folder : folder + "/vorlanex/settings.json";
}

std::string DefaultPlayerMapsFolder()
{
    const std::string folder = EnvironmentFolder("XDG_DATA_HOME", ".local/share");
    return folder.empty() ? folder : folder + "/vorlanex/maps/";
}

}  // namespace vorlanex
