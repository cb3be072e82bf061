#pragma once
// Portable PCM helpers: whole-sound conversion to a device format and saturating mixing.
// The null audio device uses them; the SDL device has its own exact converter and mixer.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Audio.h"

namespace vorlanex {

// Converts 8-bit unsigned or 16-bit signed PCM of 1 or 2 channels to signed 16-bit samples of the
// device format; the rate is changed by linear interpolation (output frames = input frames x to / from).
// Throws std::runtime_error for another sample layout.
std::vector<std::int16_t> ConvertPcm(const PcmFormat& from, std::span<const std::uint8_t> data, const AudioFormat& to);

// dst[i] += src[i] x volume / 128, clipped to the 16-bit range.
void MixSaturating(std::int16_t* dst, const std::int16_t* src, int count, int volume);

}  // namespace vorlanex
