#include "shell/TickerPieces.h"

#include <algorithm>

namespace vorlanex {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void TickerPieces::Select(const std::string& text)
{
    // A long line is known by its buffer; a short one is cheap enough to measure afresh every frame.
    const bool same = line == &text && lineData == text.data() && lineSize == text.size() && lineSize > PieceBytes;
    if (same)
        return;
    line = &text;
    lineData = text.data();
    lineSize = text.size();
    pieces.clear();
    measuredEnd = 0;
    measuredWidth = 0;
}

std::size_t TickerPieces::NextCut(std::size_t begin) const
{
    std::size_t end = std::min(line->size(), begin + PieceBytes);
    if (end == line->size())
        return end;
    std::size_t cut = end;
    while (cut > begin && IsContinuationByte((*line)[cut]))
        --cut;
    return cut > begin ? cut : end;
}

void TickerPieces::MeasureUpTo(std::int64_t extent, const Measure& measure)
{
    if (!line)
        return;
    while (!Complete() && measuredWidth < extent)
    {
        Piece piece;
        piece.begin = measuredEnd;
        piece.end = NextCut(measuredEnd);
        piece.left = measuredWidth;
        piece.width = measure(std::string_view(*line).substr(piece.begin, piece.end - piece.begin));
        pieces.push_back(piece);
        measuredEnd = piece.end;
        measuredWidth += piece.width;
    }
}

std::span<const TickerPieces::Piece> TickerPieces::Visible(std::int64_t from, std::int64_t to) const
{
    const auto first = std::partition_point(pieces.begin(), pieces.end(),
                                            [from](const Piece& p) { return p.left + p.width <= from; });
    const auto last = std::partition_point(first, pieces.end(), [to](const Piece& p) { return p.left < to; });
    return {first, last};
}

}  // namespace vorlanex
