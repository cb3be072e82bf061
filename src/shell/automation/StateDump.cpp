#include "shell/automation/StateDump.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// Writes a record's own field list as JSON: records become objects, lists arrays, references to sprites
// indices into the sprite list.
class JsonFieldSink final : public FieldSink
{
public:
    JsonFieldSink(nlohmann::json& out, const std::unordered_map<const TSprite*, int>& indices)
        : open{&out}, indices(indices)
    {
    }
    void Int(const char* name, std::int64_t value) override { Put(name, value); }
    void Real(const char* name, double value) override { Put(name, value); }
    void Flag(const char* name, bool value) override { Put(name, value); }
    void Text(const char* name, const std::string& value) override { Put(name, value); }
    void Ref(const char* name, const TSprite* sprite) override
    {
        const auto found = sprite ? indices.find(sprite) : indices.end();
        Put(name, found == indices.end() ? nlohmann::json(nullptr) : nlohmann::json(found->second));
    }
    void OpenRecord(const char* name) override { open.push_back(&Put(name, nlohmann::json::object())); }
    void OpenList(const char* name) override { open.push_back(&Put(name, nlohmann::json::array())); }
    void Close() override { open.pop_back(); }

private:
    nlohmann::json& Put(const char* name, nlohmann::json value)
    {
        nlohmann::json& into = *open.back();
        if (name)
            return into[name] = std::move(value);
        into.push_back(std::move(value));
        return into.back();
    }

    // The record or list being written last; only the innermost one grows, so the others stay where they are.
    std::vector<nlohmann::json*> open;
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
    nlohmann::json globals = nlohmann::json::object();
    JsonFieldSink sink(globals, indices);
    form.Game.Fields(sink);
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
