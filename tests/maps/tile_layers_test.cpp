// Layers and cell records: the defaults a short record leaves, and the name lengths that are refused.

#include <gtest/gtest.h>

#include <optional>

#include "maps/Layers.h"

namespace vorlanex {
namespace {

void PutInt(std::vector<std::uint8_t>& out, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

std::vector<std::uint8_t> Record(std::int32_t col, std::int32_t row, const std::string& name,
                                 std::optional<std::int32_t> nameLength = {})
{
    std::vector<std::uint8_t> out;
    PutInt(out, col);
    PutInt(out, row);
    out.push_back(9);
    PutInt(out, 100);
    PutInt(out, -100);
    PutInt(out, nameLength.value_or(std::int32_t(name.size())));
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

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

TEST(TileLayer, LoadCellsReadsOneRecordPerCellInOrder)
{
    auto bytes = Record(31, 23, "\xD7\xA9\xC7\xBD\\\xBA\xEC\xD7\xA9");   // GBK 砖墙\红砖
    const auto empty = Record(1, 2, "");
    bytes.insert(bytes.end(), empty.begin(), empty.end());
    bytes.push_back(0xEE);   // bytes after the last record are not read

    TLayer none;
    ByteStream untouched(bytes);
    EXPECT_TRUE(none.LoadCells(untouched, "m"));
    EXPECT_EQ(untouched.Position(), 0u);

    TLayer layer;
    layer.AddCell();
    layer.AddCell();
    ByteStream stream(bytes);
    EXPECT_TRUE(layer.LoadCells(stream, "m"));
    EXPECT_EQ(layer.CellAt(0)->Col, 31);
    EXPECT_EQ(layer.CellAt(0)->Row, 23);
    EXPECT_EQ(layer.CellAt(0)->Reserved1, 9);
    EXPECT_EQ(layer.CellAt(0)->Reserved2, 100);
    EXPECT_EQ(layer.CellAt(0)->Reserved3, -100);
    EXPECT_EQ(layer.CellAt(0)->TileName, "\xD7\xA9\xC7\xBD\\\xBA\xEC\xD7\xA9");
    EXPECT_EQ(layer.CellAt(1)->Col, 1);
    EXPECT_TRUE(layer.CellAt(1)->TileName.empty());   // a record with no name takes 21 bytes
    EXPECT_EQ(stream.Position(), 21u + 9u + 21u);
}

TEST(TileLayer, RecordsCutOffByTheEndKeepTheDefaults)
{
    auto bytes = Record(4, 5, "ab");
    bytes.push_back(0x07);   // one byte of the next record's column
    TLayer layer;
    for (int i = 0; i < 3; ++i)
        layer.AddCell();
    ByteStream stream(bytes);
    EXPECT_TRUE(layer.LoadCells(stream, "m"));
    EXPECT_EQ(layer.CellAt(0)->TileName, "ab");
    EXPECT_EQ(layer.CellAt(1)->Col, 7);   // low byte replaced: 6 becomes 7
    EXPECT_EQ(layer.CellAt(1)->Row, 3);
    EXPECT_EQ(layer.CellAt(2)->Col, 6);
    EXPECT_TRUE(layer.CellAt(2)->TileName.empty());
}

TEST(TileLayer, ANameLengthThatCannotBeTrueIsRefused)
{
    for (const std::int32_t length : {-1, -2147483647 - 1, 3, 1000000})
    {
        const auto data = Record(0, 0, "ab", length);
        TLayer layer;
        layer.AddCell();
        ByteStream stream(data);
        try
        {
            layer.LoadCells(stream, "MAP009.map");
            ADD_FAILURE() << "length " << length << " accepted";
        }
        catch (const CellRecordError& e)
        {
            EXPECT_NE(std::string(e.what()).find("MAP009.map"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(std::to_string(length)), std::string::npos) << e.what();
        }
        EXPECT_TRUE(layer.CellAt(0)->TileName.empty());
    }
}

}  // namespace
}  // namespace vorlanex
