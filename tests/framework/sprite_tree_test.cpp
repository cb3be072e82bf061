// The sprite tree: linking, draw order, passes, death and point lookup.

#include <climits>

#include <gtest/gtest.h>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using testing::MakeProbe;
using testing::ProbeSprite;

std::vector<std::string> DrawOrderNames(const TSprite& parent)
{
    std::vector<std::string> names;
    for (TSprite* s : *parent.DrawOrder)
        names.push_back(static_cast<ProbeSprite*>(s)->name);
    return names;
}

using Names = std::vector<std::string>;

TEST(SpriteTree, CreationLinksUnderParentAndCountsAtEveryDepth)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    EXPECT_EQ(engine.Engine, nullptr);
    EXPECT_EQ(engine.Children, nullptr);
    EXPECT_THROW(engine.Child(0), ESpriteError);
    try
    {
        engine.Child(7);
    }
    catch (const ESpriteError& e)
    {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (7)");
    }

    auto* a = MakeProbe(&engine, "a", log);
    auto* b = MakeProbe(a, "b", log);
    auto* c = MakeProbe(b, "c", log);
    EXPECT_EQ(a->Engine, &engine);
    EXPECT_EQ(c->Engine, &engine);
    EXPECT_EQ(c->Parent, b);
    EXPECT_TRUE(c->Collidable && c->Movable && c->Visible);
    EXPECT_EQ(engine.SpriteCount, 3);
    EXPECT_EQ(engine.ChildCount(), 1);
    EXPECT_THROW(engine.Child(1), std::out_of_range);

    delete b;   // takes c with it; a's lists vanish with its last child
    EXPECT_EQ(engine.SpriteCount, 1);
    EXPECT_EQ(a->Children, nullptr);
    EXPECT_EQ(a->DrawOrder, nullptr);
    engine.Clear();
    EXPECT_EQ(engine.SpriteCount, 0);
    EXPECT_EQ(engine.ChildCount(), 0);
}

TEST(SpriteTree, DrawOrderKeepsZSortedAndNewestFirstAmongEquals)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* a = MakeProbe(&engine, "a", log);
    auto* b = MakeProbe(&engine, "b", log);
    auto* c = MakeProbe(&engine, "c", log);
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c", "b", "a"}));

    b->SetZ(0);   // the same value: b keeps its place
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c", "b", "a"}));

    a->SetZ(5);
    c->SetZ(-1);
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c", "b", "a"}));
    b->SetZ(5);   // joins a's Z and goes beneath it
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c", "b", "a"}));
    c->SetZ(5);
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c", "b", "a"}));
    a->SetZ(1);
    EXPECT_EQ(DrawOrderNames(engine), (Names{"a", "c", "b"}));

    // Creation order never follows Z.
    EXPECT_EQ(engine.Child(0), a);
    EXPECT_EQ(engine.Child(2), c);
}

TEST(SpriteTree, ExtremeZValuesStaySorted)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* low = MakeProbe(&engine, "low", log);
    auto* high = MakeProbe(&engine, "high", log);
    auto* mid = MakeProbe(&engine, "mid", log);
    low->SetZ(INT_MIN);
    high->SetZ(INT_MAX);
    mid->SetZ(1);
    EXPECT_EQ(DrawOrderNames(engine), (Names{"low", "mid", "high"}));
}

TEST(SpriteTree, MovePassSkipsFrozenSubtreesAndSpritesBornDuringIt)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* frozen = MakeProbe(&engine, "frozen", log);
    MakeProbe(frozen, "frozenChild", log);
    auto* a = MakeProbe(&engine, "a", log);
    MakeProbe(a, "aChild", log);
    frozen->Movable = false;

    struct Spawner : ProbeSprite
    {
        using ProbeSprite::ProbeSprite;
        void Step(std::int32_t n) override
        {
            ProbeSprite::Step(n);
            MakeProbe(Engine, "born", log);
        }
    };
    new Spawner(&engine, "spawner", log);
    engine.Move(16);
    EXPECT_EQ(log, (Names{"step:a", "step:aChild", "step:spawner"}));
    EXPECT_EQ(engine.ChildCount(), 4);
}

