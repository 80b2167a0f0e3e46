#include "board/makemove.h"

#include <cassert>

#include "board/consistency.h"

#include "board/tables.h"

namespace zarvi {

namespace {

// List operations; list[0] is the count. Additions append, a removal moves
// the last entry into the hole: the generators see pieces in this order.
inline void listAppend(int* list, int square) { list[++list[0]] = square; }

inline void listReplace(int* list, int from, int to) {
    for (int i = 1; i <= list[0]; ++i) {
        if (list[i] == from) {
            list[i] = to;
            return;
        }
    }
}

inline void listRemove(int* list, int square) {
    for (int i = 1; i <= list[0]; ++i) {
        if (list[i] == square) {
            list[i] = list[list[0]];
            --list[0];
            return;
        }
    }
}

inline int homeCorner(int side, int file) { return side * 70 + 10 + file; }

inline void loseLong(posicion& board, int side, int slot) {
    board.canCastleLong[side] = 0;
    board.undoLostLong[slot][side] = 1;
    board.toggleKey(side, castlingKeySquare, longCastlingSlot);
}

inline void loseShort(posicion& board, int side, int slot) {
    board.canCastleShort[side] = 0;
    board.undoLostShort[slot][side] = 1;
    board.toggleKey(side, castlingKeySquare, shortCastlingSlot);
}

// A rook leaving or lost on its corner takes its castling right with it.
inline void rookLeavesCorner(posicion& board, int side, int square, int slot) {
    if (board.canCastleLong[side] && square == homeCorner(side, 1))
        loseLong(board, side, slot);
    else if (board.canCastleShort[side] && square == homeCorner(side, 8))
        loseShort(board, side, slot);
}

inline void restoreRookRight(posicion& board, int side, int slot) {
    if (board.undoLostLong[slot][side]) {
        board.canCastleLong[side] = 1;
        board.toggleKey(side, castlingKeySquare, longCastlingSlot);
    } else if (board.undoLostShort[slot][side]) {
        board.canCastleShort[side] = 1;
        board.toggleKey(side, castlingKeySquare, shortCastlingSlot);
    }
}

inline void setEpSquare(posicion& board, int square) {
    board.epSquare = square;
    board.toggleKey(white, square, 0);
}

inline void clearEpSquare(posicion& board) {
    if (board.epSquare) {
        board.toggleKey(white, board.epSquare, 0);
        board.epSquare = 0;
    }
}

void playMove(posicion& board, int from, int to, int side) {
    const int step = pawnStep[side];
    const int opp = 1 - side;

    board.toggleSide();

    board.undoPly = board.undoPly >= undoWrap ? 0 : board.undoPly + 1;
    const int slot = board.undoPly;
    board.undoCaptured[slot] = 0;
    board.undoPromotionTo[slot] = 0;
    board.undoEpSquare[slot] = board.epSquare;
    board.undoLostLong[slot][0] = board.undoLostLong[slot][1] = 0;
    board.undoLostShort[slot][0] = board.undoLostShort[slot][1] = 0;
    board.undoHalfmove[slot] = board.halfmoveClock;

    clearEpSquare(board);

    board.movedType = typeOf(board.squares[from]);
    board.capturedType = 0;
    board.fullCheckTest = 0;
    board.toggleKey(side, from, board.movedType);

    if (board.movedType != pawn) {
        ++board.halfmoveClock;
    } else {
        board.halfmoveClock = 0;
        board.pawnAttacks[side][from + step - 1]--;
        board.pawnAttacks[side][from + step + 1]--;
        if (promotionRank[side][from]) {
            // The pawn turns into the new piece on its own square; the
            // piece's list entry then moves with it like any other piece.
            const int newType = to & 7;
            board.movedType = newType;
            board.material[side] -= materialValue[pawn];
            listRemove(board.pawnList[side], from);
            board.pawnsOnFile[side][fileOf(from)]--;
            board.squares[from] = pieceCode(side, newType);
            listAppend(board.pieceList(side, newType), from);
            board.material[side] += materialValue[newType];
            board.pieceUnits[side] += pieceUnitValue[newType];
            to = promotionDestination(from, to, side);
            board.undoPromotionTo[slot] = to;
        }
    }

    board.lastFrom = from;
    board.lastTo = to;
    board.emptyFlag[from] = 1;
    board.emptyFlag[to] = 0;
    board.toggleKey(side, to, board.movedType);

    switch (board.movedType) {
        case pawn:
            if (to - from == 2 * step && board.pawnAttacks[opp][from + step]) setEpSquare(board, to);
            board.pawnAttacks[side][to + step + 1]++;
            board.pawnAttacks[side][to + step - 1]++;
            listReplace(board.pawnList[side], from, to);
            if ((to - from) % 10 != 0) {
                board.pawnsOnFile[side][fileOf(from)]--;
                board.pawnsOnFile[side][fileOf(to)]++;
                if (board.squares[to] == 0) {
                    // En passant: the victim stands beside, not on the destination.
                    board.capturedType = pawn;
                    board.fullCheckTest = 1;
                    const int c = to - step;
                    board.squares[to] = board.squares[from];
                    board.squares[c] = 0;
                    board.squares[from] = 0;
                    board.material[opp] -= materialValue[pawn];
                    board.pawnsOnFile[opp][fileOf(to)]--;
                    board.pawnAttacks[opp][c - step - 1]--;
                    board.pawnAttacks[opp][c - step + 1]--;
                    board.emptyFlag[c] = 1;
                    board.toggleKey(opp, c, pawn);
                    listRemove(board.pawnList[opp], c);
                    return;
                }
            }
            break;
        case knight:
        case bishop:
        case queen:
            listReplace(board.pieceList(side, board.movedType), from, to);
            break;
        case rook:
            rookLeavesCorner(board, side, from, slot);
            listReplace(board.rookList[side], from, to);
            break;
        case king:
            if (board.canCastleLong[side]) loseLong(board, side, slot);
            if (board.canCastleShort[side]) loseShort(board, side, slot);
            board.kingSquare[side] = to;
            if (to == from + 2 || to == from - 2) {
                // Castling: the king's part here, the rook's part as a move of
                // its own in the next slot, which is then given back.
                board.halfmoveClock = 0;
                board.squares[to] = board.squares[from];
                board.squares[from] = 0;
                board.toggleSide();
                if (to == from + 2)
                    playMove(board, to + 1, from + 1, side);
                else
                    playMove(board, to - 2, to + 1, side);
                board.undoPly = board.undoPly == 0 ? undoWrap : board.undoPly - 1;
                return;
            }
            break;
        default:
            break;
    }

    if (board.squares[to] == 0) {
        board.squares[to] = board.squares[from];
        board.squares[from] = 0;
        return;
    }

    board.halfmoveClock = 0;
    const int victim = typeOf(board.squares[to]);
    board.capturedType = victim;
    board.undoCaptured[slot] = victim;
    board.material[opp] -= materialValue[victim];
    board.pieceUnits[opp] -= pieceUnitValue[victim];
    board.toggleKey(opp, to, victim);
    board.squares[to] = board.squares[from];
    board.squares[from] = 0;
    switch (victim) {
        case pawn:
            board.pawnsOnFile[opp][fileOf(to)]--;
            board.pawnAttacks[opp][to - step + 1]--;
            board.pawnAttacks[opp][to - step - 1]--;
            listRemove(board.pawnList[opp], to);
            break;
        case knight:
        case bishop:
        case queen:
            listRemove(board.pieceList(opp, victim), to);
            break;
        case rook:
            rookLeavesCorner(board, opp, to, slot);
            listRemove(board.rookList[opp], to);
            break;
        default:  // a king taken by a pseudo-legal search move has no list
            break;
    }
}

void takeBack(posicion& board, int to, int from, int side) {
    const int step = pawnStep[side];
    const int opp = 1 - side;
    const int slot = board.undoPly;
    auto stepBack = [&board] { board.undoPly = board.undoPly == 0 ? undoWrap : board.undoPly - 1; };

    board.halfmoveClock = board.undoHalfmove[slot];
    board.toggleSide();

    clearEpSquare(board);
    if (board.undoEpSquare[slot]) setEpSquare(board, board.undoEpSquare[slot]);

    const bool promotion = board.undoPromotionTo[slot] != 0;
    if (promotion) to = board.undoPromotionTo[slot];
    int type = typeOf(board.squares[to]);
    board.toggleKey(side, to, type);

    if (!promotion && type == pawn) {
        board.pawnAttacks[side][to + step - 1]--;
        board.pawnAttacks[side][to + step + 1]--;
    } else if (promotion) {
        board.material[side] += materialValue[pawn];
        listAppend(board.pawnList[side], from);
        board.pawnAttacks[side][from + step + 1]++;
        board.pawnAttacks[side][from + step - 1]++;
        board.pawnsOnFile[side][fileOf(from)]++;
        board.material[side] -= materialValue[type];
        board.pieceUnits[side] -= pieceUnitValue[type];
        listRemove(board.pieceList(side, type), to);
        type = pawn;
    }

    board.emptyFlag[to] = 1;
    board.emptyFlag[from] = 0;
    board.toggleKey(side, from, type);

    switch (promotion ? 0 : type) {
        case pawn:
            board.pawnAttacks[side][from + step + 1]++;
            board.pawnAttacks[side][from + step - 1]++;
            listReplace(board.pawnList[side], to, from);
            if ((to - from) % 10 != 0) {
                board.pawnsOnFile[side][fileOf(to)]--;
                board.pawnsOnFile[side][fileOf(from)]++;
                if (board.undoCaptured[slot] == 0) {
                    const int c = to - step;
                    board.squares[from] = board.squares[to];
                    board.squares[to] = 0;
                    board.squares[c] = pieceCode(opp, pawn);
                    board.material[opp] += materialValue[pawn];
                    board.pawnsOnFile[opp][fileOf(to)]++;
                    board.pawnAttacks[opp][c - step - 1]++;
                    board.pawnAttacks[opp][c - step + 1]++;
                    board.emptyFlag[c] = 0;
                    board.toggleKey(opp, c, pawn);
                    listAppend(board.pawnList[opp], c);
                    stepBack();
                    return;
                }
            }
            break;
        case knight:
        case bishop:
        case queen:
            listReplace(board.pieceList(side, type), to, from);
            break;
        case rook:
            restoreRookRight(board, side, slot);
            listReplace(board.rookList[side], to, from);
            break;
        case king:
            if (board.undoLostLong[slot][side]) {
                board.canCastleLong[side] = 1;
                board.toggleKey(side, castlingKeySquare, longCastlingSlot);
            }
            if (board.undoLostShort[slot][side]) {
                board.canCastleShort[side] = 1;
                board.toggleKey(side, castlingKeySquare, shortCastlingSlot);
            }
            board.kingSquare[side] = from;
            if (to == from + 2 || to == from - 2) {
                const int rookNow = to == from + 2 ? from + 1 : from - 1;
                const int rookHome = to == from + 2 ? to + 1 : to - 2;
                board.squares[from] = board.squares[to];
                board.squares[to] = 0;
                board.toggleKey(side, rookNow, rook);
                board.toggleKey(side, rookHome, rook);
                listReplace(board.rookList[side], rookNow, rookHome);
                board.squares[rookNow] = 0;
                board.squares[rookHome] = pieceCode(side, rook);
                board.emptyFlag[rookNow] = 1;
                board.emptyFlag[rookHome] = 0;
                stepBack();
                return;
            }
            break;
        default:
            break;
    }

    board.squares[from] = promotion ? pieceCode(side, pawn) : board.squares[to];

    const int victim = board.undoCaptured[slot];
    if (victim == 0) {
        board.squares[to] = 0;
    } else {
        board.emptyFlag[to] = 0;
        board.material[opp] += materialValue[victim];
        board.pieceUnits[opp] += pieceUnitValue[victim];
        board.toggleKey(opp, to, victim);
        board.squares[to] = pieceCode(opp, victim);
        switch (victim) {
            case pawn:
                board.pawnsOnFile[opp][fileOf(to)]++;
                board.pawnAttacks[opp][to - step + 1]++;
                board.pawnAttacks[opp][to - step - 1]++;
                listAppend(board.pawnList[opp], to);
                break;
            case knight:
            case bishop:
            case queen:
                listAppend(board.pieceList(opp, victim), to);
                break;
            case rook:
                restoreRookRight(board, opp, slot);
                listAppend(board.rookList[opp], to);
                break;
            default:
                break;
        }
    }
    stepBack();
}

}  // namespace

void makeMove(posicion& board, int from, int to, int side) {
    playMove(board, from, to, side);
    assert(findInconsistency(board, 1 - side).empty());
}

void unmakeMove(posicion& board, int to, int from, int side) {
    takeBack(board, to, from, side);
    assert(findInconsistency(board, side).empty());
}

}  // namespace zarvi
