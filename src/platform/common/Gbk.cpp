#include "platform/common/Gbk.h"

#include <cerrno>
#include <iconv.h>

#include "platform/common/Utf8.h"

namespace vorlanex {

namespace {

// One conversion direction of glibc iconv, closed on every path out.
class Converter
{
public:
    Converter(const char* to, const char* from) : handle(iconv_open(to, from))
    {
        if (handle == reinterpret_cast<iconv_t>(-1))
            throw TextEncodingError(std::string("Text conversion from ") + from + " to " + to +
                                    " is not available on this system");
    }
    ~Converter() { iconv_close(handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; `what` names the source encoding in error messages.
    std::string Run(std::string_view in, const char* what)
    {
        iconv(handle, nullptr, nullptr, nullptr, nullptr);   // a cached converter starts each text afresh
        std::string out(in.size() * 2 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t produced = 0;
        while (srcLeft > 0)
        {
            char* dst = out.data() + produced;
            std::size_t dstLeft = out.size() - produced;
            const std::size_t result = iconv(handle, &src, &srcLeft, &dst, &dstLeft);
            produced = out.size() - dstLeft;
            if (result != std::size_t(-1))
                break;
            if (errno == E2BIG)
                out.resize(out.size() * 2);
            else
                Fail(in.size() - srcLeft, what);
        }
        out.resize(produced);
        return out;
    }

private:
    [[noreturn]] static void Fail(std::size_t offset, const char* what)
    {
        const std::string at = " at byte " + std::to_string(offset);
        if (errno == EINVAL)
            throw TextEncodingError(std::string("Incomplete ") + what + " character at the end of the text" + at);
        throw TextEncodingError(std::string("Invalid ") + what + " text" + at);
    }

    iconv_t handle;
};

// Opening a converter loads a module each time, so each thread keeps one per direction.
Converter& GbkToUtf8Converter()
{
    thread_local Converter converter("UTF-8", "GBK");
    return converter;
}

Converter& Utf8ToGbkConverter()
{
    thread_local Converter converter("GBK", "UTF-8");
    return converter;
}

Converter& GbkToUtf16Converter()
{
    thread_local Converter converter("UTF-16LE", "GBK");
    return converter;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string GbkToUtf8(std::string_view gbk)
{
    Converter& converter = GbkToUtf8Converter();
    return converter.Run(gbk, "GBK");
}

// Characters without a GBK form are refused rather than replaced: a silent '?' would change a file name.
std::string Utf8ToGbk(std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();)
    {
        const std::size_t start = pos;
        if (NextCodePoint(utf8, pos) == ReplacementCharacter && utf8.substr(start, 3) != "\xEF\xBF\xBD")
            throw TextEncodingError("Invalid UTF-8 text at byte " + std::to_string(start));
    }
    Converter& converter = Utf8ToGbkConverter();
    try
    {
        return converter.Run(utf8, "UTF-8");
    }
    catch (const TextEncodingError& error)
    {
        const std::string message = error.what();
        throw TextEncodingError("A character has no GBK form" + message.substr(message.rfind(" at byte ")));
    }
}

std::u16string GbkToUtf16(std::string_view gbk)
{
    Converter& converter = GbkToUtf16Converter();
    const std::string bytes = converter.Run(gbk, "GBK");
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i)
    {
        const char16_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1]))
        {
            AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(utf16[i + 1]) - 0xDC00));
            ++i;
        }
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            throw TextEncodingError("Invalid UTF-16 text: unpaired surrogate at unit " + std::to_string(i));
        else
            AppendUtf8(out, c);
    }
    return out;
}

}  // namespace vorlanex
