// Constant tables of the evaluation: square bonuses, pawn-structure
// penalties and passed-pawn values. Square tables are written as the board
// is seen by white (rank 8 first, file a on the left) and indexed by square
// number; a per-side table holds white's half and black's half mirrored.
#pragma once

#include <array>

#include "board/tables.h"

namespace zarvi {

using SquareValues = IntRow<squareCount>;
using SideSquareValues = std::array<SquareValues, 2>;

// 64 values, rank 8 first, into a square-indexed table with 0 on borders.
constexpr SquareValues boardTable(const IntRow<64>& rows) {
    SquareValues t{};
    for (int i = 0; i < 64; ++i) t[10 * (8 - i / 8) + 1 + i % 8] = rows[i];
    return t;
}

// White's half as given, black's the same mirrored top to bottom.
constexpr SideSquareValues perSide(const IntRow<64>& whiteRows) {
    SideSquareValues t{};
    t[white] = boardTable(whiteRows);
    for (int rank = 1; rank <= 8; ++rank)
        for (int file = 1; file <= 8; ++file) t[black][10 * rank + file] = t[white][10 * (9 - rank) + file];
    return t;
}

inline constexpr SideSquareValues knightSquareBonus = perSide({
    0, 5,  7,  7,  7,  7,  5,  0,   //
    0, 8,  21, 23, 23, 21, 8,  0,   //
    3, 21, 28, 29, 29, 28, 21, 3,   //
    4, 24, 31, 45, 45, 31, 24, 4,   //
    4, 23, 28, 34, 34, 28, 23, 4,   //
    3, 21, 28, 28, 28, 28, 21, 3,   //
    0, 8,  21, 23, 23, 21, 8,  0,   //
    0, 5,  7,  7,  7,  7,  5,  0,   //
});

}  // namespace zarvi
