#pragma once
// The sprite tree: every moving or drawn thing of a battle, moved, drawn, hit-tested and freed after death.

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "framework/CoverCache.h"
#include "framework/Display.h"
#include "framework/FieldSink.h"
#include "framework/GroundCache.h"
#include "framework/HitIndex.h"
#include "framework/PictureCollection.h"
#include "framework/Surface.h"
#include "framework/Types.h"

namespace vorlanex {

class BattleContext;

class TSpriteEngine;

class ESpriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A position in whole pixels: truncated toward zero, clamped to the 32-bit range (NaN gives 0).
inline std::int32_t TruncToInt32(double v)
{
    if (v >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return v == v ? std::int32_t(v) : 0;
}

class TSprite
{
public:
    explicit TSprite(TSprite* parent);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    virtual void OnHit(TSprite& other, bool& Done);
    virtual void Render();
    virtual void Step(std::int32_t MoveCount);
    virtual TRect Bounds();
    virtual bool Touches(TSprite& other);

    // For the state dump: the class name, and the class's own fields under their own names. The shell writes
    // the fields every sprite has (position, size, flags, picture, pattern) itself.
    virtual const char* ClassName() const { return "TSprite"; }
    virtual void Fields(FieldSink& out) const;

    int ChildCount() const { return Children ? int(Children->size()) : 0; }
    // A sprite without children (its list goes with its last child) throws ESpriteError "Index of the list
    // exceeds the range. (%d)" for any index; one with children throws std::out_of_range outside its list.
    TSprite* Child(int index) const;
    void Clear();
    void SetZ(std::int32_t value);
    void Kill();
    void Move(std::int32_t MoveCount);
    void Draw();
    int CheckHits();
    TSprite* SpriteAt(std::int32_t x, std::int32_t y);
    // Bounds without a virtual call for image sprites, whose Bounds is final: the hit scan and the draw pass ask
    // it of every sprite.
    TRect CurrentBounds();
    // An image sprite, told without a cast: the draw pass asks it of thousands of sprites.
    bool IsImageSprite() const { return imageBounds; }
    // X plus the parent's AbsoluteX. Inline for the usual one-level tree: every hit test and draw asks.
    double AbsoluteX() const
    {
        if (!Parent)
            return X;
        return Parent->Parent ? X + Parent->AbsoluteX() : X + Parent->X;
    }
    double AbsoluteY() const
    {
        if (!Parent)
            return Y;
        return Parent->Parent ? Y + Parent->AbsoluteY() : Y + Parent->Y;
    }

    // What the hit scan and the draw pass read of every sprite comes first, to share one cache line.
    double X = 0, Y = 0;
    std::int32_t Width = 0, Height = 0;
    std::int32_t Z = 0;
    bool Collidable = true;
    bool Visible = true;
    bool Movable = true;
    bool IsDead = false;

protected:
    bool imageBounds = false;   // set by TImageSprite

public:
    TSprite* Parent = nullptr;
    std::vector<TSprite*>* Children = nullptr;   // created with the first child, freed with the last
    TSpriteEngine* Engine = nullptr;
    std::vector<TSprite*>* DrawOrder = nullptr;
};

class TImageSprite : public TSprite
{
public:
    explicit TImageSprite(TSprite* parent);
    void Render() override;
    void Step(std::int32_t MoveCount) override;
    TRect Bounds() final;
    bool Touches(TSprite& other) override;
    const char* ClassName() const override { return "TImageSprite"; }
    void Fields(FieldSink& out) const override;

    // Shows picture and takes the size of its patterns; a null picture is shown as nothing and leaves the
    // size as it was.
    void SetPicture(TPictureCollectionItem* picture);
    std::int32_t PatternIndex() const { return FrameStart + TruncToInt32(FrameIndex); }
    // The pattern's place: centred on the sprite's bounds.
    TRect DrawRect()
    {
        const TRect r = ImageBounds();
        if (!Image)
            return r;
        const std::int32_t dx = (Width - Image->PatternWidth()) / 2;
        const std::int32_t dy = (Height - Image->PatternHeight()) / 2;
        return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    }
    TRect ImageBounds()
    {
        if (Wrap)
            return WrappedBounds();
        return vorlanex::Bounds(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()), Width, Height);
    }

    bool Wrap = false;   // first: read with the sprite's bounds
    bool PixelExact = false;
    bool FrameLooped = false;
    std::int32_t FrameCount = 0;
    std::int32_t FrameStart = 0;
    double FrameIndex = 0;
    double FrameSpeed = 0;
    TPictureCollectionItem* Image = nullptr;

private:
    TRect WrappedBounds();
};

inline TRect TSprite::CurrentBounds()
{
    return imageBounds ? static_cast<TImageSprite*>(this)->ImageBounds() : Bounds();
}

class TBackgroundSprite : public TSprite
{
public:
    explicit TBackgroundSprite(TSprite* parent);
    ~TBackgroundSprite() override;
    void Render() override;
    TRect Bounds() override;
    bool Touches(TSprite& other) override;
    const char* ClassName() const override { return "TBackgroundSprite"; }
    void Fields(FieldSink& out) const override;

