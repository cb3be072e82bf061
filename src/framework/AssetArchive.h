#pragma once
// The built-in asset archive: named pictures (BMP images) and waves (RIFF images) that the asset
// generator writes at build time and the executable embeds.
// Layout: "VXA1", u32 count, then per entry: u8 kind, u16 name length, UTF-8 name, u32 size, bytes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorlanex {

enum class AssetKind : std::uint8_t { Picture = 1, Wave = 2 };

struct AssetEntry
{
    AssetKind kind = AssetKind::Picture;
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Throws std::runtime_error when the archive is malformed.
std::vector<AssetEntry> ReadAssetArchive(std::span<const std::uint8_t> archive);
std::vector<std::uint8_t> WriteAssetArchive(const std::vector<AssetEntry>& entries);
// The entry of that kind and name, or null.
const AssetEntry* FindAsset(const std::vector<AssetEntry>& entries, AssetKind kind, const std::string& name);

}  // namespace vorlanex
