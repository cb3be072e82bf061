#include "assets/BuiltinAssets.h"

extern "C" const std::uint8_t vorlanex_builtin_assets_begin[];
extern "C" const std::uint8_t vorlanex_builtin_assets_end[];

namespace vorlanex {

std::span<const std::uint8_t> BuiltinAssetArchive()
{
    return {vorlanex_builtin_assets_begin, std::size_t(vorlanex_builtin_assets_end - vorlanex_builtin_assets_begin)};
}

}  // namespace vorlanex
