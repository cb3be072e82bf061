#pragma once
// Helpers for sprite tests: a probe sprite that records what the engine asks of it, and small pictures loaded
// on a started memory display.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Display.h"
#include "framework/PictureCollection.h"
#include "framework/SpriteEngine.h"

namespace vorlanex::testing {

// Appends "<event>:<name>" to a shared log for every Step, Render and OnHit.
class ProbeSprite : public TSprite
{
public:
    ProbeSprite(TSprite* parent, std::string name, std::vector<std::string>& log)
        : TSprite(parent), name(std::move(name)), log(log)
    {
    }

    void Step(std::int32_t) override { log.push_back("step:" + name); }
    void Render() override { log.push_back("render:" + name); }
    void OnHit(TSprite& other, bool& Done) override
    {
        auto* probe = dynamic_cast<ProbeSprite*>(&other);
        log.push_back("hit:" + (probe ? probe->name : std::string("?")));
        if (onHit)
            onHit(other, Done);
    }

    std::string name;
    std::vector<std::string>& log;
    std::function<void(TSprite&, bool&)> onHit;
};

inline ProbeSprite* MakeProbe(TSprite* parent, const std::string& name, std::vector<std::string>& log,
                              double x = 0, double y = 0, std::int32_t w = 0, std::int32_t h = 0)
{
    auto* sprite = new ProbeSprite(parent, name, log);
    sprite->X = x;
    sprite->Y = y;
    sprite->Width = w;
    sprite->Height = h;
    return sprite;
}

// A started memory display with the engine attached and a catalogue to make pictures in.
struct PictureStage
{
    PictureStage()
    {
        display.StartDisplay();
        engine.SetSurface(&display.BackSurface);
    }

    // A picture of `cols` x `rows` patterns of w x h; pattern i is filled with colour `colours[i]`, and each
    // pattern's top-left pixel is `corner` when given (to see where a pattern lands).
    TPictureCollectionItem& AddPicture(const std::string& name, int w, int h, int cols, int rows,
                                       const std::vector<TColor>& colours, TColor key = clBlack)
    {
        std::vector<TColor> pixels(std::size_t(w * cols) * std::size_t(h * rows), key);
        for (int i = 0; i < cols * rows && i < int(colours.size()); ++i)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    pixels[std::size_t((i / cols) * h + y) * std::size_t(w * cols) + std::size_t((i % cols) * w + x)] =
                        colours[std::size_t(i)];
        return AddBitmap(name, TBitmap::TrueColor(w * cols, h * rows, std::move(pixels)), w, h, key);
    }

    TPictureCollectionItem& AddBitmap(const std::string& name, TBitmap bitmap, int w, int h, TColor key = clBlack)
    {
        TPictureCollectionItem& item = pictures.Add();
        item.SetName(name);
        item.Picture = std::move(bitmap);
        item.SetPatternWidth(w);
        item.SetPatternHeight(h);
        item.Transparent = true;
        item.SetTransparentColor(key);
        item.Load(display);
        return item;
    }

    std::uint16_t Pixel(int x, int y) const { return display.BackSurface.Pixel(x, y); }

    TDXDraw display;
    TPictureCollection pictures;
    TSpriteEngine engine;
};

}  // namespace vorlanex::testing