TEST(SpriteTree, DrawPassRendersParentsFirstInZOrderAndSkipsHiddenAndOffView)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    engine.ViewRect = {0, 0, 100, 100};
    auto* top = MakeProbe(&engine, "top", log, 10, 10, 5, 5);
    top->SetZ(2);
    MakeProbe(top, "topChild", log, 1, 1, 5, 5);
    auto* hidden = MakeProbe(&engine, "hidden", log, 10, 10, 5, 5);
    MakeProbe(hidden, "hiddenChild", log, 0, 0, 5, 5);
    hidden->Visible = false;
    MakeProbe(&engine, "edge", log, 100, 0, 10, 10);     // touches the view's right edge only
    MakeProbe(&engine, "inside", log, 99, 99, 10, 10);
    auto* offView = MakeProbe(&engine, "offView", log, -50, 0, 10, 10);
    MakeProbe(offView, "offViewChild", log, 50, 0, 10, 10);   // at (0,0): the off-view parent still descends

    engine.Draw();
    EXPECT_EQ(log, (Names{"render:offViewChild", "render:inside", "render:top", "render:topChild"}));
    EXPECT_EQ(engine.DrawnCount, 4);
    engine.Draw();
    EXPECT_EQ(engine.DrawnCount, 4);   // reset on every pass
}

TEST(SpriteTree, KillQueuesOnceAndFreeKilledUnlinks)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* a = MakeProbe(&engine, "a", log);
    auto* b = MakeProbe(&engine, "b", log);
    a->Kill();
    a->Kill();
    EXPECT_TRUE(a->IsDead);
    EXPECT_EQ(engine.KillList.size(), 1u);

    TSprite root(nullptr);   // no engine: Kill is ignored
    root.Kill();
    EXPECT_FALSE(root.IsDead);

    // A dead sprite is still in the tree until freed.
    engine.Move(1);
    EXPECT_EQ(log, (Names{"step:a", "step:b"}));
    engine.FreeKilled();
    EXPECT_EQ(engine.ChildCount(), 1);
    EXPECT_EQ(engine.Child(0), b);
    EXPECT_TRUE(engine.KillList.empty());
    EXPECT_EQ(engine.SpriteCount, 1);
}

TEST(SpriteTree, DeadSpritesFreedThroughTheirParentLeaveTheKillList)
{
    std::vector<std::string> log;
    auto engine = std::make_unique<TSpriteEngine>();
    auto* parent = MakeProbe(engine.get(), "parent", log);
    auto* child = MakeProbe(parent, "child", log);
    child->Kill();
    parent->Clear();
    EXPECT_TRUE(engine->KillList.empty());
    engine->FreeKilled();   // nothing left to free twice

    MakeProbe(engine.get(), "doomed", log)->Kill();
    MakeProbe(engine.get(), "alive", log);
    engine.reset();   // frees the whole tree, dead or not, without touching freed memory
}

TEST(SpriteTree, FreedSpritesLeaveEveryListEvenWhenTheirFieldsWereWrittenByHand)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* a = MakeProbe(&engine, "a", log);
    auto* b = MakeProbe(&engine, "b", log);
    MakeProbe(&engine, "c", log)->SetZ(2);
    a->Z = 7;   // not through SetZ: the draw order no longer knows where it is
    b->Kill();
    b->IsDead = false;
    delete a;
    delete b;
    EXPECT_EQ(DrawOrderNames(engine), (Names{"c"}));
    EXPECT_TRUE(engine.KillList.empty());
    engine.Draw();   // nothing freed is visited
    engine.FreeKilled();
}

TEST(SpriteTree, SpriteAtFindsTheTopmostVisibleSpriteWithInclusiveEdges)
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    auto* first = MakeProbe(&engine, "first", log, 10, 10, 20, 20);
    auto* second = MakeProbe(&engine, "second", log, 10, 10, 20, 20);
    EXPECT_EQ(engine.SpriteAt(30, 30), first);   // right and bottom edges count; ties keep the first found
    EXPECT_EQ(engine.SpriteAt(31, 30), nullptr);
    second->SetZ(1);
    EXPECT_EQ(engine.SpriteAt(10, 10), second);

    // An invisible parent is skipped, but its children are still found, in its frame.
    auto* ghost = MakeProbe(&engine, "ghost", log, 200, 200, 50, 50);
    ghost->Visible = false;
    auto* inner = MakeProbe(ghost, "inner", log, 5, 5, 10, 10);
    inner->SetZ(3);
    EXPECT_EQ(engine.SpriteAt(210, 210), inner);
    EXPECT_EQ(engine.SpriteAt(240, 240), nullptr);

    // Fractional positions round halves to even: 2.5 -> 2, 3.5 -> 4.
    auto* half = MakeProbe(&engine, "half", log, 2.5, 3.5, 0, 0);
    EXPECT_EQ(engine.SpriteAt(2, 4), half);
    EXPECT_EQ(engine.SpriteAt(3, 4), nullptr);
}

}  // namespace
}  // namespace vorlanex
