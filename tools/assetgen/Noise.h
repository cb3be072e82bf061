#pragma once
// Deterministic noise for generated pictures: the same values on every machine and compiler.

#include <cmath>
#include <cstdint>

namespace vorlanex::assetgen {

// A fixed integer hash of a lattice point, in [0, 1).
inline double LatticeHash(int x, int y, int seed)
{
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + std::uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0x1000000);
}

// Value noise on a lattice of `period` x `period` points over a square picture of `size` pixels; it wraps at
// the picture's edge, so the picture tiles without a seam.
inline double WrappingNoise(double x, double y, int size, int period, int seed)
{
    const double cell = double(size) / period;
    const double fx = x / cell, fy = y / cell;
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(fx - x0), ty = smooth(fy - y0);
    auto at = [&](int ix, int iy) {
        return LatticeHash(((ix % period) + period) % period, ((iy % period) + period) % period, seed);
    };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace vorlanex::assetgen
