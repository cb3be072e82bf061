#include "platform/sdl2/SdlFontFinder.h"

#include <memory>
#include <stdexcept>

namespace vorlanex {

namespace {

struct PatternDeleter
{
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter
{
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct CharSetDeleter
{
    void operator()(FcCharSet* c) const { FcCharSetDestroy(c); }
};

}  // namespace

FontFinder::FontFinder() : config(FcInitLoadConfigAndFonts())
{
    if (!config)
        throw std::runtime_error("Cannot load the font configuration (fontconfig)");
}

FontFinder::~FontFinder()
{
    for (Entry& entry : faces)
        if (entry.charset)
            FcCharSetDestroy(entry.charset);
    FcConfigDestroy(config);
}

// Built field by field rather than parsed, so a family name with ':' or '-' in it stays one name.
FcPattern* FontFinder::FamilyPattern(const std::string& familyUtf8) const
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        throw std::runtime_error("Out of memory while looking for a font");
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    return pattern;
}

int FontFinder::AddFace(FcPattern* font)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file)
        return -1;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    const std::string path(reinterpret_cast<const char*>(file));
    for (std::size_t i = 0; i < faces.size(); ++i)
        if (faces[i].face.file == path && faces[i].face.index == index)
            return int(i);
    Entry entry{{path, index}, nullptr};
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && charset)
        entry.charset = FcCharSetCopy(charset);
    faces.push_back(entry);
    return int(faces.size() - 1);
}

int FontFinder::FaceForFamily(const std::string& familyUtf8)
{
    if (const auto found = familyFaces.find(familyUtf8); found != familyFaces.end())
        return found->second;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FamilyPattern(familyUtf8));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(config, pattern.get(), &result));
    const int id = match ? AddFace(match.get()) : -1;
    if (id < 0)
        throw std::runtime_error("No installed font can draw text in the font \"" + familyUtf8 + "\"");
    familyFaces.emplace(familyUtf8, id);
    return id;
}

int FontFinder::CoveredCount(int id, const std::u32string& text) const
{
    const FcCharSet* charset = faces[std::size_t(id)].charset;
    if (!charset)
        return 0;
    int covered = 0;
    for (char32_t cp : text)
        covered += FcCharSetHasChar(charset, FcChar32(cp)) ? 1 : 0;
    return covered;
}

int FontFinder::FaceForText(int preferred, const std::string& familyUtf8, const std::u32string& text)
{
    std::u32string missing;
    const FcCharSet* charset = faces[std::size_t(preferred)].charset;
    for (char32_t cp : text)
        if (cp >= 0x20 && (!charset || !FcCharSetHasChar(charset, FcChar32(cp))) &&
            missing.find(cp) == std::u32string::npos)
            missing += cp;
    if (missing.empty())
        return preferred;
    const auto key = std::u32string(1, char32_t(preferred)) + missing;
    if (const auto found = fallbackFaces.find(key); found != fallbackFaces.end())
        return found->second;
    const int best = SearchCovering(familyUtf8, missing);
    const int chosen = best >= 0 && CoveredCount(best, missing) > CoveredCount(preferred, missing) ? best : preferred;
    fallbackFaces.emplace(key, chosen);
    return chosen;
}

// Asking for the missing characters makes fontconfig sort the fonts that have them first.
int FontFinder::SearchCovering(const std::string& familyUtf8, const std::u32string& missing)
{
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FamilyPattern(familyUtf8));
    std::unique_ptr<FcCharSet, CharSetDeleter> wanted(FcCharSetCreate());
    for (char32_t cp : missing)
        FcCharSetAddChar(wanted.get(), FcChar32(cp));
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetDeleter> sorted(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    if (!sorted)
        return -1;
    int best = -1;
    int bestCount = 0;
    for (int i = 0; i < sorted->nfont; ++i)
    {
        const int id = AddFace(sorted->fonts[i]);
        if (id < 0)
            continue;
        const int count = CoveredCount(id, missing);
        if (count == int(missing.size()))
            return id;
        if (count > bestCount)
        {
            best = id;
            bestCount = count;
        }
    }
    return best;
}

}  // namespace vorlanex
