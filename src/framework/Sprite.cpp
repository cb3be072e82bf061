// The sprite tree: linking, draw order, the move and draw passes, death and point lookup.

#include <algorithm>
#include <cmath>
#include <cstdio>


#include "framework/SpriteEngine.h"

namespace vorlanex {

namespace {

// Binary search for the place of a new Z: it lands before every sibling of equal Z, so among equal Z the
// sprite inserted last is drawn first (beneath the older ones). Compares instead of subtracting, so extreme
// Z values cannot wrap around and misplace the sprite.
void InsertByZ(std::vector<TSprite*>& order, TSprite* sprite)
{
    int low = 0;
    int high = int(order.size()) - 1;
    while (low <= high)
    {
        const int mid = (low + high) / 2;
        if (order[mid]->Z < sprite->Z)
            low = mid + 1;
        else
            high = mid - 1;
    }
    order.insert(order.begin() + low, sprite);
}

// Sprites usually leave from the end of a list (Clear, FreeKilled), so search from the back.
void RemoveFromList(std::vector<TSprite*>& list, const TSprite* sprite)
{
    const auto found = std::find(list.rbegin(), list.rend(), sprite);
    if (found != list.rend())
        list.erase(std::next(found).base());
}

// The draw order is sorted by Z, so only the run of equal Z should hold the sprite; within it the newest sprite
// comes first, which is the one Clear frees first. A Z written directly instead of through SetZ breaks the
// sorting, so a miss falls back to the whole list: a freed sprite must never stay in it.
void RemoveFromDrawOrder(std::vector<TSprite*>& order, const TSprite* sprite)
{
    auto it = std::lower_bound(order.begin(), order.end(), sprite->Z,
                               [](const TSprite* s, std::int32_t z) { return s->Z < z; });
    for (; it != order.end() && (*it)->Z == sprite->Z; ++it)
        if (*it == sprite)
        {
            order.erase(it);
            return;
        }
    RemoveFromList(order, sprite);
}

}  // namespace

TSprite::TSprite(TSprite* parent) : Parent(parent)
{
    if (parent)
    {
        if (!parent->Children)
        {
            parent->Children = new std::vector<TSprite*>;
            parent->DrawOrder = new std::vector<TSprite*>;
        }
        parent->Children->push_back(this);
        InsertByZ(*parent->DrawOrder, this);
        Engine = dynamic_cast<TSpriteEngine*>(parent);
        if (Engine)
            Engine->Hits.Added(int(parent->Children->size()) - 1, *this);
        else
            Engine = parent->Engine;
        if (Engine)
        {
            ++Engine->SpriteCount;
            const TSprite* top = parent;
            while (top->Parent && top->Parent != Engine)
                top = top->Parent;
            if (top->Parent == Engine)
                Engine->Hits.Nested(*Engine, *top);
        }
    }
}

TSprite::~TSprite()
{
    Clear();
    if (Parent)
    {
        if (Engine)
        {
            if (Parent == Engine)
                Engine->Hits.Removed();   // the children's indices shift
            --Engine->SpriteCount;
            // Searched even when IsDead was cleared by hand after Kill: a freed sprite must never stay queued.
            RemoveFromList(Engine->KillList, this);
            if (Engine->HitSource == this)
                Engine->HitSource = nullptr;
        }
        RemoveFromList(*Parent->Children, this);
        RemoveFromDrawOrder(*Parent->DrawOrder, this);
        if (Parent->Children->empty())
        {
            delete Parent->Children;
            delete Parent->DrawOrder;
            Parent->Children = nullptr;
            Parent->DrawOrder = nullptr;
        }
    }
    delete Children;
    delete DrawOrder;
}

void TSprite::OnHit(TSprite&, bool&) {}

void TSprite::Render() {}

void TSprite::Step(std::int32_t) {}

TRect TSprite::Bounds()
{
    return vorlanex::Bounds(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()), Width, Height);
}

bool TSprite::Touches(TSprite&)
{
    return true;
}

void TSprite::Fields(FieldSink&) const {}

TSprite* TSprite::Child(int index) const
{
    if (!Children)
    {
        char message[80];
        std::snprintf(message, sizeof message, "Index of the list exceeds the range. (%d)", index);
        throw ESpriteError(message);
    }
    return Children->at(std::size_t(index));
}

void TSprite::Clear()
{
    // Every child goes, so the draw order is emptied at once: unlinking each child from it one by one would
    // shift the rest of its Z run every time, which takes seconds for a level of a few hundred thousand cells.
    if (DrawOrder)
        DrawOrder->clear();
    // Each child unlinks itself on destruction; the list vanishes with the last one.
    while (Children && !Children->empty())
        delete Children->back();
}

void TSprite::SetZ(std::int32_t value)
{
    if (value == Z)
        return;
    if (!Parent)
    {
        Z = value;
        return;
    }
    RemoveFromDrawOrder(*Parent->DrawOrder, this);   // found under its old Z
    Z = value;
    InsertByZ(*Parent->DrawOrder, this);
}

void TSprite::Kill()
{
    if (Engine && !IsDead)
    {
        IsDead = true;
        Engine->KillList.push_back(this);
    }
}

// Children created during the pass are not moved in it: the count is taken once. The list is re-checked on
// every turn because a Step may clear the tree (a scene change) while the pass is running.
void TSprite::Move(std::int32_t MoveCount)
{
    if (!Movable)
        return;
    Step(MoveCount);
    const int count = ChildCount();
    for (int i = 0; i < count && i < ChildCount(); ++i)
        (*Children)[std::size_t(i)]->Move(MoveCount);
}

void TSprite::Draw()
{
    if (!Visible)
        return;
    if (Engine && OverlapRect(CurrentBounds(), Engine->ViewRect))
    {
        Render();
        ++Engine->DrawnCount;
    }
    if (!DrawOrder)
        return;
    const std::size_t count = DrawOrder->size();
    for (std::size_t i = 0; i < count && DrawOrder && i < DrawOrder->size(); ++i)
        (*DrawOrder)[i]->Draw();
}

namespace {

// The point arrives in the frame of `root`'s parent; edges of a child's box count as inside.
void FindSpriteAt(const TSprite& root, double x, double y, TSprite*& result)
{
    x -= root.X;
    y -= root.Y;
    const double px = std::nearbyint(x);   // the default rounding mode rounds halves to even
    const double py = std::nearbyint(y);
    const int count = root.ChildCount();
    for (int i = 0; i < count; ++i)
    {
        TSprite* child = (*root.Children)[std::size_t(i)];
        if (child->Visible)
        {
            const double left = std::nearbyint(child->X);
            const double top = std::nearbyint(child->Y);
            const bool inside =
                px >= left && px <= left + child->Width && py >= top && py <= top + child->Height;
            if (inside && (!result || child->Z > result->Z))
                result = child;
        }
        FindSpriteAt(*child, x, y, result);
    }
}

}  // namespace

// Children of an invisible sprite are still examined: only the sprite itself is skipped.
TSprite* TSprite::SpriteAt(std::int32_t x, std::int32_t y)
{
    TSprite* result = nullptr;
    FindSpriteAt(*this, x, y, result);
    return result;
}

}  // namespace vorlanex
