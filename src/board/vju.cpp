#include "board/vju.h"

#include <cstdlib>

#include "board/attacks.h"
#include "board/tables.h"

namespace zarvi {

namespace {

// Every square strictly between the two, read from the board array.
bool emptyBetween(const posicion& board, int from, int to, int step) {
    const int low = from < to ? from : to, high = from < to ? to : from;
    for (int s = low + step; s < high; s += step)
        if (board.squares[s] != 0) return false;
    return true;
}

int pawnRules(vju& checker, posicion& board, int from, int to, int side) {
    const int forward = pawnStep[side];
    const int dist = std::abs(from - to);
    if (side == white ? to < from : to > from) return 0;
    const int startRank = side == white ? 2 : 7;
    const int lastRankBefore = side == white ? 7 : 2;
    const int k = board.kingSquare[side];

    if (fileOf(from) == fileOf(to)) {
        const int ranks = std::abs(rankOf(to) - rankOf(from));
        if (ranks >= 3 || board.squares[from + forward] != 0) return 0;
        if (ranks == 2 && (rankOf(from) != startRank || board.squares[to] != 0)) return 0;
    } else if (dist == 9 || dist == 11) {
        if (board.squares[to] == 0 && (board.epSquare == 0 || to != board.epSquare + forward)) return 0;
    } else {
        return 0;
    }
    if (!isMoveLegal(board, from, to, k, side)) return 0;
    if (rankOf(from) == lastRankBefore) checker.promotion = 1;
    return 1;
}

// The king's square, the square it crosses and its destination must all
// be safe; tested in that order of the calls, stopping at the first 0.
int castlingRules(posicion& board, int from, int step, int side) {
    return isMoveLegal(board, from, from + step, from + step, side) &&
           isMoveLegal(board, from, from + 2 * step, from + 2 * step, side) &&
           isMoveLegal(board, from, from, from, side);
}

int kingRules(posicion& board, int from, int to, int side) {
    const int k = board.kingSquare[side];
    if (to == from + 2 && board.canCastleShort[side] == 1) {
        if (board.squares[k + 1] != 0 || board.squares[k + 2] != 0) return 0;
        return castlingRules(board, from, 1, side);
    }
    if (to == from - 2 && board.canCastleLong[side] == 1) {
        if (board.squares[k - 1] != 0 || board.squares[k - 2] != 0 || board.squares[k - 3] != 0) return 0;
        return castlingRules(board, from, -1, side);
    }
    const int dist = std::abs(k - to);
    if (dist != 1 && dist != 10 && dist != 11 && dist != 9) return 0;
    return isMoveLegal(board, from, to, to, side);
}

// Diagonal moves: the distance fixes the step, the square's file and rank
// show whether the diagonal stays on the board for that many steps.
int diagonalRules(posicion& board, int from, int to, int side) {
    const int dist = std::abs(from - to);
    const int file = fileOf(from), rank = rankOf(from);
    const bool up = from < to;
    int step;
    if (dist % 11 == 0) {
        const int n = dist / 11;
        if (up ? !(file <= 8 - n && rank <= 8 - n) : !(file > n && rank > n)) return 0;
        step = 11;
    } else if (dist % 9 == 0) {
        const int n = dist / 9;
        if (up ? !(file > n && rank <= 8 - n) : !(file <= 8 - n && rank > n)) return 0;
        step = 9;
    } else {
        return 0;
    }
    if (!emptyBetween(board, from, to, step)) return 0;
    return isMoveLegal(board, from, to, board.kingSquare[side], side);
}

}  // namespace

int checkUserMoveRules(vju& checker, posicion& board, int from, int to, int side) {
    const int piece = board.squares[from];
    const int type = typeOf(piece);
    const int dist = std::abs(from - to);
    if (type == 0 || sideOf(piece) != side || dist == 0) return 0;
    if (board.squares[to] != 0 && sideOf(board.squares[to]) == side) return 0;

    const int k = board.kingSquare[side];
    switch (type) {
        case knight:
            if (dist != 12 && dist != 21 && dist != 19 && dist != 8) return 0;
            return isMoveLegal(board, from, to, k, side);
        case pawn: return pawnRules(checker, board, from, to, side);
        case king: return kingRules(board, from, to, side);
        case bishop: return diagonalRules(board, from, to, side);
        default:  // rook or queen
            if (rankOf(from) == rankOf(to) || fileOf(from) == fileOf(to)) {
                const int step = rankOf(from) == rankOf(to) ? 1 : 10;
                if (!emptyBetween(board, from, to, step)) return 0;
                return isMoveLegal(board, from, to, k, side);
            }
            if (type == rook) return 0;
            return diagonalRules(board, from, to, side);
    }
}

int checkUserMove(vju& checker, posicion& board, int from, int to, int side) {
    // An en-passant victim is hidden from the legality test's ray walks.
    const bool enPassant = board.epSquare != 0 && board.squares[from] == pieceCode(side, pawn) &&
                           to == pawnStep[side] + board.epSquare;
    if (enPassant) board.emptyFlag[board.epSquare] = 1;
    board.evasionMode = 0;
    const int r = checkUserMoveRules(checker, board, from, to, side);
    board.evasionMode = 1;
    if (enPassant) board.emptyFlag[board.epSquare] = 0;
    return r;
}

}  // namespace zarvi
