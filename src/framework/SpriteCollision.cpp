// Collision: one source against the whole tree, in creation order.

#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

void VisitTarget(TSpriteEngine& engine, TSprite& source, TSprite& target)
{
    if (!target.Collidable)
        return;
    if (&target != &source && OverlapRect(target.Bounds(), engine.HitRect) && source.Touches(target) &&
        target.Touches(source))
    {
        ++engine.HitCount;
        source.OnHit(target, engine.HitDone);
        if (!source.Collidable || source.IsDead)
            engine.HitDone = true;
    }
    if (engine.HitDone)
        return;
    const int count = target.ChildCount();
    for (int i = 0; i < count && i < target.ChildCount(); ++i)
        VisitTarget(engine, source, *(*target.Children)[std::size_t(i)]);
}

}  // namespace

// The top-level loop deliberately ignores HitDone: a source that kills itself on its first hit is still told
// about every later overlapping sprite directly under the engine; Done only stops the descent into children.
// A target killed earlier in the frame is still hit until FreeKilled runs.
int TSprite::CheckHits()
{
    if (!Engine || IsDead || !Collidable)
        return 0;
    TSpriteEngine& engine = *Engine;
    engine.HitCount = 0;
    engine.HitDone = false;
    engine.HitRect = Bounds();
    engine.HitSource = this;
    const int count = engine.ChildCount();
    for (int i = 0; i < count && i < engine.ChildCount(); ++i)
        VisitTarget(engine, *this, *(*engine.Children)[std::size_t(i)]);
    return engine.HitCount;
}

}  // namespace vorlanex
