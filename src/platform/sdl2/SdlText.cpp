#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <list>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "platform/common/AlphaMask.h"
#include "platform/common/Utf8.h"
#include "platform/sdl2/SdlFontFinder.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {

namespace {

// Wider renders are not cached whole: only the part that lands on the target is rendered.
constexpr int MaxWholeWidth = 8192;
constexpr std::size_t CacheEntries = 256;
constexpr int MaxPoints = 400;
constexpr std::size_t CacheBytes = 16u << 20;

// What one string in one font looks like; the mask is made on first draw (a string may only be measured).
struct Rendering
{
    int face = 0;
    int width = 0;
    int height = 0;
    bool rendered = false;
    AlphaMask mask;
};

class SdlText final : public Text
{
public:
    SdlText();
    ~SdlText() override;
    SdlText(const SdlText&) = delete;
    SdlText& operator=(const SdlText&) = delete;

    void SetFont(const std::string& familyUtf8, int sizePoints) override;
    void Measure(const std::string& utf8, int& width, int& height) override;
    void Draw(PixelView target, int x, int y, const std::string& utf8, std::uint8_t r, std::uint8_t g,
              std::uint8_t b) override;

private:
    using Lru = std::list<std::pair<std::string, Rendering>>;

    void EnsureFont();
    TTF_Font* FontOf(int face);
    Rendering& Lookup(const std::string& utf8);
    void Render(const std::string& text, Rendering& entry);
    void Trim();
    void DrawVisiblePart(PixelView target, int x, int y, const std::string& text, const Rendering& whole,
                         std::uint8_t r, std::uint8_t g, std::uint8_t b);

