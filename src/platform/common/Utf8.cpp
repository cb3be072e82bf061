#include "platform/common/Utf8.h"

#include <string>

namespace vorlanex {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t NextCodePoint(std::string_view utf8, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80)
    {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0)
    {
        length = 2;
        cp = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        length = 3;
        cp = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        length = 4;
        cp = lead & 0x07;
    }
    if (length == 0 || pos + std::size_t(length) > utf8.size())
    {
        ++pos;
        return ReplacementCharacter;
    }
    for (int i = 1; i < length; ++i)
    {
        const auto c = static_cast<unsigned char>(utf8[pos + std::size_t(i)]);
        if (!IsContinuation(c))
        {
            ++pos;
            return ReplacementCharacter;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    {
        ++pos;
        return ReplacementCharacter;
    }
    pos += std::size_t(length);
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = ReplacementCharacter;
    if (cp < 0x80)
        out += char(cp);
    else if (cp < 0x800)
    {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
    else
    {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace vorlanex
