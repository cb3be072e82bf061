#pragma once
// Walking UTF-8 text one code point at a time, forgiving broken bytes.

#include <cstddef>
#include <string_view>

namespace vorlanex {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// Decodes the code point at `pos` and advances past it. A malformed, overlong or truncated sequence, a surrogate
// or a value above U+10FFFF yields U+FFFD and skips one byte, so every byte is consumed exactly once.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);

// Appends the UTF-8 form of a code point (U+FFFD for a value that is not a scalar value).
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace vorlanex
