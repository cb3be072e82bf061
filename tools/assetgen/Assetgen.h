#pragma once
// The asset generator: every built-in picture and wave and every file of the game folder is made here,
// deterministically, by steps that register themselves.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/AssetArchive.h"

namespace vorlanex::assetgen {

struct Context
{
    std::filesystem::path dataSource;   // data/ in the source tree
    std::filesystem::path outDir;       // the game folder (the build folder)
};

// A step adds built-in entries to the archive and/or writes files into ctx.outDir.
using StepFunction = std::function<void(const Context& ctx, std::vector<AssetEntry>& archive)>;

struct RegisterStep
{
    // Steps run in order of `order`, then name.
    RegisterStep(int order, std::string name, StepFunction fn);
};

// Writes bytes to a file, replacing it only when the contents differ (keeps timestamps stable).
void WriteFileIfChanged(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vorlanex::assetgen
