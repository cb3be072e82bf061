#pragma once
// Tiles of the tile library "图库.TIL": a small picture plus the terrain attributes its terrain sprite gets.
//
// A tile is addressed by its Path, GBK parts separated by "\": "S\T" is stream T in top-level storage S,
// "S\U\T" is stream T in storage U inside S. A tile stream holds a whole BMP file, then one byte of Flags
// and four bytes of Durability (little-endian, signed).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/CompoundFile.h"

namespace vorlanex {

// The tile library's name in the game folder.
inline constexpr const char* TileLibraryName = "图库.TIL";

// The tile library in `appDir` (trailing separator included): the exact name when it exists, else an entry
// whose name matches ignoring ASCII letter case, in UTF-8 or in GBK bytes, else the exact name (which then
// fails to open).
std::string FindTileLibrary(const std::string& appDir);

// Splits a GBK path at "\" into its first three parts (missing parts are empty). A "\" byte that is the
// second byte of a double-byte character does not split.
std::array<std::string, 3> SplitTilePath(const std::string& gbkPath);

class TTile
{
public:
    TTile();
    explicit TTile(std::string libraryFile, std::function<void()> beep = {},
                   std::function<void(const std::string&)> reportFault = {});

    // Reads the tile named by Path from LibraryFile into Bitmap, Flags and Durability. False, after a beep,
    // when the tile cannot be found or read; the fields then keep what they held. False without a beep when
    // Path is empty. A stream that does not start with a valid bitmap throws BitmapError.
    bool Load();

    // Takes a tile stream apart: the bitmap by its own header, then Flags and Durability. Bytes missing at
    // the end leave those fields as they were.
    void ParseStream(std::span<const std::uint8_t> bytes, const std::string& sourceName);

    TBitmap Bitmap;                  // 32 x 32 black until a tile is loaded
    std::uint8_t Flags = 0;          // bit 0: tanks pass, bit 1: bullets pass
    std::int32_t Durability = 2000;
    std::string Path;                // GBK

    std::string LibraryFile;         // host path of the tile library
    std::function<void()> Beep;      // the platform's default beep; may be empty
    // Told once, with a message naming the file, when the library is there but not a readable compound
    // file (or its directory or chains turn out damaged); the tiles it cannot give still only beep.
    std::function<void(const std::string&)> ReportFault;

private:
    // The stream's bytes, or empty when the library, a storage or the stream is missing or unreadable.
    std::vector<std::uint8_t> ReadTileStream();
    bool OpenLibrary();
    std::optional<CompoundFile::EntryId> FindEntry(CompoundFile::EntryId storage, const std::string& gbkName,
                                                   bool wantStorage) const;
    void NoteLibraryFault(const std::string& message);

    // A level build loads a tile for every cell: the library is read once per tile object, not per cell.
    std::shared_ptr<const CompoundFile> library;
    std::string libraryOpenedFrom;
    bool libraryRefused = false;
    bool faultReported = false;
};

class TTiles
{
public:
    TTiles() = default;
    TTiles(const TTiles&) = delete;
    TTiles& operator=(const TTiles&) = delete;
    ~TTiles();

    void Clear();

    std::vector<std::unique_ptr<TTile>> TileList;
};

}  // namespace vorlanex
