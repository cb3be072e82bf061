#include "shell/automation/InputScript.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace vorlanex {

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

const std::map<std::string, int>& KeyNames()
{
    static const std::map<std::string, int> names = [] {
        std::map<std::string, int> m = {
            {"space", 0x20},        {"return", 0x0D},      {"enter", 0x0D},       {"keypad enter", 0x0D},
            {"tab", 0x09},          {"escape", 0x1B},      {"backspace", 0x08},   {"up", 0x26},
            {"down", 0x28},         {"left", 0x25},        {"right", 0x27},       {"left shift", 0x10},
            {"right shift", 0x10},  {"shift", 0x10},       {"left ctrl", 0x11},   {"right ctrl", 0x11},
            {"left alt", 0x12},     {"right alt", 0x12},   {"alt", 0x12},
        };
        for (char c = 'a'; c <= 'z'; ++c)
            m[std::string(1, c)] = std::toupper(c);
        for (char c = '0'; c <= '9'; ++c)
        {
            m[std::string(1, c)] = c;
            m["keypad " + std::string(1, c)] = 0x60 + (c - '0');
        }
        for (int f = 1; f <= 12; ++f)
            m["f" + std::to_string(f)] = 0x6F + f;
        return m;
    }();
    return names;
}

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what)
{
    throw InputScriptError(source + ":" + std::to_string(line) + ": " + what);
}

int ParseInt(const std::string& word, const std::string& source, int line)
{
    try
    {
        std::size_t used = 0;
        const long long v = std::stoll(word, &used);
        if (used != word.size() || v < -1000000 || v > 1000000000)
            throw std::out_of_range(word);
        return int(v);
    }
    catch (const std::exception&)
    {
        Fail(source, line, "'" + word + "' is not a number");
    }
}

}  // namespace

int VirtualKeyFromKeyName(const std::string& name)
{
    const auto& names = KeyNames();
    const auto it = names.find(Lower(name));
    return it == names.end() ? -1 : it->second;
}

std::vector<ScriptEvent> ParseInputScript(const std::string& text, const std::string& source)
{
    std::vector<ScriptEvent> events;
    std::istringstream lines(text);
    int lineNo = 0;
    for (std::string line; std::getline(lines, line);)
    {
        ++lineNo;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        if (w.size() < 3)
            Fail(source, lineNo, "expected FRAME ACTION ARGUMENTS");
        ScriptEvent e;
        e.frame = ParseInt(w[0], source, lineNo);
        if (e.frame < 1)
            Fail(source, lineNo, "frame numbers start at 1");
        const std::string action = Lower(w[1]);
        auto keyArg = [&] {
            std::string name = w[2];
            for (std::size_t i = 3; i < w.size(); ++i)
                name += " " + w[i];
            const int key = VirtualKeyFromKeyName(name);
            if (key < 0)
                Fail(source, lineNo, "unknown key '" + name + "'");
            return key;
        };
        if (action == "down" || action == "up" || action == "press")
        {
            e.key = keyArg();
            e.kind = action == "up" ? ScriptEvent::Kind::KeyUp : ScriptEvent::Kind::KeyDown;
            events.push_back(e);
            if (action == "press")
            {
                e.kind = ScriptEvent::Kind::KeyUp;
                ++e.frame;
                events.push_back(e);
            }
        }
        else if (action == "click" || action == "move")
        {
            const std::size_t first = action == "click" ? 3 : 2;
            if (w.size() != first + 2)
                Fail(source, lineNo, "expected X Y");
            if (action == "click")
            {
                const std::string button = Lower(w[2]);
                if (button != "left" && button != "right")
                    Fail(source, lineNo, "click needs left or right");
                e.kind = button == "left" ? ScriptEvent::Kind::ClickLeft : ScriptEvent::Kind::ClickRight;
            }
            else
                e.kind = ScriptEvent::Kind::Move;
            e.x = ParseInt(w[first], source, lineNo);
            e.y = ParseInt(w[first + 1], source, lineNo);
            events.push_back(e);
        }
        else if (action == "focus")
        {
            const std::string what = Lower(w[2]);
            if (what != "lost" && what != "gained")
                Fail(source, lineNo, "focus needs lost or gained");
            e.kind = what == "lost" ? ScriptEvent::Kind::FocusLost : ScriptEvent::Kind::FocusGained;
            events.push_back(e);
        }
        else
            Fail(source, lineNo, "unknown action '" + w[1] + "'");
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return events;
}

std::vector<ScriptEvent> LoadInputScript(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputScriptError(path + ": cannot be opened");
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (buffer.str().size() > 16 * 1024 * 1024)
        throw InputScriptError(path + ": too large for an input script");
    return ParseInputScript(buffer.str(), path);
}

}  // namespace vorlanex
