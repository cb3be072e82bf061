#pragma once
// The headless backend: everything the game needs of the host, kept in memory.
// Tests drive it directly (push events, press keys, advance the clock) and inspect what the game produced.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorlanex {

// A display that keeps the last presented frame instead of showing it.
class MemoryVideo final : public Video
{
public:
    void Open(int width, int height, bool windowed) override;
    void Close() override;
    bool IsOpen() const override { return open; }
    void Present(const std::uint16_t* pixels, int width, int height, int pitch) override;
    void SetCaption(const std::string& utf8) override { caption = utf8; }
    void ToggleFullscreen() override { windowed = !windowed; }
    bool IsWindowed() const override { return windowed; }

    // Makes the next Open calls throw as if there were no display, until cleared.
    void SetFailOpen(bool fail) { failOpen = fail; }

    const std::string& Caption() const { return caption; }
    int PresentCount() const { return presents; }
    int OpenWidth() const { return openWidth; }
    int OpenHeight() const { return openHeight; }
    // The last presented frame, tightly packed (pitch = FrameWidth()); empty before the first present.
    const std::vector<std::uint16_t>& LastFrame() const { return frame; }
    int FrameWidth() const { return frameWidth; }
    int FrameHeight() const { return frameHeight; }
    // A pixel of the last frame; 0 outside it.
    std::uint16_t FramePixel(int x, int y) const;

private:
    bool open = false;
    bool windowed = false;
    bool failOpen = false;
    int openWidth = 0;
    int openHeight = 0;
    int presents = 0;
    std::string caption;
    std::vector<std::uint16_t> frame;
    int frameWidth = 0;
    int frameHeight = 0;
};

// Input that a test or an input script feeds in: a queue of events plus a keyboard and mouse state.
class ScriptedEvents final : public Events
{
public:
    bool Poll(InputEvent& out) override;
    void MousePosition(int& x, int& y) override;
    void ReadKeyboard(std::uint8_t keys[256]) override;
    bool HasFocus() override { return focus; }
    bool QuitPending() override;

    void Push(const InputEvent& event) { queue.push_back(event); }
    std::size_t Pending() const { return queue.size(); }

    // Keyboard state only (no event is queued). A left/right modifier code (0xA0-0xA5) also sets the
    // generic code (Shift 0x10, Ctrl 0x11, Alt 0x12) the way a real keyboard state reads. Codes outside
    // 1..255 are ignored.
    void PressKey(int vk);
    void ReleaseKey(int vk);
    void ReleaseAllKeys() { keys.fill(0); }
    void SetKeyboard(const std::uint8_t state[256]);
    bool IsKeyDown(int vk) const { return vk >= 0 && vk < 256 && (keys[std::size_t(vk)] & 0x80); }

    void SetMousePosition(int x, int y)
    {
        mouseX = x;
        mouseY = y;
    }
    void SetFocus(bool hasFocus) { focus = hasFocus; }

private:
    std::deque<InputEvent> queue;
    std::array<std::uint8_t, 256> keys{};
    int mouseX = 0;
    int mouseY = 0;
    bool focus = true;
};

// Time moves only when the test says so.
class ManualClock final : public Clock
{
public:
    std::uint32_t NowMs() override { return now; }
    void SleepMs(std::uint32_t ms) override { now += ms; }
    std::uint32_t now = 0;
};

// Real time for headless runs that are still paced; counts from construction.
class SteadyClock final : public Clock
{
public:
    std::uint32_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;

private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

// Text with fixed metrics so tests can tell where text lands: an ASCII character is 8 px wide, any other code
// point 16 px, every line (the empty one too) 16 px high. Each visible character paints a filled box in the text colour
// (6 x 12 at (+1, +2) of its cell for ASCII, 14 x 14 at (+1, +1) for others); spaces paint nothing.
class NullText final : public Text
{
public:
    static constexpr int AsciiAdvance = 8;
    static constexpr int WideAdvance = 16;
    static constexpr int LineHeight = 16;

    void SetFont(const std::string& familyUtf8, int sizePoints) override;
    void Measure(const std::string& utf8, int& width, int& height) override;
    void Draw(PixelView target, int x, int y, const std::string& utf8, std::uint8_t r, std::uint8_t g,
              std::uint8_t b) override;

    const std::string& Family() const { return family; }
    int SizePoints() const { return sizePoints; }
    // The strings drawn most recently, oldest first; a long headless run keeps only the last DrawnKept.
    static constexpr std::size_t DrawnKept = 4096;
    const std::deque<std::string>& Drawn() const { return drawn; }
    void ClearDrawn() { drawn.clear(); }

private:
    std::string family;
    int sizePoints = 0;
    std::deque<std::string> drawn;
};

// Records beeps and error reports; optionally echoes errors to stderr for headless runs.
class RecordingSystem final : public System
{
public:
    explicit RecordingSystem(bool echoErrors = false) : echo(echoErrors) {}
    void Beep() override { ++beeps; }
    void ReportError(const std::string& utf8) override;

    int BeepCount() const { return beeps; }
    // The reports so far, oldest first; only the last ErrorsKept are kept.
    static constexpr std::size_t ErrorsKept = 4096;
    const std::deque<std::string>& Errors() const { return errors; }
    void SetEcho(bool on) { echo = on; }

private:
    bool echo;
    int beeps = 0;
    std::deque<std::string> errors;
};

// Pointers to the concrete parts of a null platform, for tests that drive and inspect them.
// They stay valid as long as the Platform they were made with owns the parts.
struct NullPlatformParts
{
    MemoryVideo* video = nullptr;
    ScriptedEvents* events = nullptr;
    ManualClock* clock = nullptr;
    NullText* text = nullptr;
    RecordingSystem* system = nullptr;
};

// A complete headless platform with a manual clock and no audio (makeAudio is left empty).
Platform MakeNullPlatform(NullPlatformParts* parts = nullptr);

}  // namespace vorlanex
