#include "search/perft.h"

#include "board/attacks.h"
#include "board/makemove.h"
#include "eval/movegen.h"

namespace zarvi {

namespace {

inline int rootInCheck(const posicion& board, int side) {
    return isAttacked(board, board.kingSquare[side], 1 - side) != 0 ? 1 : 0;
}

// depth >= 1. The last ply is counted without making its moves.
uint64_t countLeaves(buscador& searcher, posicion& board, int side, int depth, int ply, int inCheck) {
    const int n = listLegalMoves(searcher, board, side, ply, inCheck);
    if (depth == 1) return uint64_t(n);
    const int* from = searcher.fullFrom[ply];
    const int* to = searcher.fullTo[ply];
    uint64_t leaves = 0;
    for (int i = 0; i < n; ++i) {
        makeMove(board, from[i], to[i], side);
        const int check = lastMoveGivesCheck(board, board.kingSquare[1 - side], side) != 0 ? 1 : 0;
        leaves += countLeaves(searcher, board, 1 - side, depth - 1, ply + 1, check);
        unmakeMove(board, to[i], from[i], side);
    }
    return leaves;
}

}  // namespace

uint64_t perft(buscador& searcher, posicion& board, int side, int depth) {
    if (depth == 0) return 1;
    board.undoPly = 0;
    return countLeaves(searcher, board, side, depth, 0, rootInCheck(board, side));
}

int perftDivide(buscador& searcher, posicion& board, int side, int depth, uint64_t leaves[fullListCapacity]) {
    board.undoPly = 0;
    const int n = listLegalMoves(searcher, board, side, 0, rootInCheck(board, side));
    const int* from = searcher.fullFrom[0];
    const int* to = searcher.fullTo[0];
    for (int i = 0; i < n; ++i) {
        if (depth == 1) {
            leaves[i] = 1;
            continue;
        }
        makeMove(board, from[i], to[i], side);
        const int check = lastMoveGivesCheck(board, board.kingSquare[1 - side], side) != 0 ? 1 : 0;
        leaves[i] = countLeaves(searcher, board, 1 - side, depth - 1, 1, check);
        unmakeMove(board, to[i], from[i], side);
    }
    return n;
}

}  // namespace zarvi
