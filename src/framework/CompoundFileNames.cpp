#include "framework/CompoundFileNames.h"

#include "platform/common/Utf8.h"

namespace vorlanex {

namespace {

// Latin Extended-A pairs its cases as (even upper, odd lower) except in two stretches that pair (odd, even).
char16_t UpperLatinExtendedA(char16_t unit)
{
    const bool oddUpperRange = (unit >= 0x139 && unit <= 0x148) || (unit >= 0x179 && unit <= 0x17E);
    if (unit == 0x131 || unit == 0x138 || unit == 0x149 || unit == 0x17F)
        return unit;   // dotless i, kra, apostrophe n and long s have no simple pair in this block
    if (oddUpperRange)
        return (unit % 2 == 0) ? char16_t(unit - 1) : unit;
    return (unit % 2 == 1) ? char16_t(unit - 1) : unit;
}

}  // namespace

char16_t UpperCaseNameUnit(char16_t unit)
{
    if (unit >= u'a' && unit <= u'z')
        return char16_t(unit - 0x20);
    if (unit < 0xE0)
        return unit;
    if (unit <= 0xFE)
        return unit == 0xF7 ? unit : char16_t(unit - 0x20);   // U+00F7 is the division sign
    if (unit == 0xFF)
        return 0x178;
    if (unit >= 0x100 && unit <= 0x17F)
        return UpperLatinExtendedA(unit);
    if (unit >= 0x3B1 && unit <= 0x3C9 && unit != 0x3C2)   // Greek; final sigma has no single upper form
        return char16_t(unit - 0x20);
    if (unit >= 0x430 && unit <= 0x44F)   // Cyrillic
        return char16_t(unit - 0x20);
    if (unit >= 0x450 && unit <= 0x45F)
        return char16_t(unit - 0x50);
    if (unit >= 0xFF41 && unit <= 0xFF5A)   // full-width Latin letters, common in CJK names
        return char16_t(unit - 0x20);
    return unit;
}

int CompareCompoundNames(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        const char16_t ua = UpperCaseNameUnit(a[i]), ub = UpperCaseNameUnit(b[i]);
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    return 0;
}

std::u16string CompoundNameFromUtf8(std::string_view utf8)
{
    std::u16string out;
    std::size_t pos = 0;
    while (pos < utf8.size())
    {
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp >= 0x10000)
        {
            out.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
        else
            out.push_back(char16_t(cp));
    }
    return out;
}

std::string CompoundNameToUtf8(std::u16string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const char16_t unit = name[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
        {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(name[i + 1]) - 0xDC00));
            ++i;
        }
        else
            AppendUtf8(out, high || low ? ReplacementCharacter : char32_t(unit));
    }
    return out;
}

bool IsValidCompoundName(std::u16string_view name)
{
    if (name.empty() || name.size() > MaxCompoundNameLength)
        return false;
    for (const char16_t unit : name)
        if (unit == 0 || unit == u'/' || unit == u'\\' || unit == u':' || unit == u'!')
            return false;
    return true;
}

}  // namespace vorlanex
