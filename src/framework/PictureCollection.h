#pragma once
// Named picture catalogues: pictures cut into equally sized patterns, drawn onto surfaces.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Display.h"
#include "framework/NameIndex.h"
#include "framework/Surface.h"
#include "framework/Types.h"

namespace vorlanex {

class TPictureCollection;

class TPictureCollectionItem
{
public:
    explicit TPictureCollectionItem(TPictureCollection& collection);
    ~TPictureCollectionItem();
    TPictureCollectionItem(const TPictureCollectionItem&) = delete;
    TPictureCollectionItem& operator=(const TPictureCollectionItem&) = delete;

    const std::string& Name() const { return name; }
    void SetName(const std::string& newName);   // re-files the item in the name index

    // Effective pattern size: the stored value when above 0, else the picture's size.
    int PatternWidth() const { return patternWidth > 0 ? patternWidth : Picture.Width(); }
    int PatternHeight() const { return patternHeight > 0 ? patternHeight : Picture.Height(); }
    int StoredPatternWidth() const { return patternWidth; }
    int StoredPatternHeight() const { return patternHeight; }
    void SetPatternWidth(int w) { patternWidth = w; }
    void SetPatternHeight(int h) { patternHeight = h; }
    int PatternCount() const;

    TBitmap Picture;
    int SkipHeight = 0;
    int SkipWidth = 0;
    bool SystemMemory = false;
    bool Transparent = true;
    TColor TransparentColor() const { return transparentColor; }
    void SetTransparentColor(TColor c);   // re-keys the item's surfaces

    bool IsLoaded() const { return loaded; }
    void Load(TDXDraw& display);   // cut the picture into patterns on the display's format
    void Unload();
    // Replaces the picture from a BMP file; the surfaces are not rebuilt by this. Throws BitmapError.
    void LoadPictureFromFile(const std::string& path);
    // Copies geometry, transparency and picture from source; drops and (if loaded) rebuilds surfaces.
    void AssignItem(const TPictureCollectionItem& source);

    void DrawPattern(TDirectDrawSurface& dest, int x, int y, int index) const;
    // Whether DrawPattern(dest, x, y, index) writes every pixel of dest: whatever lay there before is hidden.
    bool CoversWhole(const TDirectDrawSurface& dest, int x, int y, int index) const;
    void StretchPattern(TDirectDrawSurface& dest, const TRect& destRect, int index) const;
    void DrawPatternRotated(TDirectDrawSurface& dest, int x, int y, int width, int height, int index, double centerX,
                            double centerY, int angle) const;
    void DrawPatternRotatedAlpha(TDirectDrawSurface& dest, int x, int y, int width, int height, int index,
                                 double centerX, double centerY, int angle, int alpha) const;

    struct Pattern
    {
        TRect rect;                       // on `surface`
        const TDirectDrawSurface* surface;
    };
    const std::vector<Pattern>& Patterns() const { return patterns; }

private:
    friend class TPictureCollection;

    struct Grid
    {
        int columns = 0, rows = 0, cellWidth = 0, cellHeight = 0;
    };

    Grid PatternGrid() const;
    const Pattern* DrawablePattern(int index) const;
    void DrawRotated(TDirectDrawSurface& dest, int x, int y, int width, int height, int index, double centerX,
                     double centerY, int angle, int alpha) const;

    TPictureCollection& collection;
    std::string name;
    int patternWidth = 0, patternHeight = 0;
    TColor transparentColor = clBlack;
    bool loaded = false;
    TDXDraw* loadedOn = nullptr;
    std::size_t position = 0;   // index in the collection, kept current across deletes
    std::vector<std::unique_ptr<TDirectDrawSurface>> surfaces;
    std::vector<Pattern> patterns;
};

class TPictureCollection
{
public:
    TPictureCollection() = default;
    ~TPictureCollection();

    int Count() const { return int(items.size()); }
    // Throws std::out_of_range for an index outside 0..Count-1.
    TPictureCollectionItem& Item(int index) const;
    TPictureCollectionItem& Add();
    void Delete(int index);
    void Clear();

    // Case-insensitive; with duplicate names the item most recently added or renamed wins; -1 when none.
    int ImageIndexOf(const std::string& name) const;
    TPictureCollectionItem* ImageFind(const std::string& name) const;
    TPictureCollectionItem* Find(const std::string& name) const { return ImageFind(name); }

    TColorTable ColorTable{};
    void BuildColorTable();

    // Loads every item on the display (start + restore notices) or drops them (stop notice).
    void LoadAll(TDXDraw& display);
    void UnloadAll();

private:
    friend class TPictureCollectionItem;
    void Reindex(TPictureCollectionItem& item, const std::string& oldName);
    std::vector<std::unique_ptr<TPictureCollectionItem>> items;
    NameIndex<TPictureCollectionItem> names;
};

// A picture catalogue attached to a display: loads its items when the display starts or restores.
class TDXImageList
{
public:
    TDXImageList() = default;
    ~TDXImageList();
    void SetDXDraw(TDXDraw* display);
    TDXDraw* DXDraw() const { return display; }
    TPictureCollection Items;

private:
    TDXDraw* display = nullptr;
};

// cos and sin of an angle in 1/256 of a full turn, from a 256-entry table.
double TurnCos(int angle);
double TurnSin(int angle);

}  // namespace vorlanex
