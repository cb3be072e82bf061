#include "shell/automation/StateDump.h"

#include <cstdio>
#include <fstream>
#include <unordered_map>
#include <stdexcept>

#include "shell/MainForm.h"

namespace vorlanex {

namespace {

nlohmann::json CarryJson(const TCarry& c)
{
    return {{"Score", c.Score},           {"Speed", c.Speed},           {"Life", c.Life},
            {"AllPass", c.AllPass},       {"MaxBullets", c.MaxBullets}, {"BulletSpeed", c.BulletSpeed},
            {"BulletPower", c.BulletPower}, {"BulletSize", c.BulletSize}, {"Spread", c.Spread},
            {"ShotDelay", c.ShotDelay}};
}

nlohmann::json CellJson(const TCellPoint& p) { return nlohmann::json::array({p.Column, p.Row}); }

nlohmann::json GlobalsJson(const GameState& g, const TSpriteEngine& engine)
{
    nlohmann::json spawn = nlohmann::json::array();
    for (const TCellPoint& p : g.EnemySpawnPoints)
        spawn.push_back(CellJson(p));
    nlohmann::json buttons = nlohmann::json::array();
    for (const TMenuButton& b : g.MenuButtons)
        buttons.push_back({{"Left", b.Rect.Left}, {"Top", b.Rect.Top}, {"Right", b.Rect.Right},
                           {"Bottom", b.Rect.Bottom}, {"Picture", b.PictureName}});
    auto indexOf = [&engine](const void* sprite) -> nlohmann::json {
        for (int i = 0; sprite && i < engine.ChildCount(); ++i)
            if (engine.Child(i) == sprite)
                return i;
        return nullptr;
    };
    return {
        {"AppDir", g.AppDir},
        {"MapFileName", g.MapFileName},
        {"CurrentLevel", g.CurrentLevel},
        {"Difficulty", g.Difficulty},
        {"BaseEnemyCount", g.BaseEnemyCount},
        {"SpawnPeriod", g.SpawnPeriod},
        {"GemChance", g.GemChance},
        {"EnemyTurnChance", g.EnemyTurnChance},
        {"MaxLife", g.MaxLife},
        {"EffectDuration", g.EffectDuration},
        {"GemLifetime", g.GemLifetime},
        {"CornerTolerance", g.CornerTolerance},
        {"StartLives", g.StartLives},
        {"Lives1", g.Lives1},
        {"Lives2", g.Lives2},
        {"LifeDebt1", g.LifeDebt1},
        {"LifeDebt2", g.LifeDebt2},
        {"PlayerLosses", g.PlayerLosses},
        {"Player1Alive", g.Player1Alive},
        {"Player2Alive", g.Player2Alive},
        {"Player1Tank", indexOf(g.Player1Tank)},
        {"Player2Tank", indexOf(g.Player2Tank)},
        {"Carry1", CarryJson(g.Carry1)},
        {"Carry2", CarryJson(g.Carry2)},
        {"LevelCleared", g.LevelCleared},
        {"EnemiesDestroyed", g.EnemiesDestroyed},
        {"EnemiesSpawned", g.EnemiesSpawned},
        {"GemsSpawned", g.GemsSpawned},
        {"EnemySpawnPoints", spawn},
        {"PlayerStart", CellJson(g.PlayerStart)},
        {"Wind", g.Wind},
        {"SnowOn", g.SnowOn},
        {"SoundOn", g.SoundOn},
        {"MusicOn", g.MusicOn},
        {"PanelOn", g.PanelOn},
        {"TickerOn", g.TickerOn},
        {"TickerLine", g.TickerLine},
        {"TickerX", g.TickerX},
        {"LoadProgress", g.LoadProgress},
        {"LoadTotal", g.LoadTotal},
        {"MenuButtons", buttons},
    };
}

// Writes a sprite's own field list into its JSON object; references become indices into the sprite list.
class JsonFieldSink final : public FieldSink
{
public:
    JsonFieldSink(nlohmann::json& out, const std::unordered_map<const TSprite*, int>& indices)
        : out(out), indices(indices)
    {
    }
    void Int(const char* name, std::int64_t value) override { out[name] = value; }
    void Real(const char* name, double value) override { out[name] = value; }
    void Flag(const char* name, bool value) override { out[name] = value; }
    void Ref(const char* name, const TSprite* sprite) override
    {
        const auto found = sprite ? indices.find(sprite) : indices.end();
        out[name] = found == indices.end() ? nlohmann::json(nullptr) : nlohmann::json(found->second);
    }

private:
    nlohmann::json& out;
    const std::unordered_map<const TSprite*, int>& indices;
};

nlohmann::json SpriteJson(TSprite& s, const std::unordered_map<const TSprite*, int>& indices)
{
    nlohmann::json j = {{"class", s.ClassName()}, {"X", s.X},        {"Y", s.Y},
                        {"Z", s.Z},               {"Width", s.Width}, {"Height", s.Height},
                        {"IsDead", s.IsDead},     {"Visible", s.Visible}, {"Collidable", s.Collidable},
                        {"Image", nullptr},       {"Pattern", nullptr}};
    if (auto* image = dynamic_cast<TImageSprite*>(&s))
    {
        if (image->Image)
            j["Image"] = image->Image->Name();
        j["Pattern"] = image->PatternIndex();
    }
    else if (auto* background = dynamic_cast<TBackgroundSprite*>(&s))
    {
        if (background->Image)
            j["Image"] = background->Image->Name();
        j["Pattern"] = background->ChipAt(0, 0);
    }
    JsonFieldSink sink(j, indices);
    s.Fields(sink);
    return j;
}

// FNV-1a over the dump without what depends on where the game was installed or run from, so that a seeded
// script digests the same in every folder.
std::string DigestOf(nlohmann::json dump)
{
    dump.erase("Caption");
    dump.erase("errors");
    dump.erase("digest");
    dump["globals"].erase("AppDir");
    std::string& map = dump["globals"]["MapFileName"].get_ref<std::string&>();
    map = map.substr(map.find_last_of("/\\") + 1);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : dump.dump())
    {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

nlohmann::json DumpState(const TMainForm& form)
{
    const TSpriteEngine& engine = *form.SpriteEngine.Engine;
    std::unordered_map<const TSprite*, int> indices;
    for (int i = 0; i < engine.ChildCount(); ++i)
        indices.emplace(engine.Child(i), i);
    nlohmann::json sprites = nlohmann::json::array();
    for (int i = 0; i < engine.ChildCount(); ++i)
        sprites.push_back(SpriteJson(*engine.Child(i), indices));
    nlohmann::json globals = GlobalsJson(form.Game, engine);
    return {
        {"frame", form.FrameCalls},
        {"Scene", std::uint8_t(form.Scene)},
        {"SavedScene", std::uint8_t(form.SavedScene)},
        {"PendingScene", std::uint8_t(form.PendingScene)},
        {"FrameCounter", form.FrameCounter},
        {"CursorFrame", form.CursorFrame},
        {"Caption", form.Caption},
        {"globals", globals},
        {"sprites", sprites},
        {"player1", globals["Player1Tank"]},
        {"player2", globals["Player2Tank"]},
        {"rng", std::to_string(form.Game.Rng.State())},
        {"errors", form.ReportedErrors()},
    };
}

std::string StateDigest(const TMainForm& form) { return DigestOf(DumpState(form)); }

void WriteStateDump(const TMainForm& form, const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    nlohmann::json dump = DumpState(form);
    dump["digest"] = DigestOf(dump);
    out << dump.dump(2) << '\n';
    if (!out)
        throw std::runtime_error(path + ": the state dump cannot be written");
}

}  // namespace vorlanex
