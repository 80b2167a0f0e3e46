// The position: board array plus incrementally kept views (piece lists,
// pawn counts per file, pawn-attack counts, material, emptiness flags, hash
// key) so that generators, evaluation and search never scan the board.
// The game and the searcher each own their positions; makeMove/unmakeMove
// keep every view exact.
#pragma once

#include <cstdint>

#include "board/keys.h"
#include "board/types.h"

namespace zarvi {

// Slots of the undo stack: makeMove uses 0..undoWrap. Game moves, never
// taken back, may wrap freely; a search resets undoPly at its root and
// nests far less.
constexpr int undoSlots = 36;
constexpr int undoWrap = 34;

struct posicion {
    uint32_t key1;
    uint32_t key2;
    uint16_t key3;
    int squares[squareCount];
    // Piece lists: element 0 is the count, 1..count the squares. The order
    // is the order in which the generators visit the pieces.
    int knightList[2][11];
    int rookList[2][11];
    int bishopList[2][11];
    int queenList[2][10];
    int pawnList[2][9];
    int kingSquare[2];
    int canCastleShort[2];
    int canCastleLong[2];
    int emptyFlag[squareCount];
    // Set by an en-passant capture: the next check test must be the full one.
    int fullCheckTest;
    int capturedType;
    int halfmoveClock;
    int pawnsOnFile[2][10];
    // Non-pawn material in units: knight and bishop 3, rook 5, queen 10.
    int pieceUnits[2];
    // Border entries beside files a and h may drift (even below 0); only
    // real squares are ever read.
    int pawnAttacks[2][90];
    // The legality test's saved flag of the destination square.
    int savedEmptyFlag;
    // Last move made: type that arrived (for castling the rook's part).
    int movedType;
    int material[2];
    // Square of a pawn that just advanced two squares and can be taken en
    // passant, else 0.
    int epSquare;
    int lastFrom;
    int lastTo;

    // What makeMove cannot recompute, one slot per move made on this board
    // and not yet taken back; undoPly is the current slot. Each board keeps
    // its own, so that searches on different boards never meet.
    int undoCaptured[undoSlots];     // captured type; 0 also for en passant
    int undoPromotionTo[undoSlots];  // real destination of a promotion
    int undoEpSquare[undoSlots];
    int undoHalfmove[undoSlots];
    int undoLostLong[undoSlots][2];
    int undoLostShort[undoSlots][2];
    int undoPly;
    // 1 while the side whose move isMoveLegal tests is known to be in
    // check: the test then rejects at once a move that can neither capture
    // a checker nor block its line, and the legal-move generator offers no
    // castling. 0 on a new board; a search keeps its board's at 1 except
    // around the calls that need the full test.
    int evasionMode;

    // clearBoard: a fresh position, to be set up by setStartPosition.
    posicion();
    void clearBoard();

    // Passes the move to the other side without moving (the null move).
    void toggleSide();

    void toggleKey(int side, int square, int slot);
    void toggleKey(const HashKey& key);

    // The list holding pieces of this type (knight to queen, or pawn).
    int* pieceList(int side, int type);
    const int* pieceList(int side, int type) const;
};

// Sets positions to the initial position; holds no state of its own.
struct posicionador {
    void setStartPosition(posicion& board) const;
};

inline void posicion::toggleKey(int side, int square, int slot) {
    key1 ^= keyTableA[side][square][slot];
    key2 ^= keyTableB[side][square][slot];
    key3 ^= keyTableC[side][square][slot];
}

inline void posicion::toggleKey(const HashKey& key) {
    key1 ^= key.key1;
    key2 ^= key.key2;
    key3 ^= key.key3;
}

inline void posicion::toggleSide() { toggleKey(sideKey); }

inline int* posicion::pieceList(int side, int type) {
    switch (type) {
        case pawn: return pawnList[side];
        case knight: return knightList[side];
        case rook: return rookList[side];
        case queen: return queenList[side];
        default: return bishopList[side];
    }
}

inline const int* posicion::pieceList(int side, int type) const {
    return const_cast<posicion*>(this)->pieceList(side, type);
}

}  // namespace zarvi
