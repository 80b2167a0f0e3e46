// Setting up a position from a description of its squares and rights, and
// the FEN text form of that description. setupPosition builds every view
// from scratch, with list entries in ascending square order; it is also the
// reference that the incremental views of makeMove are tested against.
#pragma once

#include <string>

#include "board/posicion.h"

namespace zarvi {

struct PositionSetup {
    int squares[squareCount];
    int canCastleShort[2];
    int canCastleLong[2];
    // Square of the pawn that just advanced two squares, or 0. Kept only
    // when an opposing pawn attacks the square it passed over.
    int epSquare;
    int halfmoveClock;
    int sideToMove;
};

void setupPosition(posicion& board, const PositionSetup& setup);

// The description of a position, to rebuild it or compare it.
PositionSetup describePosition(const posicion& board, int sideToMove);

inline constexpr const char* startFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The largest halfmove clock and move number a FEN may carry. Whoever
// plays moves on from a FEN keeps within them, so that the position can
// always be written out and read back.
constexpr int fenCounterLimit = 9999;

struct FenGame {
    int sideToMove;
    int fullmoveNumber;
};

// Reads a FEN (the move counters may be left out). On success returns an
// empty string; otherwise returns what is wrong and leaves board untouched.
std::string readFen(posicion& board, const std::string& fen, FenGame& game);

std::string writeFen(const posicion& board, const FenGame& game);

std::string squareName(int square);

}  // namespace zarvi
