#pragma once
// What the editor offers to draw with: every tile of the game folder's tile library, with its picture, its
// name and whether tanks can cross it, and the backgrounds of the game folder.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/PictureCollection.h"

namespace vorlanex {

struct PaletteTile
{
    std::string path;       // GBK, as maps name it
    std::string name;       // UTF-8, as the player reads it
    std::uint8_t flags = 0; // bit 0: tanks pass
    TPictureCollectionItem* picture = nullptr;
};

class EditorPalette
{
public:
    // Reads the library and the backgrounds of `appDir`; `problem` tells why the library gave nothing.
    void Load(const std::string& appDir, TDXDraw& display, std::string& problem);

    const std::vector<PaletteTile>& Tiles() const { return tiles; }
    const PaletteTile* Find(const std::string& gbkPath) const;
    // Background names (GBK, "folder\file.BMP"); the first is "" for the plain background.
    const std::vector<std::string>& Backgrounds() const { return backgrounds; }
    // The picture of a background name, loaded once; nullptr for the plain one or a picture that cannot be read.
    TPictureCollectionItem* BackgroundPicture(const std::string& gbkName);

private:
    std::string appDir;
    TDXDraw* display = nullptr;
    TPictureCollection pictures;
    std::vector<PaletteTile> tiles;
    std::vector<std::string> backgrounds;
};

}  // namespace vorlanex
