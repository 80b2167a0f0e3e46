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

// The ray walk of isMoveLegal: is the first piece from k along d, other
// than the mover on its destination, an enemy that attacks along d?
// attacks[piece code] says which codes do.
inline bool rayAttacked(const posicion& board, int k, int d, int to, int side, const int* attacks) {
    const int s = firstOccupied(board, k, d);
    if (!onBoard[s] || s == to) return false;
    const int piece = board.squares[s];
    return sideOf(piece) != side && attacks[piece];
}

// Rooks and queens of either colour: code & 6 == 4.
constexpr int lineSlider[16] = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0};

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

Checkers findCheckers(const posicion& board, int s, int c) {
    Checkers found;
    auto add = [&found](int square, bool slider) {
        ++found.count;
        found.square = square;
        found.slider = slider;
    };
    if (board.pawnAttacks[c][s]) {
        const int code = pieceCode(c, pawn);
        const int first = c == white ? s - 11 : s + 9;
        for (int a = first; a <= first + 2; a += 2)
            if (board.squares[a] == code) add(a, false);
    }
    const int* list = board.knightList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (knightJump[list[i]][s]) add(list[i], false);
    list = board.bishopList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, bishopDirection)) add(list[i], true);
    list = board.rookList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, rookDirection)) add(list[i], true);
    list = board.queenList[c];
    for (int i = 1; i <= list[0]; ++i)
        if (slidesTo(board, list[i], s, queenDirection)) add(list[i], true);
    if (found.count > 2) found.count = 2;
    return found;
}

void restoreEmptyFlags(posicion& board, int from, int to) {
    board.emptyFlag[to] = board.savedEmptyFlag;
    board.emptyFlag[from] = 0;
}

int isMoveLegal(posicion& board, int from, int to, int k, int side) {
    const int opp = 1 - side;

    // In check, a non-king move must land on the checker's line or on a
    // knight square of the king, unless it is an en-passant capture.
    // Both tables are symmetric; reading them along the row of k keeps
    // to one row of each for all the moves of a node.
    if (board.evasionMode == 1 && lineOrKnight[k][to] == 0 && board.epSquare == 0) return 0;

    const int* knights = board.knightList[opp];
    const int* jumpsToKing = knightJump[k];
    for (int i = 1; i <= knights[0]; ++i)
        if (jumpsToKing[knights[i]] && knights[i] != to) return 0;

    if (kingAdjacent[k][board.kingSquare[opp]]) return 0;

    // The move on the flags only: the squares keep their pieces.
    board.emptyFlag[from] = 1;
    board.savedEmptyFlag = board.emptyFlag[to];
    board.emptyFlag[to] = 0;

    if (rayAttacked(board, k, 1, to, side, lineSlider) || rayAttacked(board, k, -1, to, side, lineSlider) ||
        rayAttacked(board, k, -10, to, side, lineSlider) || rayAttacked(board, k, 10, to, side, lineSlider) ||
        rayAttacked(board, k, 11, to, side, diagonalSlider.data()) ||
        rayAttacked(board, k, 9, to, side, diagonalSlider.data()) ||
        rayAttacked(board, k, -11, to, side, diagonalSlider.data()) ||
        rayAttacked(board, k, -9, to, side, diagonalSlider.data())) {
        restoreEmptyFlags(board, from, to);
        return 0;
    }

    if (board.pawnAttacks[opp][k]) {
        // The enemy pawns that attack k can stand on a and a + 2 only.
        const int code = pieceCode(opp, pawn);
        const int first = side == black ? k - 11 : k + 9;
        for (int a = first; a <= first + 2; a += 2) {
            if (to == a || board.squares[a] != code) continue;
            const bool takenEnPassant = to == a + pawnStep[side] &&
                                        board.squares[from] == pieceCode(side, pawn) && a == board.epSquare;
            if (!takenEnPassant) {
                restoreEmptyFlags(board, from, to);
                return 0;
            }
        }
    }

    restoreEmptyFlags(board, from, to);
    return 1;
}

