#include <SDL.h>

#include <algorithm>
#include <array>

#include "platform/sdl2/SdlKeymap.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {

namespace {

struct KeyPair
{
    SDL_Scancode scancode;
    int vk;
};

// Keys whose virtual-key code does not follow from a run of letters, digits or function keys.
constexpr KeyPair namedKeys[] = {
    {SDL_SCANCODE_SPACE, 0x20},       {SDL_SCANCODE_RETURN, 0x0D},      {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},      {SDL_SCANCODE_TAB, 0x09},         {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_LEFT, 0x25},        {SDL_SCANCODE_UP, 0x26},          {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},        {SDL_SCANCODE_LSHIFT, 0x10},      {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},       {SDL_SCANCODE_RCTRL, 0x11},       {SDL_SCANCODE_LALT, 0x12},
    {SDL_SCANCODE_RALT, 0x12},        {SDL_SCANCODE_PAUSE, 0x13},       {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PAGEUP, 0x21},      {SDL_SCANCODE_PAGEDOWN, 0x22},    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_HOME, 0x24},        {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},      {SDL_SCANCODE_LGUI, 0x5B},        {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D}, {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},    {SDL_SCANCODE_KP_PERIOD, 0x6E},   {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_SCROLLLOCK, 0x91}, {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},      {SDL_SCANCODE_COMMA, 0xBC},       {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},      {SDL_SCANCODE_SLASH, 0xBF},       {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDL_SCANCODE_BACKSLASH, 0xDC},   {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
};

// Keypad digits by scancode order 1..9, 0; they mean digits whatever the NumLock state.
constexpr SDL_Scancode keypadDigits[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                           SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                           SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                           SDL_SCANCODE_KP_9};

constexpr std::array<std::uint8_t, SDL_NUM_SCANCODES> BuildTable()
{
    std::array<std::uint8_t, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i)
        table[SDL_SCANCODE_A + i] = std::uint8_t(0x41 + i);
    table[SDL_SCANCODE_0] = 0x30;
    for (int i = 0; i < 9; ++i)
        table[SDL_SCANCODE_1 + i] = std::uint8_t(0x31 + i);
    for (int i = 0; i < 10; ++i)
        table[keypadDigits[i]] = std::uint8_t(0x60 + i);
    for (int i = 0; i < 12; ++i)
        table[SDL_SCANCODE_F1 + i] = std::uint8_t(0x70 + i);
    for (const KeyPair& pair : namedKeys)
        table[pair.scancode] = std::uint8_t(pair.vk);
    return table;
}

constexpr std::array<std::uint8_t, SDL_NUM_SCANCODES> scancodeTable = BuildTable();

}  // namespace

int VirtualKeyFromScancode(int sdlScancode)
{
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES)
        return 0;
    return scancodeTable[std::size_t(sdlScancode)];
}

int SidedVirtualKeyFromScancode(int sdlScancode)
{
    switch (sdlScancode)
    {
    case SDL_SCANCODE_LSHIFT: return 0xA0;
    case SDL_SCANCODE_RSHIFT: return 0xA1;
    case SDL_SCANCODE_LCTRL: return 0xA2;
    case SDL_SCANCODE_RCTRL: return 0xA3;
    case SDL_SCANCODE_LALT: return 0xA4;
    case SDL_SCANCODE_RALT: return 0xA5;
    default: return 0;
    }
}

void KeyboardFromScancodes(const std::uint8_t* scancodeState, int count, std::uint8_t keys[256])
{
    std::fill(keys, keys + 256, std::uint8_t(0));
    for (int sc = 0; sc < count; ++sc)
    {
        if (!scancodeState[sc])
            continue;
        if (const int vk = VirtualKeyFromScancode(sc))
            keys[vk] = 0x80;
        if (const int sided = SidedVirtualKeyFromScancode(sc))
            keys[sided] = 0x80;
    }
}

}  // namespace vorlanex
