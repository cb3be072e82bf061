#pragma once
// The help ticker's line cut into pieces of a few hundred bytes, each measured once as it comes into view.
// A frame then measures and draws only what is on the screen, so a line of megabytes costs each frame about
// what a line filling the screen costs. A line that fits one piece is measured whole every frame, exactly as
// a ticker that measures its line does.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlanex {

class TickerPieces
{
public:
    static constexpr std::size_t PieceBytes = 512;

    struct Piece
    {
        std::size_t begin = 0, end = 0;   // bytes of the line, cut between UTF-8 characters
        std::int64_t left = 0;            // pixels from the start of the line
        std::int64_t width = 0;
    };

    using Measure = std::function<int(std::string_view)>;

    // Starts over unless `line` is the long line of the last call.
    void Select(const std::string& line);
    // Measures further pieces until they reach `extent` pixels from the start of the line or the line ends.
    void MeasureUpTo(std::int64_t extent, const Measure& measure);

    bool Complete() const { return measuredEnd == (line ? line->size() : 0); }
    std::int64_t MeasuredWidth() const { return measuredWidth; }
    // The measured pieces that overlap [from, to) in pixels from the start of the line.
    std::span<const Piece> Visible(std::int64_t from, std::int64_t to) const;
    std::string Text(const Piece& piece) const { return line->substr(piece.begin, piece.end - piece.begin); }

private:
    std::size_t NextCut(std::size_t begin) const;

    const std::string* line = nullptr;
    const char* lineData = nullptr;
    std::size_t lineSize = 0;
    std::vector<Piece> pieces;
    std::size_t measuredEnd = 0;
    std::int64_t measuredWidth = 0;
};

}  // namespace vorlanex
