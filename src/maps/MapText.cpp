#include "maps/MapText.h"

#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/common/Gbk.h"

namespace vorlanex {

namespace {

constexpr char EmptySymbol = '.';
// Symbols handed out by the dump, in this order.
constexpr std::string_view DumpSymbols =
    "BSWTIRGHKLMNOPQUVXYZACDEFJabcdefghijklmnopqrstuvwxyz0123456789@$%&*+=?!~^-_<>/|:;()[]{}";

bool IsSymbol(char c) { return c > ' ' && c < 0x7F && c != EmptySymbol && c != '#'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Splits off the next blank-separated word.
std::string_view NextWord(std::string_view& rest)
{
    rest = Trim(rest);
    const std::size_t end = std::min(rest.find_first_of(" \t"), rest.size());
    std::string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

class Parser
{
public:
    Parser(std::string_view text, const std::string& sourceName) : source(sourceName)
    {
        std::size_t start = 0;
        while (start <= text.size())
        {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        if (!lines.empty() && lines.back().empty())
            lines.pop_back();   // the newline that ends the last line starts no new one
    }

    MapData Parse()
    {
        for (lineNo = 0; lineNo < lines.size(); ++lineNo)
        {
            std::string_view rest = Trim(lines[lineNo]);
            if (rest.empty() || rest.front() == '#')
                continue;
            const std::string_view keyword = NextWord(rest);
            Directive(keyword, rest);
        }
        if (enemies != 3)
            Fail("expected three 'enemy' lines, found " + std::to_string(enemies));
        if (!havePlayer)
            Fail("missing the 'player' line");
        for (int layer = 0; layer < 3; ++layer)
        {
            auto& cells = map.Layers[std::size_t(layer)];
            cells.insert(cells.end(), extraCells[std::size_t(layer)].begin(), extraCells[std::size_t(layer)].end());
        }
        return map;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw MapTextError(source + ":" + std::to_string(lineNo + 1) + ": " + what);
    }

    std::int32_t Number(std::string_view& rest, const char* what)
    {
        const std::string_view word = NextWord(rest);
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (word.empty() || ec != std::errc() || end != word.data() + word.size())
            Fail(std::string("expected a whole number for ") + what + ", found '" + std::string(word) + "'");
        return value;
    }

    std::string Name(std::string_view text)
    {
        try
        {
            return Utf8ToGbk(Trim(text));
        }
        catch (const TextEncodingError& e)
        {
            Fail(std::string("name cannot be stored in GBK: ") + e.what());
        }
    }

    void EndOfLine(std::string_view rest)
    {
        if (!rest.empty())
            Fail("unexpected '" + std::string(rest) + "'");
    }

    int LayerNumber(std::string_view& rest)
    {
        const std::int32_t layer = Number(rest, "the layer");
        if (layer < 1 || layer > 3)
            Fail("layer " + std::to_string(layer) + " does not exist (1 to 3)");
        return layer;
    }

    void Directive(std::string_view keyword, std::string_view rest)
    {
        if (keyword == "background")
            map.BackgroundFileName = Name(rest);
        else if (keyword == "enemy")
            Enemy(rest);
        else if (keyword == "player")
        {
            map.PlayerStart.Column = Number(rest, "the column");
            map.PlayerStart.Row = Number(rest, "the row");
            EndOfLine(rest);
            havePlayer = true;
        }
        else if (keyword == "tile")
            Tile(rest);
        else if (keyword == "layer")
            Grid(LayerNumber(rest), rest);
        else if (keyword == "cell")
            Cell(rest);
        else
            Fail("unknown keyword '" + std::string(keyword) + "'");
    }

    void Enemy(std::string_view rest)
    {
        if (enemies == 3)
            Fail("more than three 'enemy' lines");
        TCellPoint& p = map.EnemySpawnPoints[std::size_t(enemies++)];
        p.Column = Number(rest, "the column");
        p.Row = Number(rest, "the row");
        EndOfLine(rest);
    }

    void Tile(std::string_view rest)
    {
        const std::string_view symbol = NextWord(rest);
        if (symbol.size() != 1 || !IsSymbol(symbol[0]))
            Fail("a tile symbol is one printable character other than '.' and '#'");
        if (rest.empty())
            Fail("tile '" + std::string(symbol) + "' names no tile");
        if (legend.count(symbol[0]))
            Fail("tile symbol '" + std::string(symbol) + "' defined twice");
        legend[symbol[0]] = Name(rest);
    }

    void Grid(int layer, std::string_view rest)
    {
        EndOfLine(rest);
        auto& cells = map.Layers[std::size_t(layer - 1)];
        if (!cells.empty() || gridSeen[std::size_t(layer - 1)])
            Fail("layer " + std::to_string(layer) + " has a second grid");
        gridSeen[std::size_t(layer - 1)] = true;
        for (int row = 0; row < MapGridRows; ++row)
        {
            if (++lineNo >= lines.size())
                Fail("layer " + std::to_string(layer) + " ends after " + std::to_string(row) + " of 24 rows");
            const std::string_view text = Trim(lines[lineNo]);
            if (text.size() != std::size_t(MapGridColumns))
                Fail("a grid row has " + std::to_string(MapGridColumns) + " symbols, this one " +
                     std::to_string(text.size()));
            for (int col = 0; col < MapGridColumns; ++col)
                GridSymbol(cells, text[std::size_t(col)], col, row);
        }
    }

    void GridSymbol(std::vector<TCell>& cells, char symbol, int col, int row)
    {
        if (symbol == EmptySymbol)
            return;
        const auto it = legend.find(symbol);
        if (it == legend.end())
            Fail(std::string("symbol '") + symbol + "' at column " + std::to_string(col) +
                 " has no 'tile' line before it");
        TCell cell;
        cell.Col = col;
        cell.Row = row;
        cell.TileName = it->second;
        cells.push_back(std::move(cell));
    }

    void Cell(std::string_view rest)
    {
        const int layer = LayerNumber(rest);
        TCell cell;
        cell.Col = Number(rest, "the column");
        cell.Row = Number(rest, "the row");
        const std::int32_t reserved1 = Number(rest, "reserved value 1");
        if (reserved1 < 0 || reserved1 > 255)
            Fail("reserved value 1 is a byte (0 to 255)");
        cell.Reserved1 = std::uint8_t(reserved1);
        cell.Reserved2 = Number(rest, "reserved value 2");
        cell.Reserved3 = Number(rest, "reserved value 3");
        cell.TileName = Name(rest);
        extraCells[std::size_t(layer - 1)].push_back(std::move(cell));
    }

    std::string source;
    std::vector<std::string_view> lines;
    std::size_t lineNo = 0;
    MapData map;
    int enemies = 0;
    bool havePlayer = false;
    std::map<char, std::string> legend;
    std::array<bool, 3> gridSeen{};
    std::array<std::vector<TCell>, 3> extraCells;
};

std::string Utf8Name(const std::string& gbk)
{
    std::string utf8;
    try
    {
        utf8 = GbkToUtf8(gbk);
    }
    catch (const TextEncodingError& e)
    {
        throw MapTextError(std::string("a stored name is not valid GBK: ") + e.what());
    }
    if (utf8.find_first_of("\r\n") != std::string::npos)
        throw MapTextError("a stored name contains a line break: '" + utf8 + "'");
    return utf8;
}

// A grid shows a layer exactly when its cells are inside the screen, in row-major order, one per cell, with
// zero reserved values and names that a text line can carry unchanged.
bool FitsGrid(const std::vector<TCell>& cells)
{
    std::int64_t last = -1;
    for (const TCell& c : cells)
    {
        if (c.Col < 0 || c.Col >= MapGridColumns || c.Row < 0 || c.Row >= MapGridRows)
            return false;
        const std::int64_t index = std::int64_t(c.Row) * MapGridColumns + c.Col;
        if (index <= last || c.Reserved1 || c.Reserved2 || c.Reserved3 || c.TileName.empty())
            return false;
        if (Trim(c.TileName) != std::string_view(c.TileName))
            return false;
        last = index;
    }
    return true;
}

void WriteGrid(std::ostringstream& out, int layer, const std::vector<TCell>& cells,
               const std::map<std::string, char>& symbols)
{
    std::vector<std::string> rows(MapGridRows, std::string(MapGridColumns, EmptySymbol));
    for (const TCell& c : cells)
        rows[std::size_t(c.Row)][std::size_t(c.Col)] = symbols.at(c.TileName);
    out << "\nlayer " << layer << "\n";
    for (const std::string& row : rows)
        out << row << "\n";
}

}  // namespace

MapData ParseMapText(std::string_view text, const std::string& sourceName)
{
    return Parser(text, sourceName).Parse();
}

std::string MapToText(const MapData& map)
{
    std::ostringstream out;
    out << "# Vorlanex map\n";
    out << "background " << Utf8Name(map.BackgroundFileName) << "\n";
    for (const TCellPoint& p : map.EnemySpawnPoints)
        out << "enemy " << p.Column << " " << p.Row << "\n";
    out << "player " << map.PlayerStart.Column << " " << map.PlayerStart.Row << "\n";

    std::map<std::string, char> symbols;
    std::array<bool, 3> asGrid{};
    std::ostringstream legend;
    for (std::size_t layer = 0; layer < 3; ++layer)
    {
        const auto& cells = map.Layers[layer];
        asGrid[layer] = !cells.empty() && FitsGrid(cells);
        for (const TCell& c : cells)
            if (asGrid[layer] && !symbols.count(c.TileName) && symbols.size() < DumpSymbols.size())
            {
                const char symbol = DumpSymbols[symbols.size()];
                symbols[c.TileName] = symbol;
                legend << "tile " << symbol << " " << Utf8Name(c.TileName) << "\n";
            }
        // Too many distinct tiles for the symbols: this layer is written cell by cell.
        for (const TCell& c : cells)
            if (asGrid[layer] && !symbols.count(c.TileName))
                asGrid[layer] = false;
    }
    out << legend.str();
    for (std::size_t layer = 0; layer < 3; ++layer)
    {
        if (asGrid[layer])
        {
            WriteGrid(out, int(layer + 1), map.Layers[layer], symbols);
            continue;
        }
        for (const TCell& c : map.Layers[layer])
            out << "cell " << layer + 1 << " " << c.Col << " " << c.Row << " " << int(c.Reserved1) << " "
                << c.Reserved2 << " " << c.Reserved3 << " " << Utf8Name(c.TileName) << "\n";
    }
    return out.str();
}

}  // namespace vorlanex
