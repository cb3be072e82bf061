// Collision: who is hit, in which order, and what a source that dies or finishes early still sees.

#include <gtest/gtest.h>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using testing::MakeProbe;
using testing::ProbeSprite;
using Names = std::vector<std::string>;

struct HitsTest : ::testing::Test
{
    std::vector<std::string> log;
    TSpriteEngine engine;
    ProbeSprite* source = MakeProbe(&engine, "source", log, 10, 10, 8, 8);
};

TEST_F(HitsTest, HitsOverlappingTargetsInCreationOrderButNotEdgeNeighbours)
{
    MakeProbe(&engine, "t1", log, 0, 0, 11, 11);
    MakeProbe(&engine, "right", log, 18, 10, 5, 5);    // shares the source's right edge
    MakeProbe(&engine, "below", log, 10, 18, 5, 5);    // shares its bottom edge
    auto* t2 = MakeProbe(&engine, "t2", log, 17, 17, 5, 5);
    t2->SetZ(-3);   // draw order plays no part
    MakeProbe(&engine, "far", log, 100, 100, 5, 5);
    EXPECT_EQ(source->CheckHits(), 2);
    EXPECT_EQ(log, (Names{"hit:t1", "hit:t2"}));
    EXPECT_EQ(engine.HitSource, source);
    EXPECT_EQ(engine.HitRect, (TRect{10, 10, 18, 18}));
}

TEST_F(HitsTest, SourceThatKillsItselfStillHearsOfLaterTopLevelTargets)
{
    auto* first = MakeProbe(&engine, "first", log, 10, 10, 8, 8);
    MakeProbe(first, "firstChild", log, 0, 0, 8, 8);
    MakeProbe(&engine, "second", log, 12, 12, 8, 8);
    source->onHit = [this](TSprite&, bool&) { source->Kill(); };
    EXPECT_EQ(source->CheckHits(), 2);
    // Death ends the descent into the first target's children, not the top-level loop.
    EXPECT_EQ(log, (Names{"hit:first", "hit:second"}));
    EXPECT_EQ(source->CheckHits(), 0);   // a dead source hits nothing
}

TEST_F(HitsTest, DoneStopsOnlyTheDescentIntoChildren)
{
    auto* first = MakeProbe(&engine, "first", log, 10, 10, 8, 8);
    MakeProbe(first, "firstChild", log, 0, 0, 8, 8);
    auto* second = MakeProbe(&engine, "second", log, 12, 12, 8, 8);
    MakeProbe(second, "secondChild", log, 0, 0, 8, 8);
    source->onHit = [](TSprite&, bool& Done) { Done = true; };
    EXPECT_EQ(source->CheckHits(), 2);
    EXPECT_EQ(log, (Names{"hit:first", "hit:second"}));

    log.clear();
    source->onHit = nullptr;
    EXPECT_EQ(source->CheckHits(), 4);
    EXPECT_EQ(log, (Names{"hit:first", "hit:firstChild", "hit:second", "hit:secondChild"}));
}

TEST_F(HitsTest, DeadTargetsAreStillHitAndUncollidableOnesHideTheirSubtree)
{
    auto* dead = MakeProbe(&engine, "dead", log, 10, 10, 8, 8);
    dead->Kill();
    auto* ghost = MakeProbe(&engine, "ghost", log, 10, 10, 8, 8);
    MakeProbe(ghost, "ghostChild", log, 0, 0, 8, 8);
    ghost->Collidable = false;
    // A non-overlapping parent is still descended into.
    auto* away = MakeProbe(&engine, "away", log, 300, 300, 8, 8);
    MakeProbe(away, "awayChild", log, -290, -290, 8, 8);
    EXPECT_EQ(source->CheckHits(), 2);
    EXPECT_EQ(log, (Names{"hit:dead", "hit:awayChild"}));

    source->Collidable = false;
    EXPECT_EQ(source->CheckHits(), 0);
}

TEST_F(HitsTest, HitRectIsTakenOnceAndNewSpritesWaitForTheNextCall)
{
    MakeProbe(&engine, "a", log, 10, 10, 8, 8);
    MakeProbe(&engine, "b", log, 10, 10, 8, 8);
    source->onHit = [this](TSprite&, bool&) {
        source->X = 500;   // moving away does not change what this call tests against
        MakeProbe(&engine, "spawned", log, 10, 10, 8, 8);
    };
    EXPECT_EQ(source->CheckHits(), 2);
    EXPECT_EQ(log, (Names{"hit:a", "hit:b"}));
}

TEST_F(HitsTest, BothTouchesAreAskedInOrder)
{
    struct Picky : ProbeSprite
    {
        using ProbeSprite::ProbeSprite;
        bool Touches(TSprite& other) override
        {
            log.push_back("touches:" + name + ">" + static_cast<ProbeSprite&>(other).name);
            return answer;
        }
        bool answer = true;
    };
    auto* picky = new Picky(&engine, "picky", log);
    picky->X = picky->Y = 10;
    picky->Width = picky->Height = 8;
    picky->answer = false;
    EXPECT_EQ(source->CheckHits(), 0);
    EXPECT_EQ(log, (Names{"touches:picky>source"}));
}

}  // namespace
}  // namespace vorlanex
