#include "shell/net/SharedStateDigest.h"

#include <bit>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "shell/MainForm.h"

namespace vorlanex {

namespace {

// Values of the game state that each machine keeps for itself.
constexpr std::string_view kOwnValues[] = {"MusicOn", "SoundOn", "TickerX", "TickerLine", "AppDir", "MapFileName"};

// FNV-1a over every value in order, each behind a tag of its kind, so that no two different field lists hash the
// same bytes.
class HashingFieldSink final : public FieldSink
{
public:
    explicit HashingFieldSink(const std::unordered_map<const TSprite*, std::int64_t>& indices) : indices(indices) {}

    void Int(const char* name, std::int64_t value) override
    {
        if (Own(name))
            return;
        Byte('i');
        Word(std::uint64_t(value));
    }
    void Real(const char* name, double value) override
    {
        if (Own(name))
            return;
        Byte('r');
        Word(std::bit_cast<std::uint64_t>(value));
    }
    void Flag(const char* name, bool value) override
    {
        if (!Own(name))
            Byte(value ? 'T' : 'F');
    }
    void Text(const char* name, const std::string& value) override
    {
        if (!Own(name))
            String(value);
    }
    void Ref(const char* name, const TSprite* sprite) override
    {
        const auto found = sprite ? indices.find(sprite) : indices.end();
        Int(name, found == indices.end() ? -1 : found->second);
    }
    void OpenRecord(const char*) override
    {
        ++depth;
        Byte('{');
    }
    void OpenList(const char*) override
    {
        ++depth;
        Byte('[');
    }
    void Close() override
    {
        --depth;
        Byte(']');
    }

    void String(std::string_view text)
    {
        Byte('s');
        Word(text.size());
        for (char c : text)
            Byte(std::uint8_t(c));
    }
    void Word(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            Byte(std::uint8_t(v >> (8 * i)));
    }
    void Byte(std::uint8_t b)
    {
        hash ^= b;
        hash *= 0x100000001b3ull;
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;

private:
    // Only the game state's own top-level values are skipped; a sprite's field of the same name counts.
    bool Own(const char* name) const
    {
        if (!name || depth != 0 || !inGlobals)
            return false;
        for (std::string_view own : kOwnValues)
            if (own == name)
                return true;
        return false;
    }

    const std::unordered_map<const TSprite*, std::int64_t>& indices;
    int depth = 0;

public:
    bool inGlobals = false;
};

void HashSprite(HashingFieldSink& sink, TSprite& s)
{
    sink.String(s.ClassName());
    sink.Real(nullptr, s.X);
    sink.Real(nullptr, s.Y);
    sink.Int(nullptr, s.Z);
    sink.Int(nullptr, s.Width);
    sink.Int(nullptr, s.Height);
    sink.Flag(nullptr, s.IsDead);
    sink.Flag(nullptr, s.Visible);
    sink.Flag(nullptr, s.Collidable);
    if (auto* image = dynamic_cast<TImageSprite*>(&s))
    {
        sink.String(image->Image ? image->Image->Name() : std::string());
        sink.Int(nullptr, image->PatternIndex());
    }
    else if (auto* background = dynamic_cast<TBackgroundSprite*>(&s))
    {
        sink.String(background->Image ? background->Image->Name() : std::string());
        sink.Int(nullptr, background->ChipAt(0, 0));
    }
    s.Fields(sink);
}

}  // namespace

std::uint64_t SharedStateDigest(const TMainForm& form)
{
    const TSpriteEngine& engine = *form.SpriteEngine.Engine;
    std::unordered_map<const TSprite*, std::int64_t> indices;
    indices.reserve(std::size_t(engine.ChildCount()));
    for (int i = 0; i < engine.ChildCount(); ++i)
        indices.emplace(engine.Child(i), i);
    HashingFieldSink sink(indices);
    sink.Int(nullptr, form.FrameCalls);
    sink.Int(nullptr, std::int64_t(form.Scene));
    sink.Int(nullptr, std::int64_t(form.SavedScene));
    sink.Int(nullptr, std::int64_t(form.PendingScene));
    sink.Int(nullptr, form.FrameCounter);
    sink.Word(form.Game.Rng.State());
    for (int i = 0; i < engine.ChildCount(); ++i)
        HashSprite(sink, *engine.Child(i));
    sink.inGlobals = true;
    form.Game.Fields(sink);
    return sink.hash;
}

}  // namespace vorlanex
