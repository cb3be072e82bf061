#include "shell/automation/MessageText.h"

#include <cstdio>

namespace vorlanex {

std::string QuoteForMessage(std::string_view text, std::size_t limit)
{
    bool cut = false;
    if (text.size() > limit)
    {
        std::size_t end = limit;
        // Back up to the start of a UTF-8 character, so the cut never leaves half of one.
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        text = text.substr(0, end);
        cut = true;
    }
    std::string out = "'";
    for (const char ch : text)
    {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F)
        {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
        else
            out += ch;
    }
    out += cut ? "...'" : "'";
    return out;
}

}  // namespace vorlanex
