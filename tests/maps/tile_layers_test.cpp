// Layers: cells with their defaults, found by index, replaced by a map's cells.

#include <gtest/gtest.h>

#include "maps/Layers.h"

namespace vorlanex {
namespace {

TEST(TileLayer, CellsAreAddedWithDefaultsAndFoundByIndex)
{
    TLayer layer;
    EXPECT_EQ(layer.CellAt(0), nullptr);
    layer.AddCell();
    layer.AddCell();
    ASSERT_EQ(layer.Count(), 2);
    EXPECT_EQ(layer.CellAt(-1), nullptr);
    EXPECT_EQ(layer.CellAt(2), nullptr);
    ASSERT_NE(layer.CellAt(1), nullptr);
    EXPECT_EQ(layer.CellAt(1)->Col, 6);
    EXPECT_EQ(layer.CellAt(1)->Row, 3);
    EXPECT_TRUE(layer.CellAt(1)->TileName.empty());
    layer.Clear();
    EXPECT_EQ(layer.Count(), 0);
}

TEST(TileLayer, AssignReplacesTheCellsWithCopiesInOrder)
{
    TLayer layer;
    layer.AddCell();
    TCell first;
    first.Col = 31;
    first.TileName = "ab";
    const std::vector<TCell> cells = {first, TCell{}};
    layer.Assign(cells);
    ASSERT_EQ(layer.Count(), 2);
    EXPECT_EQ(*layer.CellAt(0), first);
    EXPECT_EQ(*layer.CellAt(1), TCell{});
    layer.CellAt(0)->Col = 1;
    EXPECT_EQ(cells[0].Col, 31);
}

}  // namespace
}  // namespace vorlanex
