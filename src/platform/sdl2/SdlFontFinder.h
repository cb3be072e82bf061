#pragma once
// Finding font files through fontconfig: the face a family name stands for, and a face that covers text the
// family's face lacks glyphs for.

#include <fontconfig/fontconfig.h>

#include <map>
#include <string>
#include <vector>

namespace vorlanex {

struct FontFace
{
    std::string file;
    int index = 0;   // face index inside a collection file
};

class FontFinder
{
public:
    FontFinder();
    ~FontFinder();
    FontFinder(const FontFinder&) = delete;
    FontFinder& operator=(const FontFinder&) = delete;

    // The face fontconfig matches to "<family>:lang=zh-cn" (the game's texts are Chinese); throws
    // std::runtime_error naming the family when no font is installed at all.
    int FaceForFamily(const std::string& familyUtf8);
    // `preferred` when it covers every code point of `text`; otherwise the first face in fontconfig's order of
    // preference for the family that does, or the one that covers the most.
    int FaceForText(int preferred, const std::string& familyUtf8, const std::u32string& text);
    const FontFace& Face(int id) const { return faces[std::size_t(id)].face; }

private:
    struct Entry
    {
        FontFace face;
        FcCharSet* charset = nullptr;   // owned copy; null when the font did not say
    };

    FcPattern* FamilyPattern(const std::string& familyUtf8) const;
    int AddFace(FcPattern* font);
    int CoveredCount(int id, const std::u32string& text) const;
    int SearchCovering(const std::string& familyUtf8, const std::u32string& missing);

    FcConfig* config = nullptr;
    std::vector<Entry> faces;
    std::map<std::string, int> familyFaces;
    std::map<std::u32string, int> fallbackFaces;   // by the code points the preferred face lacked
};

}  // namespace vorlanex
