// Lookup tables that answer the engine's geometric questions in one read:
// which direction leads from a to b, is b a knight jump from a, how far
// apart are two squares, how good is a quiet move. The constant ones are
// data; the square-pair ones are filled once by buildTables() before the
// first position is set up, and every reader indexes them directly.
#pragma once

#include <array>
#include <cstdint>

#include "board/types.h"

namespace zarvi {

using SquareTable = int[squareCount][squareCount];

// Constant data, computed by the compiler.
template <int N>
using IntRow = std::array<int, N>;

namespace detail {
constexpr bool isRealSquare(int s) {
    return s >= 11 && s <= 88 && fileOf(s) >= 1 && fileOf(s) <= 8;
}
template <typename Rule>
constexpr IntRow<squareCount> squareFlags(Rule rule) {
    IntRow<squareCount> flags{};
    for (int s = 0; s < squareCount; ++s) flags[s] = isRealSquare(s) && rule(s) ? 1 : 0;
    return flags;
}
}  // namespace detail

// Runs to 109 so that a knight or king step from any real square can be
// looked up without a range check.
inline constexpr IntRow<110> onBoard = [] {
    IntRow<110> t{};
    for (int s = 0; s < 110; ++s) t[s] = detail::isRealSquare(s) ? 1 : 0;
    return t;
}();

inline constexpr std::array<IntRow<16>, 2> pieceOfSide = [] {
    std::array<IntRow<16>, 2> t{};
    for (int type = pawn; type <= king; ++type) {
        t[white][type] = 1;
        t[black][type + blackPiece] = 1;
    }
    return t;
}();

// A pawn of the side standing here promotes with its next move: rank 7 for
// white, rank 2 for black, the rank's border entries included.
inline constexpr std::array<IntRow<squareCount>, 2> promotionRank = [] {
    std::array<IntRow<squareCount>, 2> t{};
    for (int s = 70; s <= 79; ++s) t[white][s] = 1;
    for (int s = 20; s <= 29; ++s) t[black][s] = 1;
    return t;
}();

inline constexpr IntRow<2> pawnStep = {10, -10};

// By piece code, the same for both colours; codes naming no piece give 0.
inline constexpr IntRow<16> materialValue = {0, 225, 798, 835, 1250, 2335, 4000, 0,
                                             0, 225, 798, 835, 1250, 2335, 4000, 0};
// By type: knight and bishop 3, rook 5, queen 10.
inline constexpr IntRow<8> pieceUnitValue = {0, 0, 3, 3, 5, 10, 0, 0};

// Bishops and queens of either colour.
inline constexpr IntRow<16> diagonalSlider = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0};

inline constexpr IntRow<squareCount> edgeSquare = detail::squareFlags(
    [](int s) { return rankOf(s) == 1 || rankOf(s) == 8 || fileOf(s) == 1 || fileOf(s) == 8; });
inline constexpr IntRow<squareCount> centerSquare =
    detail::squareFlags([](int s) { return s == 44 || s == 45 || s == 54 || s == 55; });
inline constexpr std::array<IntRow<squareCount>, 2> backRank = {
    detail::squareFlags([](int s) { return rankOf(s) == 1; }),
    detail::squareFlags([](int s) { return rankOf(s) == 8; }),
};

// Offset lists; their order fixes the order of generated moves.
extern const int kingSteps[8];
extern const int knightJumps[8];
extern const int queenDirections[8];
extern const int bishopDirections[4];
extern const int rookDirections[4];

// Built at start-up. Entries outside 11..88 stay 0.
extern SquareTable queenDirection;
extern SquareTable rookDirection;
extern SquareTable bishopDirection;
extern SquareTable knightJump;
extern SquareTable kingAdjacent;
extern SquareTable lineOrKnight;
extern SquareTable distance;
extern SquareTable sameQuarter;
extern SquareTable sameWing;
extern SquareTable nearSquare;
// The same three relations as 64-bit square sets, for the evaluation (the
// bit layout of its squareBit): entry k holds each real x with [x][k] set.
extern uint64_t sameQuarterSquares[squareCount];
extern uint64_t sameWingSquares[squareCount];
extern uint64_t nearSquares[squareCount];
extern SquareTable rankAhead[2];
extern SquareTable rookKingWeightA;
extern SquareTable rookKingWeightB;
extern SquareTable bishopKingWeight;
extern SquareTable queenKingWeight;
// For each king square k, as a 64-bit square set: each x where
// queenKingWeight[k][x] is not 0.
extern uint64_t queenWeightSquares[squareCount];
// slidesAlong[piece code][direction + 11]
extern int slidesAlong[15][23];
// quietMoveClass[side][type][from][to]: 0 best, 2 worst.
extern SquareTable quietMoveClass[2][7];
// King destinations by square in king-step order; a 0 ends a row with
// fewer than eight.
extern int kingTargets[squareCount][8];

// Builds the hash keys and every table above. Runs its work once; later
// calls return at once.
void buildTables();

}  // namespace zarvi
