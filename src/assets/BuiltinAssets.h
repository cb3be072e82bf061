#pragma once
// The asset archive embedded into the executable at build time.

#include <cstdint>
#include <span>

namespace vorlanex {

std::span<const std::uint8_t> BuiltinAssetArchive();

}  // namespace vorlanex
