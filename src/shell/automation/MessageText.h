#pragma once
// Quoting what a player or a file gave us inside a message: a replay file or an argument must not be able to
// drive the terminal (control bytes are shown escaped) or bury the message (long text is cut).

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlanex {

// 'text' in quotes, at most about `limit` bytes of it (cut on a character boundary and marked with "..."),
// bytes below 0x20 and DEL shown as \xNN. NUL bytes are shown like any other control byte.
std::string QuoteForMessage(std::string_view text, std::size_t limit = 80);

}  // namespace vorlanex
