#include "board/attacks.h"

#include "board/tables.h"

namespace zarvi {

namespace {

// Does the slider on from reach s along its line, with nothing between?
inline bool slidesTo(const posicion& board, int from, int s, const SquareTable& direction) {
    const int d = direction[from][s];
    if (d == 0) return false;
    int x = from + d;
    while (x != s) {
        if (!board.emptyFlag[x]) return false;
        x += d;
    }
    return true;
}

}  // namespace

int isAttacked(const posicion& board, int s, int c) {
    if (board.pawnAttacks[c][s]) return pawn;
    const int* list = board.knightList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (knightJump[list[i]][s]) return knight;
    list = board.bishopList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, bishopDirection)) return bishop;
    list = board.rookList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, rookDirection)) return rook;
    list = board.queenList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, queenDirection)) return queen;
    if (kingAdjacent[board.kingSquare[c]][s]) return king;
    return 0;
}

}  // namespace zarvi
