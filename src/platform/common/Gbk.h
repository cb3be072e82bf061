#pragma once
// Conversion between GBK (code page 936), the encoding of every text file and on-screen text of the game, and
// the Unicode forms the rest of the program works in.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlanex {

// Text that is not valid in the encoding it claims to be in. The message says what is wrong; callers that read a
// file add its name.
class TextEncodingError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace vorlanex
