#pragma once
// Scripted input for automated runs and recorded games: one event a line, applied before the frame handler
// call it names.
//   seed N                                         (optional; --seed on the command line wins)
//   FRAME down KEY | FRAME up KEY | FRAME press KEY | FRAME click left|right X Y | FRAME move X Y
//   FRAME focus lost|gained | FRAME quit | FRAME end
//   FRAME pad N down|up BUTTON | FRAME pad N axis leftx|lefty VALUE     (N is 1 or 2)
// '#' starts a comment; KEY is a key name such as Space, Up, Left Shift, F3; BUTTON is a, b, x, start,
// dpup, dpdown, dpleft or dpright; VALUE runs from -32768 to 32767. `FRAME end` is the recorder's last line:
// the recorded game stopped before that frame. A last line without its end of line was cut short (a full disk,
// a killed writer) and is left out with a warning.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace vorlanex {

class InputScriptError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One scripted event, kept small: a long recording holds millions of them.
struct ScriptEvent
{
    std::int64_t frame = 0;
    std::int32_t x = 0, y = 0;           // mouse position; a pad axis value is kept in x
    EventKind kind = EventKind::Quit;
    std::uint8_t key = 0;                // virtual-key code
    std::uint8_t detail = 0;             // mouse button, pad button or pad axis
    std::uint8_t pad = 0;

    // The event as the host would report it; a key-down's Alt flag is set when it is applied.
    InputEvent Event() const;
    static ScriptEvent At(std::int64_t frame, const InputEvent& event);
};

struct InputScript
{
    std::optional<std::uint64_t> seed;
    std::vector<ScriptEvent> events;     // sorted by frame; a line's order within a frame is kept
    std::optional<std::int64_t> end;     // the frame a recorded game stopped before (its `end` line)
    std::vector<std::string> warnings;   // "source:line: what", for lines left out
};

// The virtual-key code of a key name (case-insensitive), or -1 when the name is unknown.
int VirtualKeyFromKeyName(const std::string& name);
// The name a script uses for a virtual-key code; empty when the game has no name for it.
std::string KeyNameFromVirtualKey(int vk);
const char* PadButtonName(PadButton button);

// Throws InputScriptError naming the source and the line.
InputScript ParseInputScript(std::string_view text, const std::string& sourceName);
// A named pipe is read until its writer closes it.
InputScript LoadInputScript(const std::string& path);

// The script line for an event applied before frame `frame`; empty for an event a script cannot say
// (a key without a name, an auto-repeat). An unplugged pad becomes the lines that release all it held.
std::string ScriptLines(std::int64_t frame, const InputEvent& event);

}  // namespace vorlanex
