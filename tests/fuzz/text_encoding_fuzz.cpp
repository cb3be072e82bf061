// Text from files passes through these conversions before anything else sees it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/common/Gbk.h"
#include "platform/common/Utf8.h"

namespace {

// Every successful conversion must hand back well-formed UTF-8.
void CheckUtf8(const std::string& utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();)
    {
        const std::size_t start = pos;
        if (vorlanex::NextCodePoint(utf8, pos) == vorlanex::ReplacementCharacter &&
            utf8.compare(start, 3, "\xEF\xBF\xBD") != 0)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try
    {
        const std::string utf8 = vorlanex::GbkToUtf8(bytes);
        CheckUtf8(utf8);
        if (vorlanex::Utf16ToUtf8(vorlanex::GbkToUtf16(bytes)) != utf8)
            std::abort();
    }
    catch (const vorlanex::TextEncodingError&)
    {
    }
    try
    {
        vorlanex::Utf8ToGbk(bytes);
    }
    catch (const vorlanex::TextEncodingError&)
    {
    }
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    try
    {
        CheckUtf8(vorlanex::Utf16ToUtf8(units));
    }
    catch (const vorlanex::TextEncodingError&)
    {
    }
    return 0;
}
