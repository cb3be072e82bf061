#include "shell/automation/InputScript.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "shell/automation/MessageText.h"

namespace vorlanex {

namespace {

constexpr std::size_t MaxScriptBytes = 64 * 1024 * 1024;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

struct NamedKey
{
    int vk;
    const char* name;
};

// The name a recording writes for each key; the first entry of a code is its name.
constexpr NamedKey kNamedKeys[] = {
    {0x20, "Space"},      {0x0D, "Return"},    {0x09, "Tab"},        {0x1B, "Escape"},   {0x08, "Backspace"},
    {0x26, "Up"},         {0x28, "Down"},      {0x25, "Left"},       {0x27, "Right"},    {0x10, "Left Shift"},
    {0x11, "Left Ctrl"},  {0x12, "Left Alt"},
};

// Further names a script may use for the same codes.
constexpr NamedKey kAliases[] = {
    {0x0D, "Enter"},     {0x0D, "Keypad Enter"}, {0x10, "Right Shift"}, {0x10, "Shift"},
    {0x11, "Right Ctrl"}, {0x12, "Right Alt"},    {0x12, "Alt"},
};

// Lower-case name -> code, and code -> name as a recording writes it.
struct KeyTables
{
    std::map<std::string, int> byName;
    std::map<int, std::string> byCode;
    void Add(int vk, const std::string& name)
    {
        byName.emplace(Lower(name), vk);
        byCode.emplace(vk, name);
    }
};

const KeyTables& Keys()
{
    static const KeyTables tables = [] {
        KeyTables t;
        for (const NamedKey& k : kNamedKeys)
            t.Add(k.vk, k.name);
        for (char c = 'A'; c <= 'Z'; ++c)
            t.Add(c, std::string(1, c));
        for (char c = '0'; c <= '9'; ++c)
        {
            t.Add(c, std::string(1, c));
            t.Add(0x60 + (c - '0'), "Keypad " + std::string(1, c));
        }
        for (int f = 1; f <= 12; ++f)
            t.Add(0x6F + f, "F" + std::to_string(f));
        for (const NamedKey& k : kAliases)
            t.byName.emplace(Lower(k.name), k.vk);
        return t;
    }();
    return tables;
}

constexpr const char* kPadButtonNames[PadButtonCount] = {"a",    "b",      "x",      "start",
                                                         "dpup", "dpdown", "dpleft", "dpright"};

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what)
{
    throw InputScriptError(source + ":" + std::to_string(line) + ": " + what);
}

bool SameWord(std::string_view word, std::string_view lowerName)
{
    return word.size() == lowerName.size() &&
           std::equal(word.begin(), word.end(), lowerName.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

template <typename T>
T ParseNumber(std::string_view word, T low, T high, const std::string& source, int line)
{
    T v{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    const bool whole = end == word.data() + word.size();
    if (ec == std::errc::invalid_argument || !whole)
        Fail(source, line, QuoteForMessage(word) + " is not a number");
    if (ec == std::errc::result_out_of_range || v < low || v > high)
        Fail(source, line, QuoteForMessage(word) + " is out of range (" + std::to_string(low) + " to " +
                               std::to_string(high) + ")");
    return v;
}

// One line of a script, split into words that point into the script's text, with its place for messages.
struct Line
{
    std::vector<std::string_view> w;
    const std::string& source;
    int number = 0;

    [[noreturn]] void Fail(const std::string& what) const { vorlanex::Fail(source, number, what); }
    int Int(std::size_t i, int low, int high) const { return ParseNumber<int>(w[i], low, high, source, number); }
    bool Is(std::size_t i, std::string_view lowerName) const { return SameWord(w[i], lowerName); }
    void NeedWords(std::size_t n, const char* shape) const
    {
        if (w.size() != n)
            Fail(std::string("expected ") + shape);
    }
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits `text` (one line, without its end) into words, leaving out a comment.
void SplitWords(std::string_view text, std::vector<std::string_view>& words)
{
    words.clear();
    text = text.substr(0, text.find('#'));
    std::size_t i = 0;
    while (i < text.size())
    {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
}

int KeyArgument(const Line& line)
{
    std::string name(line.w[2]);
    for (std::size_t i = 3; i < line.w.size(); ++i)
        (name += ' ') += line.w[i];
    const int key = VirtualKeyFromKeyName(name);
    if (key < 0)
        line.Fail("unknown key " + QuoteForMessage(name));
    return key;
}

void ParseKey(const Line& line, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    e.key = std::uint8_t(KeyArgument(line));
    e.kind = line.Is(1, "up") ? EventKind::KeyUp : EventKind::KeyDown;
    out.push_back(e);
    if (line.Is(1, "press"))
    {
        e.kind = EventKind::KeyUp;
        ++e.frame;
        out.push_back(e);
    }
}

void ParseMouse(const Line& line, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    const bool click = line.Is(1, "click");
    const std::size_t first = click ? 3 : 2;
    line.NeedWords(first + 2, click ? "click left|right X Y" : "move X Y");
    if (click)
    {
        if (!line.Is(2, "left") && !line.Is(2, "right"))
            line.Fail("click needs left or right");
        e.kind = EventKind::MouseDown;
        e.detail = std::uint8_t(line.Is(2, "left") ? MouseButton::Left : MouseButton::Right);
    }
    else
        e.kind = EventKind::MouseMove;
    e.x = line.Int(first, -1000000, 1000000);
    e.y = line.Int(first + 1, -1000000, 1000000);
    out.push_back(e);
}

void ParsePad(const Line& line, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    if (line.w.size() < 5)
        line.Fail("expected pad N down|up BUTTON or pad N axis leftx|lefty VALUE");
    e.pad = std::uint8_t(line.Int(2, 1, PadCount) - 1);
    if (line.Is(3, "axis"))
    {
        line.NeedWords(6, "pad N axis leftx|lefty VALUE");
        if (!line.Is(4, "leftx") && !line.Is(4, "lefty"))
            line.Fail("axis needs leftx or lefty");
        e.kind = EventKind::PadAxis;
        e.detail = std::uint8_t(line.Is(4, "leftx") ? PadAxis::LeftX : PadAxis::LeftY);
        e.x = line.Int(5, -32768, 32767);
    }
    else if (line.Is(3, "down") || line.Is(3, "up"))
    {
        line.NeedWords(5, "pad N down|up BUTTON");
        const auto* found = std::find_if(std::begin(kPadButtonNames), std::end(kPadButtonNames),
                                         [&](const char* name) { return line.Is(4, name); });
        if (found == std::end(kPadButtonNames))
            line.Fail("unknown pad button " + QuoteForMessage(line.w[4]));
        e.kind = line.Is(3, "down") ? EventKind::PadDown : EventKind::PadUp;
        e.detail = std::uint8_t(found - std::begin(kPadButtonNames));
    }
    else
        line.Fail("pad needs down, up or axis");
    out.push_back(e);
}

void ParseEventLine(const Line& line, InputScript& script)
{
    if (line.w.size() < 2)
        line.Fail("expected FRAME ACTION ARGUMENTS");
    ScriptEvent e;
    e.frame = ParseNumber<std::int64_t>(line.w[0], 1, 1000000000000, line.source, line.number);
    if (line.Is(1, "quit") || line.Is(1, "end"))
    {
        line.NeedWords(2, line.Is(1, "quit") ? "FRAME quit" : "FRAME end");
        if (line.Is(1, "end"))
            script.end = std::max(script.end.value_or(0), e.frame);
        else
            script.events.push_back(e);
        return;
    }
    if (line.w.size() < 3)
        line.Fail("expected FRAME ACTION ARGUMENTS");
    if (line.Is(1, "down") || line.Is(1, "up") || line.Is(1, "press"))
        ParseKey(line, e, script.events);
    else if (line.Is(1, "click") || line.Is(1, "move"))
        ParseMouse(line, e, script.events);
    else if (line.Is(1, "focus"))
    {
        if (!line.Is(2, "lost") && !line.Is(2, "gained"))
            line.Fail("focus needs lost or gained");
        e.kind = line.Is(2, "lost") ? EventKind::FocusLost : EventKind::FocusGained;
        script.events.push_back(e);
    }
    else if (line.Is(1, "pad"))
        ParsePad(line, e, script.events);
    else
        line.Fail("unknown action " + QuoteForMessage(line.w[1]));
}

// One event a line, two for a press: reserving them at once keeps a long recording from being copied as the
// list grows, and blank lines and comments reserve nothing.
std::size_t EventsInScript(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size();)
    {
        std::size_t i = pos;
        const std::size_t newline = std::min(text.find('\n', pos), text.size());
        pos = newline + 1;
        while (i < newline && IsBlank(text[i]))
            ++i;
        if (i == newline || text[i] == '#')
            continue;
        while (i < newline && !IsBlank(text[i]))
            ++i;
        while (i < newline && IsBlank(text[i]))
            ++i;
        count += newline - i >= 5 && SameWord(text.substr(i, 5), "press") ? 2 : 1;
    }
    return count;
}

void ParseLine(const Line& line, InputScript& script)
{
    if (line.Is(0, "seed"))
    {
        line.NeedWords(2, "seed N");
        if (script.seed)
            line.Fail("a second seed line");
        script.seed = ParseNumber<std::uint64_t>(line.w[1], 0, UINT64_MAX, line.source, line.number);
        return;
    }
    ParseEventLine(line, script);
}

}  // namespace

int VirtualKeyFromKeyName(const std::string& name)
{
    const auto& names = Keys().byName;
    const auto it = names.find(Lower(name));
    return it == names.end() ? -1 : it->second;
}

std::string KeyNameFromVirtualKey(int vk)
{
    const auto& codes = Keys().byCode;
    const auto it = codes.find(vk);
    return it == codes.end() ? std::string() : it->second;
}

const char* PadButtonName(PadButton button) { return kPadButtonNames[int(button)]; }

InputScript ParseInputScript(std::string_view text, const std::string& source)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark)
        text.remove_prefix(byteOrderMark.size());
    InputScript script;
    script.events.reserve(EventsInScript(text));
    Line line{{}, source, 0};
    for (std::size_t pos = 0; pos < text.size();)
    {
        const std::size_t newline = text.find('\n', pos);
        const std::string_view raw = text.substr(pos, newline == std::string_view::npos ? text.npos : newline - pos);
        pos = newline == std::string_view::npos ? text.size() : newline + 1;
        ++line.number;
        SplitWords(raw, line.w);
        if (line.w.empty())
            continue;
        // Every line a recorder writes ends in a newline: without one the writer was stopped in the middle of it.
        if (newline == std::string_view::npos)
        {
            script.warnings.push_back(source + ":" + std::to_string(line.number) + ": " + QuoteForMessage(raw) +
                                      " has no end of line, so it was cut short; it is left out");
            break;
        }
        ParseLine(line, script);
    }
    const auto byFrame = [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; };
    if (!std::is_sorted(script.events.begin(), script.events.end(), byFrame))
        std::stable_sort(script.events.begin(), script.events.end(), byFrame);
    return script;
}

InputScript LoadInputScript(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputScriptError(path + ": cannot be opened (" + std::strerror(errno) + ")");
    std::string text;
    std::error_code ec;
    if (const auto size = std::filesystem::file_size(path, ec); !ec && size <= MaxScriptBytes)
        text.reserve(std::size_t(size));
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    {
        text.append(chunk, std::size_t(in.gcount()));
        if (text.size() > MaxScriptBytes)
            throw InputScriptError(path + ": too large for an input script (over 64 MiB)");
    }
    if (in.bad())
        throw InputScriptError(path + ": cannot be read");
    return ParseInputScript(text, path);
}

InputEvent ScriptEvent::Event() const
{
    InputEvent e;
    e.kind = kind;
    e.key = key;
    e.x = x;
    e.y = y;
    e.pad = pad;
    switch (kind)
    {
    case EventKind::MouseDown: e.button = MouseButton(detail); break;
    case EventKind::PadDown:
    case EventKind::PadUp: e.padButton = PadButton(detail); break;
    case EventKind::PadAxis:
        e.axis = PadAxis(detail);
        e.axisValue = x;
        e.x = 0;
        break;
    default: break;
    }
    return e;
}

ScriptEvent ScriptEvent::At(std::int64_t frame, const InputEvent& e)
{
    ScriptEvent s;
    s.frame = frame;
    s.kind = e.kind;
    s.key = std::uint8_t(e.key);
    s.x = e.kind == EventKind::PadAxis ? e.axisValue : e.x;
    s.y = e.y;
    s.pad = std::uint8_t(e.pad);
    s.detail = e.kind == EventKind::MouseDown ? std::uint8_t(e.button)
               : e.kind == EventKind::PadAxis ? std::uint8_t(e.axis)
                                               : std::uint8_t(e.padButton);
    return s;
}

std::string ScriptLines(std::int64_t frame, const InputEvent& e)
{
    const std::string at = std::to_string(frame) + " ";
    const std::string pad = at + "pad " + std::to_string(e.pad + 1) + " ";
    switch (e.kind)
    {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
    {
        const std::string name = e.repeat ? std::string() : KeyNameFromVirtualKey(e.key);
        return name.empty() ? name : at + (e.kind == EventKind::KeyDown ? "down " : "up ") + name + "\n";
    }
    case EventKind::MouseDown:
        if (e.button == MouseButton::Middle)
            return {};
        return at + "click " + (e.button == MouseButton::Left ? "left " : "right ") + std::to_string(e.x) + " " +
               std::to_string(e.y) + "\n";
    case EventKind::MouseMove: return at + "move " + std::to_string(e.x) + " " + std::to_string(e.y) + "\n";
    case EventKind::FocusGained: return at + "focus gained\n";
    case EventKind::FocusLost: return at + "focus lost\n";
    case EventKind::Quit: return at + "quit\n";
    case EventKind::PadDown:
    case EventKind::PadUp:
        return pad + (e.kind == EventKind::PadDown ? "down " : "up ") + PadButtonName(e.padButton) + "\n";
    case EventKind::PadAxis:
        return pad + "axis " + (e.axis == PadAxis::LeftX ? "leftx " : "lefty ") + std::to_string(e.axisValue) + "\n";
    case EventKind::MouseUp:
    case EventKind::MouseWheel: return {};   // only the map editor reads them; scripts do not say them
    case EventKind::PadRemoved:
    {
        std::string lines;
        for (const char* name : kPadButtonNames)
            lines += pad + "up " + name + "\n";
        return lines + pad + "axis leftx 0\n" + pad + "axis lefty 0\n";
    }
    }
    return {};
}

}  // namespace vorlanex
