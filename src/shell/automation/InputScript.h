#pragma once
// Scripted input for automated runs: one event a line, applied before the frame handler call it names.
//   FRAME down KEY | FRAME up KEY | FRAME press KEY | FRAME click left|right X Y | FRAME move X Y
//   FRAME focus lost|gained        (# starts a comment; KEY is a key name such as Space, Up, Left Shift, F3)

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorlanex {

class InputScriptError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct ScriptEvent
{
    enum class Kind { KeyDown, KeyUp, ClickLeft, ClickRight, Move, FocusLost, FocusGained };
    std::int64_t frame = 0;
    Kind kind = Kind::KeyDown;
    int key = 0;   // virtual-key code
    int x = 0, y = 0;
};

// The virtual-key code of a key name (case-insensitive), or -1 when the name is unknown.
int VirtualKeyFromKeyName(const std::string& name);

// Events sorted by frame (stable: a line's order within a frame is kept). Throws InputScriptError
// naming the source and the line.
std::vector<ScriptEvent> ParseInputScript(const std::string& text, const std::string& sourceName);
std::vector<ScriptEvent> LoadInputScript(const std::string& path);

}  // namespace vorlanex
