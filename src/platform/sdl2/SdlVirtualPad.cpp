#include <SDL.h>

#include <stdexcept>
#include <string>

#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {

namespace {

SDL_GameControllerButton SdlButton(PadButton button)
{
    switch (button)
    {
    case PadButton::A: return SDL_CONTROLLER_BUTTON_A;
    case PadButton::B: return SDL_CONTROLLER_BUTTON_B;
    case PadButton::X: return SDL_CONTROLLER_BUTTON_X;
    case PadButton::Start: return SDL_CONTROLLER_BUTTON_START;
    case PadButton::DpadUp: return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case PadButton::DpadDown: return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case PadButton::DpadLeft: return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case PadButton::DpadRight: return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    }
    return SDL_CONTROLLER_BUTTON_INVALID;
}

SDL_Joystick* Joystick(void* handle) { return static_cast<SDL_Joystick*>(handle); }

}  // namespace

VirtualPad::VirtualPad()
{
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Vorlanex test pad";
    deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex < 0)
        throw std::runtime_error(std::string("Cannot attach a virtual pad: ") + SDL_GetError());
    joystick = SDL_JoystickOpen(deviceIndex);
    if (!joystick)
    {
        SDL_JoystickDetachVirtual(deviceIndex);
        throw std::runtime_error(std::string("Cannot open the virtual pad: ") + SDL_GetError());
    }
}

VirtualPad::~VirtualPad()
{
    SDL_JoystickClose(Joystick(joystick));
    SDL_JoystickDetachVirtual(deviceIndex);
}

void VirtualPad::SetButton(PadButton button, bool down)
{
    SDL_JoystickSetVirtualButton(Joystick(joystick), SdlButton(button), down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::SetAxis(PadAxis axis, int value)
{
    const int sdlAxis = axis == PadAxis::LeftX ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY;
    SDL_JoystickSetVirtualAxis(Joystick(joystick), sdlAxis, Sint16(value));
}

}  // namespace vorlanex