int keepsKingSafe(posicion& board, int kingSq, int from, int to, int side) {
    const int opp = 1 - side;

    // The king still stands on from: sound, since it is not in check.
    if (from == kingSq) return isAttacked(board, to, opp) == 0;

    const int piece = board.squares[from];
    // Without an en-passant square, pawnStep + epSquare is 10, which is
    // also white's straight knight promotion code, not a capture.
    if (typeOf(piece) == pawn && board.epSquare != 0 && to == pawnStep[side] + board.epSquare) {
        board.emptyFlag[board.epSquare] = 1;
        board.evasionMode = 0;
        const int r = isMoveLegal(board, from, to, kingSq, side);
        board.emptyFlag[board.epSquare] = 0;
        board.evasionMode = 1;
        return r;
    }

    const int d = queenDirection[kingSq][from];
    if (d == 0) return 1;

    if (typeOf(piece) == pawn && promotionRank[side][from]) to = promotionDestination(from, to, side);
    if (queenDirection[kingSq][to] == d) return 1;

    for (int s = kingSq + d; onBoard[s]; s += d) {
        if (s == from || board.emptyFlag[s]) continue;
        const int blocker = board.squares[s];
        if (sideOf(blocker) == side) return 1;
        return slidesAlong[blocker][d + 11] ? 0 : 1;
    }
    return 1;
}

int lastMoveGivesCheck(const posicion& board, int kingSq, int c) {
    if (board.fullCheckTest) return isAttacked(board, kingSq, c) != 0;

    // Discovered through the square the piece left.
    int d = queenDirection[kingSq][board.lastFrom];
    if (d != 0) {
        const int s = firstOccupied(board, kingSq, d);
        if (onBoard[s]) {
            const int piece = board.squares[s];
            if (sideOf(piece) == c && slidesAlong[piece][d + 11]) return 1;
        }
    }

    switch (board.movedType) {
        case pawn: return board.pawnAttacks[c][kingSq];
        case knight: return knightJump[kingSq][board.lastTo];
        case king: return 0;
        default:
            // The type doubles as a white piece code: slidesAlong answers
            // the same for both colours.
            d = queenDirection[kingSq][board.lastTo];
            if (d == 0 || slidesAlong[board.movedType][d + 11] == 0) return 0;
            return firstOccupied(board, kingSq, d) == board.lastTo;
    }
}

int moveGivesCheck(const posicion& board, int from, int to, int type, int kingSq) {
    const SquareTable* line = nullptr;
    switch (type) {
        case pawn:
            if (board.squares[kingSq] == pieceCode(white, king)) {
                if (to - kingSq == 9 || to - kingSq == 11) return 1;
            } else if (kingSq - to == 9 || kingSq - to == 11) {
                return 1;
            }
            break;
        case knight:
            if (knightJump[to][kingSq]) return 1;
            break;
        case bishop: line = &bishopDirection; break;
        case rook: line = &rookDirection; break;
        case queen: line = &queenDirection; break;
        default: break;
    }
    // The from-square still counts as occupied: a slider moving away from
    // the king along the line it would attack never newly gives check.
    if (line != nullptr) {
        const int d = (*line)[to][kingSq];
        if (d != 0) {
            int s = to + d;
            while (s != kingSq && board.emptyFlag[s]) s += d;
            if (s == kingSq) return 1;
        }
    }

    const int d = queenDirection[kingSq][from];
    if (d != 0 && d != queenDirection[kingSq][to]) {
        const int moverSide = sideOf(board.squares[from]);
        for (int s = kingSq + d; onBoard[s]; s += d) {
            if (s == from || board.emptyFlag[s]) continue;
            const int piece = board.squares[s];
            if (sideOf(piece) != moverSide) return 0;
            return slidesAlong[piece][d + 11];
        }
    }
    return 0;
}

int sliderOnRay(const posicion& board, int s, int c, int d) {
    if (d == 0) return 0;
    s = firstOccupied(board, s, d);
    if (!onBoard[s]) return 0;
    const int piece = board.squares[s];
    return sideOf(piece) == c && slidesAlong[piece][d + 11] ? 1 : 0;
}

int isPathClear(const posicion& board, int a, int b) {
    const int d = queenDirection[a][b];
    for (int s = a + d; s != b; s += d)
        if (!board.emptyFlag[s]) return 0;
    return 1;
}

}  // namespace zarvi
