// The grid that speeds up hit searches during a move pass must find exactly what the full scan finds, also for
// boxes of no width or height (a power-up is a point) and on the boundaries of its own cells.

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using Names = std::vector<std::string>;

// Searches for hits in its own Step, so during a move pass it uses the grid; outside one, the full scan.
class Searcher : public testing::ProbeSprite
{
public:
    Searcher(TSprite* parent, const std::string& name, double x, double y, std::int32_t w, std::int32_t h)
        : ProbeSprite(parent, name, hits)
    {
        X = x;
        Y = y;
        Width = w;
        Height = h;
    }
    void Step(std::int32_t) override { CheckHits(); }

    Names hits;
};

struct HitIndexTest : ::testing::Test
{
    TSpriteEngine engine;
    std::vector<Searcher*> sprites;

    Searcher* Add(const std::string& name, double x, double y, std::int32_t w, std::int32_t h)
    {
        sprites.push_back(new Searcher(&engine, name, x, y, w, h));
        return sprites.back();
    }

    // What every sprite finds in a move pass, and then again by the full scan.
    std::pair<std::vector<Names>, std::vector<Names>> PassAndScan()
    {
        std::vector<Names> pass, scan;
        engine.Move(16);
        for (Searcher* s : sprites)
        {
            pass.push_back(s->hits);
            s->hits.clear();
            s->CheckHits();
            scan.push_back(s->hits);
            s->hits.clear();
        }
        return {pass, scan};
    }
};

// The box spans the 64-pixel cell boundary at 64, so the points inside it lie in two different cells.
TEST_F(HitIndexTest, PointsAndLinesInsideABoxAreFoundAndOnItsEdgeAreNot)
{
    Add("box", 32, 32, 64, 64);
    Add("onBoundary", 64, 64, 0, 0);      // inside, on the grid's cell edge
    Add("nearCorner", 95, 33, 0, 0);      // inside, one pixel from two edges
    Add("line", 64, 40, 0, 40);           // a vertical line inside
    Add("rightEdge", 96, 64, 0, 0);
    Add("leftEdge", 32, 64, 0, 0);
    Add("bottomEdge", 64, 96, 0, 0);
    Add("corner", 96, 96, 0, 0);
    Add("far", 700, 500, 0, 0);
    const auto [pass, scan] = PassAndScan();
    EXPECT_EQ(pass, scan);
    EXPECT_EQ(pass[0], (Names{"hit:onBoundary", "hit:nearCorner", "hit:line"}));
    EXPECT_EQ(pass[1], (Names{"hit:box"})) << "a point on a line is not inside it";
    EXPECT_EQ(pass[3], (Names{"hit:box"}));
    for (std::size_t i = 4; i < sprites.size(); ++i)
        EXPECT_TRUE(pass[i].empty()) << sprites[i]->name;
}

// A box that moved in its Step is looked up where it now is, also by a point stepping after it.
TEST_F(HitIndexTest, APointFindsABoxThatMovedOntoItInThisPass)
{
    class Mover : public Searcher
    {
    public:
        using Searcher::Searcher;
        void Step(std::int32_t n) override
        {
            X += 300;
            Searcher::Step(n);
        }
    };
    sprites.push_back(new Mover(&engine, "mover", 0, 100, 32, 32));
    Add("point", 316, 116, 0, 0);
    Add("leftBehind", 16, 116, 0, 0);
    const auto [pass, scan] = PassAndScan();
    EXPECT_EQ(pass, scan);
    EXPECT_EQ(pass[1], (Names{"hit:mover"}));
    EXPECT_TRUE(pass[2].empty());
}

