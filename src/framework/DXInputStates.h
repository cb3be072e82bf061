#pragma once
// The 36 numbered input states and a set of them.

#include <array>
#include <cstdint>

namespace vorlanex {

enum TDXInputState : int
{
    StateUp = 0, StateDown = 1, StateLeft = 2, StateRight = 3,
    StateButton1 = 4, StateButton2, StateButton3, StateButton4, StateButton5, StateButton6, StateButton7,
    StateButton8, StateButton9, StateButton10, StateButton11, StateButton12, StateButton13, StateButton14,
    StateButton15, StateButton16, StateButton17, StateButton18, StateButton19, StateButton20, StateButton21,
    StateButton22, StateButton23, StateButton24, StateButton25, StateButton26, StateButton27, StateButton28,
    StateButton29, StateButton30, StateButton31, StateButton32 = 35
};

constexpr int InputStateCount = 36;

// The input states each player steers with: that player's keys and that player's pad set the same ones.
struct PlayerInputStates
{
    TDXInputState up, down, left, right, fire, give, keep;
};
inline constexpr PlayerInputStates kPlayerInputStates[2] = {
    {StateUp, StateDown, StateLeft, StateRight, StateButton1, StateButton8, StateButton10},
    {StateButton2, StateButton3, StateButton4, StateButton5, StateButton6, StateButton7, StateButton9},
};

// A set of states: 5 bytes, bit n of byte n div 8 is state n; bits 36 to 39 always clear.
class TDXInputStates
{
public:
    bool Contains(int state) const { return state >= 0 && state < 40 && (bytes[state / 8] >> (state % 8)) & 1; }
    void Include(int state)
    {
        if (state >= 0 && state < InputStateCount)
            bytes[state / 8] |= std::uint8_t(1u << (state % 8));
    }
    void Exclude(int state)
    {
        if (state >= 0 && state < 40)
            bytes[state / 8] &= std::uint8_t(~(1u << (state % 8)));
    }
    void Clear() { bytes = {}; }
    bool Empty() const { return bytes == std::array<std::uint8_t, 5>{}; }
    TDXInputStates operator+(const TDXInputStates& o) const
    {
        TDXInputStates r;
        for (int i = 0; i < 5; ++i)
            r.bytes[i] = bytes[i] | o.bytes[i];
        return r;
    }
    static TDXInputStates Range(int first, int last)
    {
        TDXInputStates r;
        for (int s = first; s <= last; ++s)
            r.Include(s);
        return r;
    }
    bool operator==(const TDXInputStates&) const = default;
    std::array<std::uint8_t, 5> bytes{};
};

}  // namespace vorlanex
