// Collision: one source against the whole tree, in creation order.

#include <algorithm>

#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

void VisitChildren(TSpriteEngine& engine, TSprite& source, TSprite& parent);

// The target overlaps the hit rectangle: ask both sides, then tell the source.
void HitTarget(TSpriteEngine& engine, TSprite& source, TSprite& target)
{
    if (!source.Touches(target) || !target.Touches(source))
        return;
    ++engine.HitCount;
    source.OnHit(target, engine.HitDone);
    if (!source.Collidable || source.IsDead)
        engine.HitDone = true;
}

void VisitTarget(TSpriteEngine& engine, TSprite& source, TSprite& target)
{
    if (!target.Collidable)
        return;
    if (&target != &source && OverlapRect(target.CurrentBounds(), engine.HitRect))
        HitTarget(engine, source, target);
    if (!engine.HitDone && target.Children)
        VisitChildren(engine, source, target);
}

// The count is taken once: sprites created by OnHit wait for the next call.
void VisitChildren(TSpriteEngine& engine, TSprite& source, TSprite& parent)
{
    const int count = parent.ChildCount();
    for (int i = 0; i < count && i < parent.ChildCount(); ++i)
        VisitTarget(engine, source, *(*parent.Children)[std::size_t(i)]);
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
    if (engine.Hits.Valid())
    {
        // A copy: OnHit may run further hit tests of its own.
        const std::vector<int> candidates = engine.Hits.Candidates(engine.HitRect, count);
        for (int index : candidates)
        {
            if (!engine.Hits.Valid() || !engine.Children || index >= engine.ChildCount())
                break;   // the tree was cleared under the test
            VisitTarget(engine, *this, *(*engine.Children)[std::size_t(index)]);
        }
        return engine.HitCount;
    }
    int i = 0;
    while (i < count && engine.Children)
    {
        // A tight scan up to the next target that needs attention; OnHit may create sprites and so move the
        // list, which is why it is looked up afresh after every call out.
        const int end = std::min(count, engine.ChildCount());
        TSprite* const* children = engine.Children->data();
        bool overlaps = false;
        for (; i < end; ++i)
        {
            const TSprite& target = *children[i];
            if (!target.Collidable)
                continue;
            overlaps = &target != this && OverlapRect(children[i]->CurrentBounds(), engine.HitRect);
            if (overlaps || target.Children)
                break;
        }
        if (i >= end)
            break;
        TSprite& target = *children[i++];
        if (overlaps)
            HitTarget(engine, *this, target);
        if (!engine.HitDone && target.Children)
            VisitChildren(engine, *this, target);
    }
    return engine.HitCount;
}

}  // namespace vorlanex