    FontFinder finder;
    std::string family = "宋体";
    int size = 12;
    int primaryFace = -1;
    std::map<std::pair<int, int>, TTF_Font*> fonts;   // by (face, size)
    Lru recent;                                       // most recently used first
    std::unordered_map<std::string, Lru::iterator> index;
    std::size_t cachedBytes = 0;
};

// The coverage of white text rendered with blending; empty when the font library refuses.
AlphaMask RenderMask(TTF_Font* font, const std::string& clean)
{
    AlphaMask mask;
    if (clean.empty())
        return mask;
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font, clean.c_str(), SDL_Color{255, 255, 255, 255});
    if (!surface)
        return mask;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!argb)
        return mask;
    mask.width = argb->w;
    mask.height = argb->h;
    mask.alpha.resize(std::size_t(argb->w) * std::size_t(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y)
    {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x)
            mask.alpha[std::size_t(y) * std::size_t(argb->w) + std::size_t(x)] = std::uint8_t(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return mask;
}

// Broken UTF-8 and NUL become U+FFFD, so the font library sees valid text of the full length.
std::string CleanUtf8(const std::string& utf8, std::u32string& codePoints)
{
    std::string clean;
    clean.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
    {
        const char32_t cp = NextCodePoint(utf8, pos);
        codePoints += cp;
        AppendUtf8(clean, cp == 0 ? ReplacementCharacter : cp);
    }
    return clean;
}

SdlText::SdlText()
{
    if (TTF_Init() != 0)
        throw std::runtime_error(std::string("Cannot start the font engine: ") + TTF_GetError());
}

SdlText::~SdlText()
{
    for (auto& [key, font] : fonts)
        TTF_CloseFont(font);
    TTF_Quit();
}

void SdlText::SetFont(const std::string& familyUtf8, int sizePoints)
{
    // Beyond a few hundred points a single glyph would outgrow the screen many times over.
    sizePoints = std::clamp(sizePoints, 1, MaxPoints);
    if (primaryFace >= 0 && familyUtf8 == family && sizePoints == size)
        return;
    family = familyUtf8;
    size = sizePoints;
    primaryFace = -1;
    EnsureFont();
}

void SdlText::EnsureFont()
{
    if (primaryFace >= 0)
        return;
    const int face = finder.FaceForFamily(family);
    FontOf(face);
    primaryFace = face;
}

// 96 dpi makes the game's 12-point text 16 pixels to the em.
TTF_Font* SdlText::FontOf(int face)
{
    const auto key = std::make_pair(face, size);
    if (const auto found = fonts.find(key); found != fonts.end())
        return found->second;
    const FontFace& file = finder.Face(face);
    TTF_Font* font = TTF_OpenFontIndexDPI(file.file.c_str(), size, file.index, 96, 96);
    if (!font)
        throw std::runtime_error("Cannot open the font \"" + file.file + "\" for \"" + family +
                                 "\": " + TTF_GetError());
    fonts.emplace(key, font);
    return font;
}

Rendering& SdlText::Lookup(const std::string& utf8)
{
    EnsureFont();
    std::string key = std::to_string(primaryFace) + ':' + std::to_string(size) + ':' + utf8;
    if (const auto found = index.find(key); found != index.end())
    {
        recent.splice(recent.begin(), recent, found->second);
        return found->second->second;
    }
    std::u32string codePoints;
    const std::string clean = CleanUtf8(utf8, codePoints);
    Rendering entry;
    entry.face = finder.FaceForText(primaryFace, family, codePoints);
    TTF_Font* font = FontOf(entry.face);
    entry.height = TTF_FontHeight(font);
    if (!clean.empty() && TTF_SizeUTF8(font, clean.c_str(), &entry.width, &entry.height) != 0)
        entry.width = 0;
    recent.emplace_front(std::move(key), std::move(entry));
    index.emplace(recent.front().first, recent.begin());
    Trim();
    return recent.front().second;
}

void SdlText::Trim()
{
    while (recent.size() > 1 && (recent.size() > CacheEntries || cachedBytes > CacheBytes))
    {
        cachedBytes -= recent.back().second.mask.alpha.size();
        index.erase(recent.back().first);
        recent.pop_back();
    }
}

void SdlText::Measure(const std::string& utf8, int& width, int& height)
{
    const Rendering& entry = Lookup(utf8);
    width = entry.width;
    height = entry.height;
}

void SdlText::Draw(PixelView target, int x, int y, const std::string& utf8, std::uint8_t r, std::uint8_t g,
                   std::uint8_t b)
{
    if (utf8.empty() || !target.pixels || target.width <= 0 || target.height <= 0 || target.pitch < target.width)
        return;
    Rendering& entry = Lookup(utf8);
    if (entry.width <= 0 || y >= target.height || (long long)y + entry.height <= 0 || x >= target.width ||
        (long long)x + entry.width <= 0)
        return;
    std::u32string codePoints;
    if (entry.width > MaxWholeWidth)
    {
        DrawVisiblePart(target, x, y, CleanUtf8(utf8, codePoints), entry, r, g, b);
        return;
    }
    if (!entry.rendered)
    {
        entry.mask = RenderMask(FontOf(entry.face), CleanUtf8(utf8, codePoints));
        entry.rendered = true;
        cachedBytes += entry.mask.alpha.size();
        Trim();   // the entry is the most recent one and stays
    }
    BlendMask(target, x, y, entry.mask, r, g, b);
}

// A very long line (a hostile help text, say) is cut to the characters that land on the target, so its
// rendering stays as small as the target whatever the length of the line.
void SdlText::DrawVisiblePart(PixelView target, int x, int y, const std::string& text, const Rendering& whole,
                              std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    TTF_Font* font = FontOf(whole.face);
    std::string visible;
    long long pen = x;
    long long visibleLeft = -1;
    for (std::size_t pos = 0; pos < text.size() && pen < target.width;)
    {
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(text, pos);
        int advance = 0;
        if (TTF_GlyphMetrics32(font, Uint32(cp), nullptr, nullptr, nullptr, nullptr, &advance) != 0)
            advance = 0;
        if (pen + advance > 0)
        {
            if (visibleLeft < 0)
                visibleLeft = pen;
            visible.append(text, start, pos - start);
        }
        pen += advance;
    }
    if (visibleLeft < 0)
        return;
    BlendMask(target, int(visibleLeft), y, RenderMask(font, visible), r, g, b);
}

}  // namespace

std::unique_ptr<Text> MakeSdlText()
{
    return std::make_unique<SdlText>();
}

}  // namespace vorlanex
