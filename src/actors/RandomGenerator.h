#pragma once
// The gameplay random generator: seedable so that a seed and an input script replay the same game.

#include <cstdint>

namespace vorlanex {

class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint64_t seed = 1) { Seed(seed); }

    void Seed(std::uint64_t seed)
    {
        state = seed ^ 0x9E3779B97F4A7C15ull;
        if (state == 0)
            state = 1;
    }

    // An integer in 0 .. n-1 with equal chances; 0 when n <= 0.
    std::int32_t Random(std::int32_t n)
    {
        if (n <= 0)
            return 0;
        return std::int32_t((Next() >> 32) * std::uint64_t(n) >> 32);
    }

    // A double in [0, 1).
    double RandomNumber() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }

    std::uint64_t State() const { return state; }

private:
    // xorshift64*: small, fast and the same on every machine.
    std::uint64_t Next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }

    std::uint64_t state = 1;
};

}  // namespace vorlanex
