#include <SDL.h>
#include <signal.h>

#include <array>
#include <cmath>
#include <stdexcept>

#include "platform/sdl2/SdlKeymap.h"
#include "platform/sdl2/SdlPlatform.h"
#include "platform/sdl2/SdlVideo.h"

namespace vorlanex {

namespace {

// A signal handler can only leave a mark; the event source turns it into a quit at its next poll. SDL turns
// SIGTERM and SIGINT into a quit itself; a closed terminal (SIGHUP) is handled the same way here.
volatile sig_atomic_t hangupArrived = 0;

extern "C" void NoteHangup(int) { hangupArrived = 1; }

class SdlEvents final : public Events
{
public:
    explicit SdlEvents(Video* video) : video(dynamic_cast<SdlVideo*>(video))
    {
        if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
            throw std::runtime_error(std::string("Cannot start the event system: ") + SDL_GetError());
        // Without a controller subsystem the game simply has no pads.
        padsReady = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        struct sigaction hangup {};
        hangup.sa_handler = NoteHangup;
        sigemptyset(&hangup.sa_mask);
        hangup.sa_flags = SA_RESTART;
        hangupHandled = sigaction(SIGHUP, &hangup, &previousHangup) == 0;
    }
    ~SdlEvents() override
    {
        if (hangupHandled)
            sigaction(SIGHUP, &previousHangup, nullptr);
        for (SDL_GameController* pad : pads)
            if (pad)
                SDL_GameControllerClose(pad);
        if (padsReady)
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
    SdlEvents(const SdlEvents&) = delete;
    SdlEvents& operator=(const SdlEvents&) = delete;

    bool Poll(InputEvent& out) override
    {
        if (hangupArrived && !hangupReported)
        {
            hangupReported = true;
            out = InputEvent{};
            out.kind = EventKind::Quit;
            return true;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (Translate(event, out) || TranslatePad(event, out))
                return true;
        return false;
    }

    void MousePosition(int& x, int& y) override;
    void ReadKeyboard(std::uint8_t keys[256]) override;
    bool HasFocus() override;
    bool QuitPending() override;

private:
    static bool Translate(const SDL_Event& event, InputEvent& out);
    static bool TranslateKey(const SDL_KeyboardEvent& key, InputEvent& out);
    static bool TranslateButton(const SDL_MouseButtonEvent& button, InputEvent& out);
    static bool TranslateWindow(const SDL_WindowEvent& window, InputEvent& out);

    bool TranslatePad(const SDL_Event& event, InputEvent& out);
    void PadAdded(int deviceIndex);
    int SlotOf(SDL_JoystickID instance) const;

    SDL_Window* OpenWindow() const { return video && video->IsOpen() ? video->Window() : nullptr; }

    SdlVideo* video;
    bool padsReady = false;
    bool hangupHandled = false;
    bool hangupReported = false;
    struct sigaction previousHangup {};
    std::array<SDL_GameController*, PadCount> pads{};   // by slot: pad 1, pad 2
};

int SdlEvents::SlotOf(SDL_JoystickID instance) const
{
    for (int slot = 0; slot < PadCount; ++slot)
        if (pads[std::size_t(slot)] &&
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pads[std::size_t(slot)])) == instance)
            return slot;
    return -1;
}

// A plugged-in pad takes the first free slot; with both taken it is left alone.
void SdlEvents::PadAdded(int deviceIndex)
{
    if (SlotOf(SDL_JoystickGetDeviceInstanceID(deviceIndex)) >= 0)
        return;   // already open: SDL may report a pad present at start-up twice
    for (SDL_GameController*& slot : pads)
        if (!slot)
        {
            slot = SDL_GameControllerOpen(deviceIndex);
            return;
        }
}

bool SdlEvents::TranslatePad(const SDL_Event& event, InputEvent& out)
{
    out = InputEvent{};
    switch (event.type)
    {
    case SDL_CONTROLLERDEVICEADDED: PadAdded(event.cdevice.which); return false;
    case SDL_CONTROLLERDEVICEREMOVED:
        out.pad = SlotOf(event.cdevice.which);
        if (out.pad < 0)
            return false;
        SDL_GameControllerClose(pads[std::size_t(out.pad)]);
        pads[std::size_t(out.pad)] = nullptr;
        out.kind = EventKind::PadRemoved;
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        out.pad = SlotOf(event.cbutton.which);
        out.kind = event.type == SDL_CONTROLLERBUTTONDOWN ? EventKind::PadDown : EventKind::PadUp;
        switch (event.cbutton.button)
        {
        case SDL_CONTROLLER_BUTTON_A: out.padButton = PadButton::A; break;
        case SDL_CONTROLLER_BUTTON_B: out.padButton = PadButton::B; break;
        case SDL_CONTROLLER_BUTTON_X: out.padButton = PadButton::X; break;
        case SDL_CONTROLLER_BUTTON_START: out.padButton = PadButton::Start; break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: out.padButton = PadButton::DpadUp; break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: out.padButton = PadButton::DpadDown; break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: out.padButton = PadButton::DpadLeft; break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: out.padButton = PadButton::DpadRight; break;
        default: return false;
        }
        return out.pad >= 0;
    case SDL_CONTROLLERAXISMOTION:
        out.pad = SlotOf(event.caxis.which);
        if (event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX && event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY)
            return false;
        out.kind = EventKind::PadAxis;
        out.axis = event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX : PadAxis::LeftY;
        out.axisValue = event.caxis.value;
        return out.pad >= 0;
    default: return false;
    }
}

// SIGTERM, the window manager's close button and Alt+F4 under a window manager all arrive as SDL_QUIT.
bool SdlEvents::Translate(const SDL_Event& event, InputEvent& out)
{
    out = InputEvent{};
    switch (event.type)
    {
    case SDL_QUIT:
        out.kind = EventKind::Quit;
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return TranslateKey(event.key, out);
    case SDL_MOUSEBUTTONDOWN:
        return TranslateButton(event.button, out);
    case SDL_MOUSEBUTTONUP:
        if (!TranslateButton(event.button, out))
            return false;
        out.kind = EventKind::MouseUp;
        return true;
    case SDL_MOUSEWHEEL:
        out.kind = EventKind::MouseWheel;
        out.wheel = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        return out.wheel != 0;
    case SDL_MOUSEMOTION:
        out.kind = EventKind::MouseMove;
        out.x = event.motion.x;
        out.y = event.motion.y;
        return true;
    case SDL_WINDOWEVENT:
        return TranslateWindow(event.window, out);
    default:
        return false;
    }
}

bool SdlEvents::QuitPending()
{
    if (hangupArrived)
        return true;
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0)
        return true;
    // Without a window manager Alt+F4 is only a key press; a peek leaves the queue as it was.
    SDL_Event keys[64];
    const int count = SDL_PeepEvents(keys, 64, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN);
    for (int i = 0; i < count; ++i)
        if (keys[i].key.keysym.scancode == SDL_SCANCODE_F4 && (keys[i].key.keysym.mod & KMOD_ALT))
            return true;
    return false;
}

bool SdlEvents::TranslateKey(const SDL_KeyboardEvent& key, InputEvent& out)
{
    out.key = VirtualKeyFromScancode(key.keysym.scancode);
    if (out.key == 0)
        return false;
    out.kind = key.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
    out.repeat = key.repeat != 0;
    out.alt = (key.keysym.mod & KMOD_ALT) != 0;
    return true;
}

// With a logical size set, SDL already reports button positions in logical coordinates.
bool SdlEvents::TranslateButton(const SDL_MouseButtonEvent& button, InputEvent& out)
{
    switch (button.button)
    {
    case SDL_BUTTON_LEFT: out.button = MouseButton::Left; break;
    case SDL_BUTTON_RIGHT: out.button = MouseButton::Right; break;
    case SDL_BUTTON_MIDDLE: out.button = MouseButton::Middle; break;
    default: return false;
    }
    out.kind = EventKind::MouseDown;
    out.x = button.x;
    out.y = button.y;
    return true;
}

bool SdlEvents::TranslateWindow(const SDL_WindowEvent& window, InputEvent& out)
{
    if (window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        out.kind = EventKind::FocusGained;
    else if (window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        out.kind = EventKind::FocusLost;
    else
        return false;
    return true;
}

// SDL_GetMouseState answers in window pixels, unlike the events; the renderer maps them to the logical display.
void SdlEvents::MousePosition(int& x, int& y)
{
    int windowX = 0, windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    x = windowX;
    y = windowY;
    if (SDL_Window* window = OpenWindow(); window && video->Renderer())
    {
        float logicalX = 0, logicalY = 0;
        SDL_RenderWindowToLogical(video->Renderer(), windowX, windowY, &logicalX, &logicalY);
        x = int(std::floor(logicalX));
        y = int(std::floor(logicalY));
    }
}

void SdlEvents::ReadKeyboard(std::uint8_t keys[256])
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    KeyboardFromScancodes(state, count, keys);
}

// The virtual drivers never hand out keyboard focus; a run on them counts as focused, as does one without window.
bool SdlEvents::HasFocus()
{
    SDL_Window* window = OpenWindow();
    if (!window || IsVirtualVideoDriver())
        return true;
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

}  // namespace

std::unique_ptr<Events> MakeSdlEvents(Video* video)
{
    return std::make_unique<SdlEvents>(video);
}

}  // namespace vorlanex
