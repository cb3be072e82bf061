#pragma once
// Scripted input for automated runs and recorded games: one event a line, applied before the frame handler
// call it names.
//   seed N                                         (optional; --seed on the command line wins)
//   FRAME down KEY | FRAME up KEY | FRAME press KEY | FRAME click left|right X Y | FRAME move X Y
//   FRAME focus lost|gained | FRAME quit
//   FRAME pad N down|up BUTTON | FRAME pad N axis leftx|lefty VALUE     (N is 1 or 2)
// '#' starts a comment; KEY is a key name such as Space, Up, Left Shift, F3; BUTTON is a, b, x, start,
// dpup, dpdown, dpleft or dpright; VALUE runs from -32768 to 32767.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorlanex {

class InputScriptError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct ScriptEvent
{
    std::int64_t frame = 0;
    InputEvent event;   // the event as the host would report it; a key-down's Alt flag is set when applied
};

struct InputScript
{
    std::optional<std::uint64_t> seed;
    std::vector<ScriptEvent> events;   // sorted by frame; a line's order within a frame is kept
};

// The virtual-key code of a key name (case-insensitive), or -1 when the name is unknown.
int VirtualKeyFromKeyName(const std::string& name);
// The name a script uses for a virtual-key code; empty when the game has no name for it.
std::string KeyNameFromVirtualKey(int vk);
const char* PadButtonName(PadButton button);

// Throws InputScriptError naming the source and the line.
InputScript ParseInputScript(const std::string& text, const std::string& sourceName);
InputScript LoadInputScript(const std::string& path);

// The script line for an event applied before frame `frame`; empty for an event a script cannot say
// (a key without a name, an auto-repeat). An unplugged pad becomes the lines that release all it held.
std::string ScriptLines(std::int64_t frame, const InputEvent& event);

}  // namespace vorlanex
