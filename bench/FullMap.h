#pragma once
// A full battlefield for benchmarks: every cell of all three layers filled, a tiled 256 x 256 background and 100
// snow flakes, in a form with the built-in pictures so that flakes replace themselves as in a battle.

#include <memory>
#include <vector>

#include "actors/Snow.h"
#include "actors/TerrSprite.h"
#include "assets/BuiltinAssets.h"
#include "framework/Bitmap.h"
#include "framework/Display.h"
#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"

namespace vorlanex::bench {

// A tile picture: solid ground, or a shape with transparent parts like the trees of the upper layers.
inline TBitmap TilePicture(int kind)
{
    std::vector<TColor> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
        {
            const int dx = x - 16, dy = y - 16;
            const bool hole = kind >= 2 && (kind == 2 ? dx * dx + dy * dy > 196 : ((x / 4 + y / 4) % 3 == 0));
            pixels[std::size_t(y * 32 + x)] =
                hole ? clBlack : RGBColor(std::uint8_t(40 * kind + x), std::uint8_t(100 + y), std::uint8_t(60 + kind));
        }
    return TBitmap::TrueColor(32, 32, std::move(pixels));
}

inline TBitmap PlainPicture(int w, int h, TColor colour)
{
    return TBitmap::TrueColor(w, h, std::vector<TColor>(std::size_t(w) * std::size_t(h), colour));
}

struct FullMap
{
    FullMap()
    {
        form->DXDraw.StartDisplay();
        for (int kind = 0; kind < 4; ++kind)
            tiles.push_back(&AddPicture(TilePicture(kind), 32, 32));
        TPictureCollectionItem& back = AddPicture(PlainPicture(256, 256, RGBColor(90, 120, 60)), 256, 256);

        auto* background = new TBackgroundSprite(&engine);
        background->Image = &back;
        background->SetGridSize(1, 1);
        background->SetZ(-1);
        background->Tiled = true;
        const std::int32_t layerZ[3] = {0, 3, 5};
        for (int layer = 0; layer < 3; ++layer)
            for (int row = 0; row < 24; ++row)
                for (int col = 0; col < 32; ++col)
                    AddTerrain(layer, col, row, layerZ[layer]);
        for (int i = 0; i < 100; ++i)
            CreateSnowFlake(engine, false);
    }

    ~FullMap() { engine.Clear(); }

    TPictureCollectionItem& AddPicture(TBitmap bitmap, int w, int h)
    {
        TPictureCollectionItem& item = form->DXImageList.Items.Add();
        item.Picture = std::move(bitmap);
        item.SetPatternWidth(w);
        item.SetPatternHeight(h);
        item.Transparent = true;
        item.Load(form->DXDraw);
        return item;
    }

    void AddTerrain(int layer, int col, int row, std::int32_t z)
    {
        auto* terrain = new TTerrSprite(&engine);
        terrain->Image = tiles[std::size_t(layer == 0 ? (col + row) % 2 : layer + (col % 2))];
        terrain->Width = terrain->Height = 32;
        terrain->X = col * 32;
        terrain->Y = row * 32;
        terrain->SetZ(z);
    }

    static std::unique_ptr<TMainForm> MakeForm(Platform& platform)
    {
        GameConfig config;
        config.seed = 7;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        return std::make_unique<TMainForm>(platform, config);
    }

    Platform platform = MakeNullPlatform();
    std::unique_ptr<TMainForm> form = MakeForm(platform);
    TSpriteEngine& engine = *form->SpriteEngine.Engine;
    std::vector<TPictureCollectionItem*> tiles;
};

}  // namespace vorlanex::bench
