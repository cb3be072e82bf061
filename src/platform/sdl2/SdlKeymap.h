#pragma once
// The fixed scancode to virtual-key table of the SDL keyboard (VirtualKeyFromScancode is in SdlPlatform.h).

#include <cstdint>

namespace vorlanex {

// The left/right code of a modifier key (Shift 0xA0/0xA1, Ctrl 0xA2/0xA3, Alt 0xA4/0xA5), or 0.
int SidedVirtualKeyFromScancode(int sdlScancode);

// Fills 256 virtual-key bytes (0x80 = down) from SDL's keyboard state array of `count` scancodes. A modifier
// sets both its generic and its left/right code.
void KeyboardFromScancodes(const std::uint8_t* scancodeState, int count, std::uint8_t keys[256]);

}  // namespace vorlanex
