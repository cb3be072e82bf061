#pragma once
// The real backend over SDL2, SDL2_ttf and fontconfig. This header exposes no SDL types, so the program entry
// can choose a backend without seeing SDL.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace vorlanex {

// A 1024 x 768 logical display, desktop full screen or a window, presented through a streaming RGB565 texture.
std::unique_ptr<Video> MakeSdlVideo();
// Empty when a window can be opened; otherwise why not ("no display (DISPLAY is not set)"). With no display
// SDL falls back to a virtual driver and the game would run unseen: that counts as no window, unless the user
// chose the driver on purpose with SDL_VIDEODRIVER.
std::string WindowUnavailableReason();
// Events of the SDL event queue. `video` (made by MakeSdlVideo) maps the mouse into logical coordinates and
// tells whether the window has the input focus; it may be null for a run without a window.
std::unique_ptr<Events> MakeSdlEvents(Video* video);
std::unique_ptr<Clock> MakeSdlClock();
// Text through SDL2_ttf with fonts found by fontconfig; needs no window.
std::unique_ptr<Text> MakeSdlText();
// Beeps and error reports; a message box is shown only while `video` has an open window.
std::unique_ptr<System> MakeSdlSystem(Video* video);

// The virtual-key code for an SDL scancode, or 0 for a key the game has no code for.
int VirtualKeyFromScancode(int sdlScancode);

}  // namespace vorlanex

namespace vorlanex {

// A game controller that exists only in SDL, for tests of the real backend: it is plugged in when made and
// unplugged when destroyed. Needs the event source (MakeSdlEvents) to exist first.
class VirtualPad
{
public:
    VirtualPad();   // throws std::runtime_error when SDL cannot attach it
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void SetButton(PadButton button, bool down);
    void SetAxis(PadAxis axis, int value);

private:
    int deviceIndex = -1;
    void* joystick = nullptr;   // the SDL joystick that feeds the virtual device
};

}  // namespace vorlanex
