// Shared vocabulary of the engine: squares, pieces, sides and moves.
// Squares are 10 * rank + file (a1 = 11, h8 = 88); arrays indexed by square
// have 89 entries, and files 0 and 9 and rank 0 are border positions that
// never hold a piece.
#pragma once

#include <cstdint>

namespace zarvi {

constexpr int white = 0;
constexpr int black = 1;

constexpr int pawn = 1;
constexpr int knight = 2;
constexpr int bishop = 3;
constexpr int rook = 4;
constexpr int queen = 5;
constexpr int king = 6;

// A black piece adds 8 to its type; 0 is an empty square.
constexpr int blackPiece = 8;

constexpr int squareCount = 89;

constexpr int fileOf(int square) { return square % 10; }
constexpr int rankOf(int square) { return square / 10; }
constexpr int sideOf(int piece) { return piece >> 3; }
constexpr int typeOf(int piece) { return piece & 7; }
constexpr int pieceCode(int side, int type) { return side * 8 + type; }

// A pawn leaving its seventh rank carries 8 * d + p in place of its
// destination: p the new type, d = 0 capture towards the lower file,
// 1 straight, 2 capture towards the higher file.
constexpr int promotionCode(int direction, int type) { return 8 * direction + type; }
constexpr int promotionDestination(int from, int code, int side) {
    return from + 9 - 20 * side + (code >> 3);
}

// A move as the lists, the tables and the history hold it.
struct Move {
    int from;
    int to;
};

inline bool operator==(const Move& a, const Move& b) { return a.from == b.from && a.to == b.to; }

// One mate found at ply p scores mateScore - p; anything beyond
// mateThreshold in either direction is a forced mate.
constexpr int mateScore = 28800;
constexpr int mateThreshold = 28750;

}  // namespace zarvi
