#include "shell/automation/InputScript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

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

template <typename T>
T ParseNumber(const std::string& word, T low, T high, const std::string& source, int line)
{
    T v{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size())
        Fail(source, line, "'" + word + "' is not a number");
    if (v < low || v > high)
        Fail(source, line, "'" + word + "' is out of range (" + std::to_string(low) + " to " +
                               std::to_string(high) + ")");
    return v;
}

// One line of a script, split into words, with its place for error messages.
struct Line
{
    std::vector<std::string> w;
    const std::string& source;
    int number;

    [[noreturn]] void Fail(const std::string& what) const { vorlanex::Fail(source, number, what); }
    int Int(std::size_t i, int low, int high) const { return ParseNumber<int>(w[i], low, high, source, number); }
    void NeedWords(std::size_t n, const char* shape) const
    {
        if (w.size() != n)
            Fail(std::string("expected ") + shape);
    }
};

int KeyArgument(const Line& line)
{
    std::string name = line.w[2];
    for (std::size_t i = 3; i < line.w.size(); ++i)
        name += " " + line.w[i];
    const int key = VirtualKeyFromKeyName(name);
    if (key < 0)
        line.Fail("unknown key '" + name + "'");
    return key;
}

void ParseKey(const Line& line, const std::string& action, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    e.event.key = KeyArgument(line);
    e.event.kind = action == "up" ? EventKind::KeyUp : EventKind::KeyDown;
    out.push_back(e);
    if (action == "press")
    {
        e.event.kind = EventKind::KeyUp;
        ++e.frame;
        out.push_back(e);
    }
}

void ParseMouse(const Line& line, const std::string& action, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    const std::size_t first = action == "click" ? 3 : 2;
    line.NeedWords(first + 2, action == "click" ? "click left|right X Y" : "move X Y");
    if (action == "click")
    {
        const std::string button = Lower(line.w[2]);
        if (button != "left" && button != "right")
            line.Fail("click needs left or right");
        e.event.kind = EventKind::MouseDown;
        e.event.button = button == "left" ? MouseButton::Left : MouseButton::Right;
    }
    else
        e.event.kind = EventKind::MouseMove;
    e.event.x = line.Int(first, -1000000, 1000000);
    e.event.y = line.Int(first + 1, -1000000, 1000000);
    out.push_back(e);
}

void ParsePad(const Line& line, ScriptEvent e, std::vector<ScriptEvent>& out)
{
    if (line.w.size() < 5)
        line.Fail("expected pad N down|up BUTTON or pad N axis leftx|lefty VALUE");
    e.event.pad = line.Int(2, 1, PadCount) - 1;
    const std::string what = Lower(line.w[3]);
    if (what == "axis")
    {
        line.NeedWords(6, "pad N axis leftx|lefty VALUE");
        const std::string axis = Lower(line.w[4]);
        if (axis != "leftx" && axis != "lefty")
            line.Fail("axis needs leftx or lefty");
        e.event.kind = EventKind::PadAxis;
        e.event.axis = axis == "leftx" ? PadAxis::LeftX : PadAxis::LeftY;
        e.event.axisValue = line.Int(5, -32768, 32767);
    }
    else if (what == "down" || what == "up")
    {
        line.NeedWords(5, "pad N down|up BUTTON");
        const std::string name = Lower(line.w[4]);
        const auto* found = std::find(std::begin(kPadButtonNames), std::end(kPadButtonNames), name);
        if (found == std::end(kPadButtonNames))
            line.Fail("unknown pad button '" + line.w[4] + "'");
        e.event.kind = what == "down" ? EventKind::PadDown : EventKind::PadUp;
        e.event.padButton = PadButton(found - std::begin(kPadButtonNames));
    }
    else
        line.Fail("pad needs down, up or axis");
    out.push_back(e);
}

void ParseEventLine(const Line& line, std::vector<ScriptEvent>& out)
{
    if (line.w.size() < 2)
        line.Fail("expected FRAME ACTION ARGUMENTS");
    ScriptEvent e;
    e.frame = ParseNumber<std::int64_t>(line.w[0], 1, 1000000000000, line.source, line.number);
    const std::string action = Lower(line.w[1]);
    if (action == "quit")
    {
        line.NeedWords(2, "FRAME quit");
        e.event.kind = EventKind::Quit;
        out.push_back(e);
        return;
    }
    if (line.w.size() < 3)
        line.Fail("expected FRAME ACTION ARGUMENTS");
    if (action == "down" || action == "up" || action == "press")
        ParseKey(line, action, e, out);
    else if (action == "click" || action == "move")
        ParseMouse(line, action, e, out);
    else if (action == "focus")
    {
        const std::string what = Lower(line.w[2]);
        if (what != "lost" && what != "gained")
            line.Fail("focus needs lost or gained");
        e.event.kind = what == "lost" ? EventKind::FocusLost : EventKind::FocusGained;
        out.push_back(e);
    }
    else if (action == "pad")
        ParsePad(line, e, out);
    else
        line.Fail("unknown action '" + line.w[1] + "'");
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

InputScript ParseInputScript(const std::string& text, const std::string& source)
{
    InputScript script;
    std::istringstream lines(text);
    int lineNo = 0;
    for (std::string raw; std::getline(lines, raw);)
    {
        Line line{{}, source, ++lineNo};
        std::istringstream words(raw.substr(0, raw.find('#')));
        for (std::string word; words >> word;)
            line.w.push_back(word);
        if (line.w.empty())
            continue;
        if (Lower(line.w[0]) == "seed")
        {
            line.NeedWords(2, "seed N");
            if (script.seed)
                line.Fail("a second seed line");
            script.seed = ParseNumber<std::uint64_t>(line.w[1], 0, UINT64_MAX, source, lineNo);
            continue;
        }
        ParseEventLine(line, script.events);
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return script;
}

InputScript LoadInputScript(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputScriptError(path + ": cannot be opened");
    std::string text;
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
