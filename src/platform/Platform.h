#pragma once
// The boundary between the game and the host. Game code sees only these interfaces;
// src/platform/sdl2 implements them over SDL2, src/platform/null in memory for tests and headless runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vorlanex {

// A writable RGB565 pixel rectangle; pitch counts pixels, not bytes.
struct PixelView
{
    std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
};

class Video
{
public:
    virtual ~Video() = default;
    // Opens the output at a logical width x height; throws std::runtime_error when no display can be opened.
    virtual void Open(int width, int height, bool windowed) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Shows a finished RGB565 frame.
    virtual void Present(const std::uint16_t* pixels, int width, int height, int pitch) = 0;
    virtual void SetCaption(const std::string& utf8) = 0;
    virtual void ToggleFullscreen() = 0;
    virtual bool IsWindowed() const = 0;
};

enum class EventKind
{
    KeyDown, KeyUp, MouseDown, MouseMove, FocusGained, FocusLost, Quit,
    PadDown, PadUp, PadAxis, PadRemoved,   // game pads: a button, the left stick, a pad unplugged
    MouseUp, MouseWheel                    // what the map editor needs beyond a click
};
enum class MouseButton { Left, Right, Middle };
// The pad buttons the game reads; a pad's other buttons are not reported.
enum class PadButton { A, B, X, Start, DpadUp, DpadDown, DpadLeft, DpadRight };
constexpr int PadButtonCount = 8;
enum class PadAxis { LeftX, LeftY };
constexpr int PadCount = 2;   // the first two pads plugged in play; a third is ignored

struct InputEvent
{
    EventKind kind = EventKind::Quit;
    int key = 0;            // virtual-key code for key events (0x20 Space, 0x70 F1, ...)
    bool repeat = false;    // auto-repeated key-down
    bool alt = false;       // an Alt key was held
    MouseButton button = MouseButton::Left;
    int x = 0, y = 0;       // logical display coordinates for mouse events
    int pad = 0;            // pad events: 0 for the first pad, 1 for the second
    PadButton padButton = PadButton::A;
    PadAxis axis = PadAxis::LeftX;
    int wheel = 0;          // mouse wheel: steps away from the player (positive) or towards
    int axisValue = 0;      // -32768 (left, up) .. 32767 (right, down)
};

class Events
{
public:
    virtual ~Events() = default;
    // Takes the next pending event; false when none is left.
    virtual bool Poll(InputEvent& out) = 0;
    // Mouse position in logical display coordinates.
    virtual void MousePosition(int& x, int& y) = 0;
    // 256 bytes by virtual-key code, bit 7 set = key down.
    virtual void ReadKeyboard(std::uint8_t keys[256]) = 0;
    virtual bool HasFocus() = 0;
    // Whether a request to quit (SIGTERM, the window's close, Alt+F4 pressed) is waiting among the pending
    // events, which stay pending: start-up and level loading look here while no frame polls.
    virtual bool QuitPending() { return false; }
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::uint32_t NowMs() = 0;
    virtual void SleepMs(std::uint32_t ms) = 0;
};

// Text in a font chosen by family name and point size (96 dpi), drawn onto RGB565 pixels.
class Text
{
public:
    virtual ~Text() = default;
    // Throws std::runtime_error when no installed font can draw the game's text.
    virtual void SetFont(const std::string& familyUtf8, int sizePoints) = 0;
    virtual void Measure(const std::string& utf8, int& width, int& height) = 0;
    // Draws with a clear background; the top-left of the text box at (x, y); clipped to the target.
    virtual void Draw(PixelView target, int x, int y, const std::string& utf8, std::uint8_t r, std::uint8_t g,
                      std::uint8_t b) = 0;
};

class System
{
public:
    virtual ~System() = default;
    virtual void Beep() = 0;
    // Shows an error to the player (stderr always, a message box in a windowed run).
    virtual void ReportError(const std::string& utf8) = 0;
};

class AudioDevice;   // declared in platform/Audio.h

// Everything the game needs of the host, handed to the main form at creation.
struct Platform
{
    std::unique_ptr<Video> video;
    std::unique_ptr<Events> events;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Text> text;
    std::unique_ptr<System> system;
    // Creates the audio device when the sound device starts; may be empty (then the game is silent).
    std::function<std::unique_ptr<AudioDevice>()> makeAudio;
};

}  // namespace vorlanex
