// Any bytes given to the wave reader either load or raise WaveError; a loaded wave converts to a
// device format without reading outside its data.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Wave.h"
#include "platform/common/PcmConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vorlanex::Wave wave;
    try
    {
        wave.LoadFromBytes(std::vector<std::uint8_t>(data, data + size), "fuzz.wav");
    }
    catch (const vorlanex::WaveError&)
    {
        return 0;
    }
    if (wave.Data().size() > wave.Image().size() || wave.FormatBlock().size() < 16)
        __builtin_trap();
    // A short rate change keeps the run fast; the length still depends on the input.
    const auto head = wave.Data().first(std::min<std::size_t>(wave.Data().size(), 4096));
    const auto samples = vorlanex::ConvertPcm(wave.Format().Pcm(), head, {wave.Format().Pcm().frequency / 2 + 1, 2});
    if (samples.size() > (1u << 24))
        __builtin_trap();
    return 0;
}
