#pragma once
// The audio output over SDL2: one device, 16-bit stereo at the device's own rate, pulled by a callback.
// This header exposes no SDL types.

#include <memory>

#include "platform/Audio.h"

namespace vorlanex {

// The device opens when the sound catalogue starts it; opening throws when there is no usable output.
std::unique_ptr<AudioDevice> MakeSdlAudioDevice();

}  // namespace vorlanex