// Wanders in its Steps, across cells, off the screen and sometimes without size, and checks that its search finds
// exactly the sprites whose boxes overlap its own at that moment, in creation order.
class Wanderer : public testing::ProbeSprite
{
public:
    Wanderer(TSprite* parent, int id, std::vector<std::string>& log, std::uint32_t seed)
        : ProbeSprite(parent, std::to_string(id), log), rng(seed)
    {
        const int sizes[] = {0, 8, 32, 48, 200};
        Width = Height = sizes[rng() % 5];
        X = double(rng() % 1100) - 40;
        Y = double(rng() % 840) - 40;
    }
    void Step(std::int32_t) override
    {
        X += double(int(rng() % 161) - 80);
        Y += double(int(rng() % 161) - 80);
        if (rng() % 50 == 0)
            Width = Height = Width == 0 ? 32 : 0;
        log.clear();
        CheckHits();
        std::vector<std::string> expected;
        for (int i = 0; i < Engine->ChildCount(); ++i)
        {
            TSprite* other = Engine->Child(i);
            if (other != this && OverlapRect(other->CurrentBounds(), CurrentBounds()))
                expected.push_back("hit:" + static_cast<ProbeSprite*>(other)->name);
        }
        mismatches += log != expected;
        searches += 1;
    }

    std::mt19937 rng;
    int mismatches = 0, searches = 0;
};

// Many sprites wandering: each finds in every pass exactly what the full scan would.
TEST(HitIndexWandering, EverySearchMatchesTheBoxesAtThatMoment)
{
    TSpriteEngine engine;
    std::vector<std::vector<std::string>> logs(300);
    std::vector<Wanderer*> all;
    for (int i = 0; i < 300; ++i)
        all.push_back(new Wanderer(&engine, i, logs[std::size_t(i)], std::uint32_t(i) * 2654435761u));
    for (int pass = 0; pass < 40; ++pass)
        engine.Move(16);
    int mismatches = 0, searches = 0;
    for (Wanderer* w : all)
    {
        mismatches += w->mismatches;
        searches += w->searches;
    }
    EXPECT_EQ(searches, 300 * 40);
    EXPECT_EQ(mismatches, 0);
}

// The grid is kept from pass to pass. Between passes sprites die (from anywhere in the list), are born (often
// where a dead one was), are moved by hand and gain or lose children of their own: none may be missed or found
// twice, and the order stays the creation order.
TEST(HitIndexWandering, TheKeptGridFollowsBirthsDeathsAndMovesBetweenPasses)
{
    TSpriteEngine engine;
    std::deque<std::vector<std::string>> logs;
    std::vector<Wanderer*> all;
    std::mt19937 rng(99);
    int made = 0, mismatches = 0, searches = 0;
    const auto make = [&] {
        logs.emplace_back();
        all.push_back(new Wanderer(&engine, made, logs.back(), std::uint32_t(made) * 2654435761u));
        ++made;
    };
    TSprite* nestedChild = nullptr;
    Wanderer* nestedParent = nullptr;
    const auto retire = [&](std::size_t i) {
        if (all[i] == nestedParent)
            nestedChild = nestedParent = nullptr;   // goes with its parent
        mismatches += all[i]->mismatches;
        searches += all[i]->searches;
        delete all[i];
        all.erase(all.begin() + std::ptrdiff_t(i));
    };
    for (int i = 0; i < 200; ++i)
        make();
    for (int pass = 0; pass < 60; ++pass)
    {
        engine.Move(16);
        for (int n = int(rng() % 12); n > 0 && !all.empty(); --n)
            retire(rng() % all.size());
        for (int n = int(rng() % 12); n > 0; --n)
            make();
        for (int n = int(rng() % 20); n > 0; --n)
        {
            Wanderer& moved = *all[rng() % all.size()];
            moved.X = double(rng() % 1100) - 40;
            moved.Y = double(rng() % 840) - 40;
        }
        // A sprite with a child is searched into by every query; the child itself is never a target here.
        if (nestedChild)
        {
            delete nestedChild;
            nestedChild = nestedParent = nullptr;
        }
        else if (pass % 3 == 0)
        {
            nestedParent = all[rng() % all.size()];
            nestedChild = new TSprite(nestedParent);
            nestedChild->Collidable = false;
        }
    }
    while (!all.empty())
        retire(all.size() - 1);
    EXPECT_GT(searches, 200 * 50);
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vorlanex
