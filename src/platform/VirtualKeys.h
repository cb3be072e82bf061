#pragma once
// The virtual-key codes the game reads: the index of a key in the 256-byte keyboard state and the code a key
// event carries. Letters and digits are their capital ASCII codes.

namespace vorlanex::vk {

inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Alt = 0x12;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Numpad2 = 0x62;
inline constexpr int Numpad4 = 0x64;
inline constexpr int Numpad6 = 0x66;
inline constexpr int Numpad8 = 0x68;
inline constexpr int F1 = 0x70;
inline constexpr int F2 = 0x71;
inline constexpr int F3 = 0x72;
inline constexpr int F4 = 0x73;
inline constexpr int F5 = 0x74;
inline constexpr int F6 = 0x75;
inline constexpr int F7 = 0x76;
inline constexpr int F8 = 0x77;
inline constexpr int F9 = 0x78;
inline constexpr int F10 = 0x79;
inline constexpr int F11 = 0x7A;
inline constexpr int F12 = 0x7B;

constexpr int Letter(char c) { return c; }

}  // namespace vorlanex::vk
