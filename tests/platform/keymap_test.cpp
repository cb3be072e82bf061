#include <gtest/gtest.h>

#include "platform/sdl2/SdlKeymap.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

// SDL scancodes are the USB HID keyboard usage codes; the numbers below are taken from that standard so the
// table is checked against something other than itself.
namespace hid {
constexpr int A = 4, Z = 29, Digit1 = 30, Digit0 = 39, Return = 40, Escape = 41, Backspace = 42, Tab = 43,
              Space = 44, F1 = 58, F12 = 69, Right = 79, Left = 80, Down = 81, Up = 82, NumLock = 83,
              KeypadEnter = 88, Keypad1 = 89, Keypad8 = 96, Keypad9 = 97, Keypad0 = 98, LeftCtrl = 224,
              LeftShift = 225, LeftAlt = 226, RightCtrl = 228, RightShift = 229, RightAlt = 230;
}

TEST(Keymap, KeysOfTheAssignmentTableAndTheFunctionKeys)
{
    const std::pair<int, int> expected[] = {
        {hid::Up, 0x26},       {hid::Down, 0x28},      {hid::Left, 0x25},     {hid::Right, 0x27},
        {hid::Keypad8, 0x68},  {hid::Keypad1 + 1, 0x62}, {hid::Keypad1 + 3, 0x64}, {hid::Keypad1 + 5, 0x66},
        {hid::Space, 0x20},    {hid::A + 22, 0x57},    {hid::Z, 0x5A},        {hid::A, 0x41},
        {hid::A + 18, 0x53},   {hid::LeftShift, 0x10}, {hid::RightShift, 0x10}, {hid::Tab, 0x09},
        {hid::Return, 0x0D},   {hid::KeypadEnter, 0x0D}, {hid::Escape, 0x1B}, {hid::A + 15, 0x50},
        {hid::Backspace, 0x08}, {hid::LeftCtrl, 0x11}, {hid::RightAlt, 0x12}, {hid::Digit1, 0x31},
        {hid::Digit0, 0x30},   {hid::Keypad0, 0x60},   {hid::Keypad9, 0x69},
    };
    for (const auto& [scancode, vk] : expected)
        EXPECT_EQ(VirtualKeyFromScancode(scancode), vk) << "scancode " << scancode;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(hid::F1 + i), 0x70 + i) << "F" << i + 1;
    EXPECT_EQ(VirtualKeyFromScancode(hid::F12), 0x7B);
}

TEST(Keymap, UnknownAndOutOfRangeScancodesGiveNoKey)
{
    EXPECT_EQ(VirtualKeyFromScancode(0), 0);
    EXPECT_EQ(VirtualKeyFromScancode(-1), 0);
    EXPECT_EQ(VirtualKeyFromScancode(100000), 0);
    EXPECT_EQ(VirtualKeyFromScancode(hid::NumLock), 0x90);   // known, but not a digit key
}

TEST(Keymap, KeyboardStateSetsGenericAndSidedModifierCodes)
{
    std::uint8_t scancodes[512] = {};
    scancodes[hid::RightShift] = 1;
    scancodes[hid::LeftCtrl] = 1;
    scancodes[hid::LeftAlt] = 1;
    scancodes[hid::Keypad8] = 1;
    std::uint8_t keys[256];
    std::fill(keys, keys + 256, std::uint8_t(0x55));   // stale bytes must be cleared
    KeyboardFromScancodes(scancodes, 512, keys);
    std::vector<int> down;
    for (int vk = 0; vk < 256; ++vk)
    {
        EXPECT_TRUE(keys[vk] == 0 || keys[vk] == 0x80) << vk;
        if (keys[vk] & 0x80)
            down.push_back(vk);
    }
    EXPECT_EQ(down, (std::vector<int>{0x10, 0x11, 0x12, 0x68, 0xA1, 0xA2, 0xA4}));
}

}  // namespace
}  // namespace vorlanex
