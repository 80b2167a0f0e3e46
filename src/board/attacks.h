// Attack, check and legality tests on a position, each the fastest sound
// test for its caller's situation (generators, user moves, searches). All
// read emptiness through emptyFlag, so a caller may hide a piece, such as an
// en-passant victim, by setting its flag for the duration of a test.
#pragma once

#include "board/posicion.h"
#include "board/tables.h"

namespace zarvi {

// The first occupied square from s along d, or an off-board index (always
// below the size of onBoard) when the ray is empty to the edge.
inline int firstOccupied(const posicion& board, int s, int d) {
    s += d;
    while (onBoard[s] && board.emptyFlag[s]) s += d;
    return s;
}

// 0 if no piece of side c attacks square s, else the type of the first
// attacker found: pawns, knights, bishops, rooks, queens, king.
int isAttacked(const posicion& board, int s, int c);

// The pieces of side c that attack square s: how many (2 stands for two
// or more), the square of one of them and whether that one slides.
struct Checkers {
    int count = 0;
    int square = 0;
    bool slider = false;
};
Checkers findCheckers(const posicion& board, int s, int c);

// After the move from -> to (a real square) of side, is the king, then on
// k, unattacked? The board's flags change during the test and are put
// back. An en-passant capture is judged right only when the caller has
// set the victim's emptyFlag beforehand.
int isMoveLegal(posicion& board, int from, int to, int k, int side);

// Undoes the flag simulation of isMoveLegal.
void restoreEmptyFlags(posicion& board, int from, int to);

// May side, not in check, play this pseudo-legal move (to may be a
// promotion code)? Only pins and king destinations can make it illegal.
int keepsKingSafe(posicion& board, int kingSq, int from, int to, int side);

// Right after makeMove by side c: non-zero when the king on kingSq is
// attacked (a pawn check may answer with the number of checking pawns).
int lastMoveGivesCheck(const posicion& board, int kingSq, int c);

// Before it is made: would the piece of this type going from -> to (a real
// square) attack the king on kingSq, directly or by discovery? Castling
// and the victim of an en-passant capture are not considered.
int moveGivesCheck(const posicion& board, int from, int to, int type, int kingSq);

// 1 when d is not 0 and the first piece from s along d is a slider of side
// c that moves along d.
int sliderOnRay(const posicion& board, int s, int c, int d);

// 1 when every square strictly between a and b is empty; a and b must
// share a line (queenDirection[a][b] not 0).
int isPathClear(const posicion& board, int a, int b);

}  // namespace zarvi