    void SetGridSize(std::int32_t cols, std::int32_t rows);
    std::int32_t ChipAt(std::int32_t col, std::int32_t row) const;   // -1 outside the grid
    bool SolidAt(std::int32_t col, std::int32_t row) const;          // false outside the grid
    void SetChip(std::int32_t col, std::int32_t row, std::int32_t pattern);
    void SetSolid(std::int32_t col, std::int32_t row, bool solid);

    TPictureCollectionItem* Image = nullptr;
    std::vector<std::uint8_t> SolidMap;
    std::vector<std::int32_t> ChipMap;
    std::int32_t GridCols = 0, GridRows = 0;
    bool Tiled = false;
};

class TSpriteEngine : public TSprite
{
public:
    explicit TSpriteEngine(TSprite* parent = nullptr);
    ~TSpriteEngine() override;
    const char* ClassName() const override { return "TSpriteEngine"; }

    void Draw();   // resets DrawnCount, then the draw pass from the root
    void Clear();
    // Fills the surface with `fill`, then draws the tree: the same picture as FillSurface and Draw, with the
    // ground and the cover kept from the last frame where they did not change.
    void DrawOnFilled(std::uint32_t fill);
    // The move pass, with the hit index brought up to date for the hit tests that the Steps make.
    void Move(std::int32_t MoveCount);
    void FreeKilled();
    void SetSurface(TDirectDrawSurface* surface);

    std::int32_t SpriteCount = 0;
    std::int32_t HitCount = 0;
    bool HitDone = false;
    TRect HitRect;
    TSprite* HitSource = nullptr;   // the sprite of the last hit test; null once it is freed
    std::vector<TSprite*> KillList;
    std::int32_t DrawnCount = 0;
    TDirectDrawSurface* Surface = nullptr;
    TRect ViewRect;
    // How the actors of this engine reach their game (declared by the actors). Null in framework tests,
    // which have no actors.
    BattleContext* Owner = nullptr;
    HitIndex Hits;
    GroundCache Ground;
    CoverCache Cover;
    // Counts clears of the whole tree and surface changes: anything kept from an earlier frame is stale (a new
    // level's pictures may even sit where the old ones were).
    std::uint64_t TreeChanges = 0;
};

// The form's component: owns one engine and links it to a display.
class TDXSpriteEngine
{
public:
    TDXSpriteEngine();
    ~TDXSpriteEngine();
    void SetDXDraw(TDXDraw* display);
    TDXDraw* DXDraw() const { return display; }
    void Move(std::int32_t MoveCount) { Engine->Move(MoveCount); }
    void Draw();
    // False when the display is not ready: nothing was drawn or filled.
    bool DrawOnFilled(std::uint32_t fill);
    void FreeKilled() { Engine->FreeKilled(); }

    TSpriteEngine* Engine;

private:
    TDXDraw* display = nullptr;
};

}  // namespace vorlanex
