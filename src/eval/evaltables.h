// Constant tables of the evaluation: square bonuses, pawn-structure
// penalties, passed-pawn values and the square and piece sets that the
// rules name, some also as 64-bit square sets. Square tables are written as the board is seen by white
// (rank 8 first, file a on the left) and indexed by square number with 0 on
// the border; a per-side table holds white's half and black's half mirrored.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "board/squareset.h"
#include "board/tables.h"

namespace zarvi {

// Squares by name, as white sees them; relativeSquare turns them round for
// black.
namespace sq {
enum : int {
    a1 = 11, b1, c1, d1, e1, f1, g1, h1,
    a2 = 21, b2, c2, d2, e2, f2, g2, h2,
    a3 = 31, b3, c3, d3, e3, f3, g3, h3,
    a4 = 41, b4, c4, d4, e4, f4, g4, h4,
    a5 = 51, b5, c5, d5, e5, f5, g5, h5,
    a6 = 61, b6, c6, d6, e6, f6, g6, h6,
    a7 = 71, b7, c7, d7, e7, f7, g7, h7,
    a8 = 81, b8, c8, d8, e8, f8, g8, h8,
};
}  // namespace sq

// The square a named square (white's view) means for side: the same file,
// rank 9 - r for black.
constexpr int relativeSquare(int side, int square) {
    return side == white ? square : 10 * (9 - rankOf(square)) + fileOf(square);
}

using SquareValues = IntRow<squareCount>;
using SideSquareValues = std::array<SquareValues, 2>;
using PieceSet = IntRow<16>;

namespace detail {
// A value by rule on each real square, 0 on the border.
template <typename Rule>
constexpr SquareValues squareValues(Rule rule) {
    SquareValues t{};
    for (int s = 0; s < squareCount; ++s) t[s] = isRealSquare(s) ? rule(s) : 0;
    return t;
}
}  // namespace detail

// 64 values, rank 8 first, into a square-indexed table with 0 on borders.
constexpr SquareValues boardTable(const IntRow<64>& rows) {
    SquareValues t{};
    for (int i = 0; i < 64; ++i) t[10 * (8 - i / 8) + 1 + i % 8] = rows[i];
    return t;
}

// White's half as given, black's the same mirrored top to bottom.
constexpr SideSquareValues mirroredSides(const SquareValues& whiteHalf) {
    SideSquareValues t{};
    t[white] = whiteHalf;
    for (int rank = 1; rank <= 8; ++rank)
        for (int file = 1; file <= 8; ++file) t[black][10 * rank + file] = whiteHalf[10 * (9 - rank) + file];
    return t;
}

constexpr SideSquareValues perSide(const IntRow<64>& whiteRows) {
    return mirroredSides(boardTable(whiteRows));
}

// A value per rank counted from the pawn's own side (index 1..8).
constexpr SideSquareValues perSideByRank(const IntRow<9>& byRank) {
    return mirroredSides(detail::squareValues([&](int s) { return byRank[rankOf(s)]; }));
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

// Knight destinations by square, the most central first (both colours'
// knight bonuses summed; the earlier jump in the list below wins a tie); a
// 0 ends a row with fewer than eight. The generators visit them in this
// order. Rows run over 11..88, border positions included.
inline constexpr std::array<IntRow<8>, squareCount> knightTargets = [] {
    constexpr int jumps[8] = {19, 21, 12, 8, -12, -21, -19, -8};
    std::array<IntRow<8>, squareCount> t{};
    for (int a = 11; a <= 88; ++a) {
        int square[8] = {}, key[8] = {}, n = 0;
        for (int j : jumps) {
            if (a + j >= 1 && onBoard[a + j]) {
                square[n] = a + j;
                key[n] = knightSquareBonus[white][a + j] + knightSquareBonus[black][a + j];
                ++n;
            }
        }
        for (int k = 0; k < n; ++k) {
            int best = -200, pick = 0;
            for (int i = 0; i < n; ++i) {
                if (key[i] > best) {
                    best = key[i];
                    pick = i;
                }
            }
            t[a][k] = square[pick];
            key[pick] = -200;
        }
    }
    return t;
}();

// The same destinations as square sets.
inline constexpr SquareSets knightTargetSquares = [] {
    SquareSets t{};
    for (int a = 11; a <= 88; ++a)
        for (int j = 0; j < 8 && knightTargets[a][j]; ++j) t[a] |= squareBit[knightTargets[a][j]];
    return t;
}();

// The same for both colours.
inline constexpr SquareValues bishopSquareBonus = boardTable({
    0, 0, 0, 0,  0,  0, 0, 0,  //
    0, 2, 1, 1,  1,  1, 2, 0,  //
    0, 2, 4, 3,  3,  4, 2, 0,  //
    0, 2, 5, 10, 10, 5, 2, 0,  //
    0, 2, 5, 10, 10, 5, 2, 0,  //
    0, 2, 4, 3,  3,  4, 2, 0,  //
    0, 2, 1, 1,  1,  1, 2, 0,  //
    0, 0, 0, 0,  0,  0, 0, 0,  //
});

// Per square a bishop reaches along a diagonal that the opponent's pawns
// leave alone, and per square they attack.
inline constexpr SquareValues bishopMobilityFree = boardTable({
    0, 1, 1, 1, 1, 1, 1, 0,  //
    1, 2, 1, 1, 1, 1, 2, 1,  //
    1, 2, 3, 2, 2, 3, 2, 1,  //
    1, 2, 2, 8, 8, 2, 2, 1,  //
    1, 2, 2, 8, 8, 2, 2, 1,  //
    1, 2, 3, 2, 2, 3, 2, 1,  //
    1, 2, 1, 1, 1, 1, 2, 1,  //
    0, 1, 1, 1, 1, 1, 1, 0,  //
});

inline constexpr SquareValues bishopMobilityAttacked = boardTable({
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 1, 0, 0, 0, 0, 1, 0,  //
    0, 1, 1, 1, 1, 1, 1, 0,  //
    0, 1, 1, 4, 4, 1, 1, 0,  //
    0, 1, 1, 4, 4, 1, 1, 0,  //
    0, 1, 1, 1, 1, 1, 1, 0,  //
    0, 1, 0, 0, 0, 0, 1, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
});

// Per empty square on a rook's rank ray, free of enemy pawn attacks or not.
inline constexpr SquareValues rookRankFree = boardTable({
    0, 0, 1, 1, 1, 1, 0, 0,  //
    0, 1, 1, 2, 2, 1, 1, 0,  //
    1, 1, 1, 2, 2, 1, 1, 1,  //
    1, 1, 1, 2, 2, 1, 1, 1,  //
    1, 1, 1, 2, 2, 1, 1, 1,  //
    1, 1, 1, 2, 2, 1, 1, 1,  //
    0, 1, 1, 2, 2, 1, 1, 0,  //
    0, 0, 1, 1, 1, 1, 0, 0,  //
});

inline constexpr SquareValues rookRankAttacked = boardTable({
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 1, 1, 0, 0, 0,  //
    0, 0, 0, 1, 1, 0, 0, 0,  //
    0, 0, 1, 1, 1, 1, 0, 0,  //
    0, 0, 1, 1, 1, 1, 0, 0,  //
    0, 0, 0, 1, 1, 0, 0, 0,  //
    0, 0, 0, 1, 1, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
});

// Per empty square on a rook's file ray, free of enemy pawn attacks or not.
inline constexpr SquareValues rookFileFree = boardTable({
    0, 1, 1, 1,  1,  1, 1, 0,  //
    1, 1, 2, 3,  3,  2, 1, 1,  //
    1, 3, 5, 5,  5,  5, 3, 1,  //
    2, 3, 6, 11, 11, 6, 3, 3,  //
    2, 3, 6, 11, 11, 6, 3, 3,  //
    1, 3, 5, 5,  5,  5, 3, 1,  //
    1, 1, 2, 3,  3,  2, 1, 1,  //
    0, 1, 1, 1,  1,  1, 1, 0,  //
});

inline constexpr SquareValues rookFileAttacked = boardTable({
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 1, 1, 1, 1, 0, 0,  //
    1, 1, 2, 2, 2, 2, 1, 1,  //
    1, 1, 3, 5, 5, 3, 1, 1,  //
    1, 1, 3, 5, 5, 3, 1, 1,  //
    1, 1, 2, 2, 2, 2, 1, 1,  //
    0, 0, 1, 1, 1, 1, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
});

// The same for both colours.
inline constexpr SquareValues queenSquareBonus = boardTable({
    0, 0,  0,  0,  0,  0,  0,  0,  //
    3, 5,  9,  9,  9,  9,  5,  3,  //
    5, 9,  10, 12, 12, 10, 9,  5,  //
    7, 10, 12, 15, 15, 12, 10, 7,  //
    7, 10, 12, 15, 15, 12, 10, 7,  //
    5, 9,  10, 12, 12, 10, 9,  5,  //
    3, 5,  9,  9,  9,  9,  5,  3,  //
    0, 0,  0,  0,  0,  0,  0,  0,  //
});

// How exposed a king is on its square: indexed by the enemy king's square.
inline constexpr SquareValues kingZoneWeight = boardTable({
    1,  0,  4,  9,  8,  5,  0,  1,   //
    4,  4,  6,  16, 16, 6,  4,  4,   //
    20, 23, 40, 50, 50, 40, 23, 20,  //
    45, 56, 62, 90, 90, 62, 56, 45,  //
    45, 56, 62, 90, 90, 62, 56, 45,  //
    20, 23, 40, 50, 50, 40, 23, 20,  //
    4,  4,  6,  16, 16, 6,  4,  4,   //
    1,  0,  4,  9,  8,  5,  0,  1,   //
});

inline constexpr SideSquareValues kingEndgameBonus = perSide({
    0, 1,  4,  5,  5,  4,  1,  0,  //
    4, 7,  15, 16, 16, 15, 7,  4,  //
    5, 9,  23, 28, 28, 23, 9,  5,  //
    8, 14, 29, 44, 44, 29, 14, 8,  //
    8, 14, 28, 38, 38, 28, 14, 8,  //
    5, 9,  23, 28, 28, 23, 9,  5,  //
    4, 7,  15, 16, 16, 15, 7,  4,  //
    0, 1,  4,  5,  5,  4,  1,  0,  //
});

// A pawn that is not passed, with a pawn on a neighbour file.
inline constexpr SideSquareValues pawnChainBonus = perSide({
    0,  0,  0,  0,  0,  0,  0,  0,   //
    17, 18, 22, 24, 24, 21, 18, 17,  //
    12, 12, 14, 16, 16, 14, 12, 12,  //
    6,  7,  9,  11, 11, 9,  7,  6,   //
    1,  1,  1,  3,  3,  1,  1,  1,   //
    0,  0,  0,  0,  0,  0,  0,  0,   //
    0,  0,  0,  0,  0,  0,  0,  0,   //
    0,  0,  0,  0,  0,  0,  0,  0,   //
});

// A pawn that is not passed and has no neighbours, late in the game.
inline constexpr SideSquareValues loosePawnBonus = perSide({
    0, 0, 0, 0, 0, 0, 0, 0,  //
    6, 6, 7, 7, 7, 7, 6, 6,  //
    4, 4, 5, 5, 5, 5, 4, 4,  //
    2, 2, 3, 3, 3, 3, 2, 2,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0, 0,  //
});

// Passed pawns by their rank: supported by a pawn, with a pawn on a
// neighbour file, or alone.
inline constexpr SideSquareValues passedSupported = perSideByRank({0, 0, 52, 52, 90, 130, 185, 240, 0});
inline constexpr SideSquareValues passedConnected = perSideByRank({0, 0, 50, 50, 87, 124, 170, 215, 0});
inline constexpr SideSquareValues passedAlone = perSideByRank({0, 0, 50, 50, 83, 116, 160, 210, 0});

// By file a..h (entries 0 and 9, beside the board, are 0).
inline constexpr IntRow<10> doubledPenalty = {0, 28, 25, 20, 13, 13, 22, 27, 30, 0};
inline constexpr IntRow<10> isolatedPenalty = {0, 11, 14, 28, 33, 33, 29, 14, 11, 0};

// By the number of our pawns blocked by an enemy pawn, when our knights
// face no enemy knight.
inline constexpr IntRow<9> blockedPawnKnightBonus = {0, 2, 10, 25, 50, 85, 85, 85, 85};
// By the number of the opponent's minor pieces on their back rank, when
// their queen has left it.
inline constexpr IntRow<9> undevelopedPiecesBonus = {0, 0, 20, 40, 60, 60, 60, 60, 60};

// Rooks (and the queen) on our seventh rank, by their number 0..2: with
// the enemy king on its first two ranks and a pawn on its second rank,
// with the king there and no such pawn, with only the pawn.
inline constexpr IntRow<3> seventhRankKingAndPawn = {0, 51, 160};
inline constexpr IntRow<3> seventhRankKingOnly = {0, 35, 125};
inline constexpr IntRow<3> seventhRankPawnOnly = {0, 17, 43};

// fileOf as a table, for the loops that would otherwise divide.
inline constexpr SquareValues squareFile = detail::squareValues([](int s) { return fileOf(s); });

// Square sets. a1 is dark, h1 light.
inline constexpr SquareValues lightSquare =
    detail::squareFlags([](int s) { return (rankOf(s) + fileOf(s)) % 2 == 1; });
inline constexpr SquareValues darkSquare =
    detail::squareFlags([](int s) { return (rankOf(s) + fileOf(s)) % 2 == 0; });
inline constexpr SquareValues cornerSquare =
    detail::squareFlags([](int s) { return s == sq::a1 || s == sq::h1 || s == sq::a8 || s == sq::h8; });
// Ranks 2 to 7, where the passed-pawn and knight-safety walks look.
inline constexpr SquareValues innerRanks =
    detail::squareFlags([](int s) { return rankOf(s) >= 2 && rankOf(s) <= 7; });
// By file: c to f.
inline constexpr IntRow<10> middleFile = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0};

// The square on the side's last rank in the file of the square.
inline constexpr std::array<SquareValues, 2> promotionSquare = {
    detail::squareValues([](int s) { return 80 + fileOf(s); }),
    detail::squareValues([](int s) { return 10 + fileOf(s); }),
};

inline constexpr SideSquareValues knightOutpost =
    mirroredSides(detail::squareFlags([](int s) { return s == sq::d5 || s == sq::e5; }));
inline constexpr SideSquareValues knightSupportZone = mirroredSides(detail::squareFlags(
    [](int s) { return fileOf(s) >= 3 && fileOf(s) <= 6 && rankOf(s) >= 4 && rankOf(s) <= 6; }));
inline constexpr SideSquareValues firstTwoRanks =
    mirroredSides(detail::squareFlags([](int s) { return rankOf(s) <= 2; }));

namespace detail {
constexpr PieceSet pieceSet(std::initializer_list<int> types, int firstSide, int lastSide) {
    PieceSet t{};
    for (int side = firstSide; side <= lastSide; ++side)
        for (int type : types) t[pieceCode(side, type)] = 1;
    return t;
}
}  // namespace detail

// Piece-code sets of the x-ray and discovered-attack rules.
inline constexpr PieceSet xrayBlocker = detail::pieceSet({knight, bishop, queen}, white, black);
inline constexpr PieceSet discoverer = detail::pieceSet({knight, rook, queen}, white, black);
inline constexpr std::array<PieceSet, 2> xrayTargetRook = {
    detail::pieceSet({queen, king}, white, white),
    detail::pieceSet({queen, king}, black, black),
};
inline constexpr std::array<PieceSet, 2> xrayTargetBishop = {
    detail::pieceSet({rook, queen, king}, white, white),
    detail::pieceSet({rook, queen, king}, black, black),
};

inline constexpr SquareSet centreSquares = squaresMarked(centerSquare);
inline constexpr SquareSet edgeSquares = squaresMarked(edgeSquare);
inline constexpr SquareSet cornerSquares = squaresMarked(cornerSquare);
inline constexpr std::array<SquareSet, 2> backRankSquares = {squaresMarked(backRank[white]),
                                                             squaresMarked(backRank[black])};

// Each side's own half of the board: ranks 1 to 4 for white, 5 to 8 for
// black.
inline constexpr std::array<SquareSet, 2> homeHalf = {0xffffffffULL, 0xffffffffULL << 32};

// From each square, along each of the directions of queenDirections
// (1, 11, 10, 9, -1, -11, -10, -9), every square up to the edge.
inline constexpr std::array<std::array<SquareSet, 8>, squareCount> lineSquares = [] {
    constexpr int steps[8] = {1, 11, 10, 9, -1, -11, -10, -9};
    std::array<std::array<SquareSet, 8>, squareCount> t{};
    for (int s = 11; s <= 88; ++s) {
        if (!detail::isRealSquare(s)) continue;
        for (int k = 0; k < 8; ++k)
            for (int x = s + steps[k]; detail::isRealSquare(x); x += steps[k]) t[s][k] |= squareBit[x];
    }
    return t;
}();

// From the square forward in side's direction along its file, while on
// ranks 2 to 7: where the knight-safety rule looks.
inline constexpr std::array<SquareSets, 2> innerFileAhead = [] {
    std::array<SquareSets, 2> t{};
    for (int side = white; side <= black; ++side)
        for (int s = 0; s < squareCount; ++s)
            for (int x = s; detail::isRealSquare(x) && rankOf(x) >= 2 && rankOf(x) <= 7; x += pawnStep[side])
                t[side][s] |= squareBit[x];
    return t;
}();

}  // namespace zarvi
