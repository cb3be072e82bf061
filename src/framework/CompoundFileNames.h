#pragma once
// Names of storages and streams in a compound file: UTF-16, at most 31 code units, ordered the way the
// directory's red-black trees are sorted.

#include <string>
#include <string_view>

namespace vorlanex {

// The longest name a directory entry can hold (32 code units including the terminator).
constexpr std::size_t MaxCompoundNameLength = 31;

// Upper-cases one UTF-16 code unit the way directory names are compared; letters without a simple
// one-to-one upper case (and everything outside the common alphabets) stay as they are.
char16_t UpperCaseNameUnit(char16_t unit);

// Directory order: the shorter name first; names of equal length by their upper-cased code units.
// Negative, zero or positive like strcmp.
int CompareCompoundNames(std::u16string_view a, std::u16string_view b);

// UTF-8 to UTF-16 for names given in source code and text files; malformed bytes become U+FFFD.
std::u16string CompoundNameFromUtf8(std::string_view utf8);

// UTF-16 to UTF-8 for messages; a name from a damaged file may hold unpaired surrogates, which become U+FFFD.
std::string CompoundNameToUtf8(std::u16string_view name);

// Whether a name may be stored: 1 to 31 code units, none of them NUL, '/', '\', ':' or '!'.
bool IsValidCompoundName(std::u16string_view name);

}  // namespace vorlanex
