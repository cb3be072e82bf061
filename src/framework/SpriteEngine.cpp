// The root of the sprite tree and the form's component that links it to the display.

#include "framework/SpriteEngine.h"

#include <cstring>

namespace vorlanex {

TSpriteEngine::TSpriteEngine(TSprite* parent) : TSprite(parent) {}

// The tree goes first, while the engine's counters and kill list still exist for the children to unlink from.
TSpriteEngine::~TSpriteEngine()
{
    Clear();
    KillList.clear();
}

void TSpriteEngine::Draw()
{
    DrawnCount = 0;
    TSprite::Draw();
}

// A tank or bullet moves itself in its Step, so the index looks at each child once more right after it.
void TSpriteEngine::Move(std::int32_t MoveCount)
{
    if (!Movable)
        return;
    Step(MoveCount);
    Hits.Sync(*this);
    const int count = ChildCount();
    for (int i = 0; i < count && i < ChildCount(); ++i)
    {
        (*Children)[std::size_t(i)]->Move(MoveCount);
        Hits.Refresh(*this, i);
    }
    Hits.EndPass();
}

// Sprites are freed only after the move pass, so a bullet can kill itself and still finish its hit test.
void TSpriteEngine::FreeKilled()
{
    while (!KillList.empty())
        delete KillList.back();   // the destructor unlinks the sprite from its parent and from KillList
}

void TSpriteEngine::Clear()
{
    ++TreeChanges;
    TSprite::Clear();
}

// With the cover kept as well, the ground comes with the cover already over it; the few sprites between the two
// (the tanks) are drawn on that, and the cover is put back over each of them.
void TSpriteEngine::DrawOnFilled(std::uint32_t fill)
{
    DrawnCount = 0;
    if (!Surface)
        return;
    if (!Visible || Ground.GroundZ == INT32_MIN)
    {
        FillSurface(*Surface, fill);
        TSprite::Draw();
        return;
    }
    std::size_t i = Ground.Refresh(*this, fill);
    const std::size_t cover = Cover.FirstCover(*this, i);
    const std::size_t afterCover = Cover.Refresh(*this, cover);
    DrawnCount += Ground.Drawn();
    const TDirectDrawSurface& ground = Ground.Picture();
    bool overGround = afterCover > cover && ground.Width() == Surface->Width() && ground.Height() == Surface->Height();
    // Only an image sprite is known to draw inside its pattern's footprint alone.
    for (std::size_t j = i; overGround && j < cover; ++j)
        overGround = (*DrawOrder)[j]->IsImageSprite() && !(*DrawOrder)[j]->Children;
    if (overGround)
    {
        Cover.CopyOverGround(*Surface, ground, Ground.Version());
        for (; i < cover; ++i)
        {
            TSprite& sprite = *(*DrawOrder)[i];
            sprite.Draw();
            if (sprite.Visible)
                Cover.ApplyWithin(*Surface, LookOf(sprite, ViewRect).footprint);
        }
    }
    else
    {
        std::memcpy(Surface->Bits(), ground.Bits(),
                    std::size_t(ground.Width()) * std::size_t(ground.Height()) * sizeof(std::uint16_t));
        for (; DrawOrder && i < cover && i < DrawOrder->size(); ++i)
            (*DrawOrder)[i]->Draw();
        if (afterCover > cover)
            Cover.Apply(*Surface);
    }
    DrawnCount += Cover.Drawn() * (afterCover > cover);
    for (i = afterCover; DrawOrder && i < DrawOrder->size(); ++i)
        (*DrawOrder)[i]->Draw();
}

void TSpriteEngine::SetSurface(TDirectDrawSurface* surface)
{
    ++TreeChanges;
    Surface = surface;
    if (surface)
    {
        ViewRect = surface->ClientRect();
        Width = surface->Width();
        Height = surface->Height();
        // The kept pictures are as large as the surface: their memory is taken now, at the display's start,
        // rather than in the first frame of a battle.
        if (Ground.GroundZ != INT32_MIN)
            Ground.Prepare(Width, Height);
        if (Cover.LowZ != INT32_MIN)
            Cover.Prepare(Width, Height);
    }
}

TDXSpriteEngine::TDXSpriteEngine() : Engine(new TSpriteEngine(nullptr)) {}

TDXSpriteEngine::~TDXSpriteEngine()
{
    SetDXDraw(nullptr);
    delete Engine;
}

void TDXSpriteEngine::SetDXDraw(TDXDraw* newDisplay)
{
    if (display)
        display->UnRegisterNotifyEvent(this);
    display = newDisplay;
    if (!display)
        return;
    display->RegisterNotifyEvent(this, [this](TDXDraw& sender, TDXDrawNotifyType type) {
        switch (type)
        {
        case TDXDrawNotifyType::dxntDestroying:
            // Its back surface dies with it: the engine must not keep drawing there.
            Engine->SetSurface(nullptr);
            SetDXDraw(nullptr);
            break;
        case TDXDrawNotifyType::dxntInitialize:
            Engine->SetSurface(&sender.BackSurface);
            break;
        case TDXDrawNotifyType::dxntFinalize:
            Engine->SetSurface(nullptr);
            break;
        default:
            break;
        }
    });
    // A display that is already running would otherwise leave the engine without a surface until its restart.
    if (display->Initialized())
        Engine->SetSurface(&display->BackSurface);
}

void TDXSpriteEngine::Draw()
{
    if (display && display->Initialized())
        Engine->Draw();
}

bool TDXSpriteEngine::DrawOnFilled(std::uint32_t fill)
{
    if (!display || !display->Initialized() || !Engine->Surface)
        return false;
    Engine->DrawOnFilled(fill);
    return true;
}

}  // namespace vorlanex
