#pragma once
// The built-in sound catalogue: every wave stored in the program, in catalogue order, with its play
// settings and the exact format and length of its samples. The asset generator makes waves of exactly
// these formats; the form loads them.

#include <array>
#include <vector>

#include "framework/AssetArchive.h"
#include "framework/DXSounds.h"

namespace vorlanex {

struct WaveDef
{
    const char* name;
    bool looped;
    int maxPlayingCount;
    int channels;
    int rate;
    int bits;
    int dataBytes;
};

inline constexpr std::array<WaveDef, 8> kBuiltinWaveDefs{{
    {"SceneMov", false, 0, 2, 22050, 16, 42640},
    {"Explosion", false, 0, 1, 11025, 16, 24076},
    {"kan!!", false, 0, 2, 11025, 8, 5916},
    {"吃宝", false, 0, 1, 22050, 8, 30132},
    {"飞机声", false, 2, 1, 11025, 8, 67626},
    {"Hum", false, 0, 1, 11025, 16, 9372},
    {"短爆炸声0", false, 0, 1, 11025, 8, 4379},
    {"GemBorn", false, 0, 1, 22050, 8, 27990},
}};

// Appends the built-in waves to the list in catalogue order, from the archive's wave entries.
// Throws std::runtime_error when an entry is missing and WaveError when one cannot be read.
void LoadBuiltinWaves(TDXWaveList& list, const std::vector<AssetEntry>& archive);

}  // namespace vorlanex
