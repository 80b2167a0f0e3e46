#include "eval/movegen.h"

#include "board/attacks.h"
#include "board/tables.h"
#include "eval/capturegain.h"
#include "eval/evaltables.h"

namespace zarvi {

namespace {

// One ply's list being written; a move that does not fit is left out, so
// a crowded position loses its last moves instead of overrunning memory.
struct MoveList {
    int* from;
    int* to;
    int* kind;
    int capacity;
    int count = 0;

    void add(int f, int t, int k) {
        if (count == capacity) return;
        from[count] = f;
        to[count] = t;
        kind[count] = k;
        ++count;
    }
};

struct LegalList {
    int* from;
    int* to;
    int count = 0;

    void add(int f, int t) {
        if (count == fullListCapacity) return;
        from[count] = f;
        to[count] = t;
        ++count;
    }
};

struct GainList {
    int* gain;
    int count = 0;

    void add(int g) {
        if (count == fullListCapacity) return;
        gain[count++] = g;
    }
};

// A row of knightTargets or kingTargets ends at 8 entries or at a 0.
template <typename Visit>
inline void forEachTarget(const int* row, Visit visit) {
    for (int j = 0; j < 8 && row[j] != 0; ++j) visit(row[j]);
}

// Each piece of the list along each direction: visit(from, to) for every
// square up to and including the first occupied one.
template <int N, typename Visit>
inline void forEachRaySquare(const int* list, const int (&directions)[N], const posicion& board, Visit visit) {
    for (int i = 1; i <= list[0]; ++i) {
        const int from = list[i];
        for (int d : directions) {
            for (int s = from + d; onBoard[s]; s += d) {
                visit(from, s);
                if (!board.emptyFlag[s]) break;
            }
        }
    }
}

// Each piece of the list along each direction: visit(from, s) for the
// first occupied square s; the empty ones before it cannot be captures.
template <int N, typename Visit>
inline void forEachRayEnd(const int* list, const int (&directions)[N], const posicion& board, Visit visit) {
    for (int i = 1; i <= list[0]; ++i) {
        const int from = list[i];
        for (int d : directions) {
            const int s = firstOccupied(board, from, d);
            if (onBoard[s]) visit(from, s);
        }
    }
}

inline int secondRank(int side) { return side == white ? 2 : 7; }

// The three destinations of a pawn on its seventh rank, as promotion
// direction 0 (lower file), 1 (straight), 2 (higher file).
constexpr int lowerFile = 0;
constexpr int straight = 1;
constexpr int higherFile = 2;

// Promotion pieces in the order the legal lists carry them.
constexpr int promotionOrder[4] = {queen, rook, bishop, knight};

}  // namespace

int generateCaptures(MoveLists& lists, const posicion& board, int side, int ply) {
    MoveList list{lists.captureFrom[ply], lists.captureTo[ply], lists.kind[ply], captureListCapacity};
    const int* enemy = pieceOfSide[1 - side].data();
    const int step = pawnStep[side];
    const int ep = board.epSquare;

    const int* pawns = board.pawnList[side];
    for (int i = 1; i <= pawns[0]; ++i) {
        const int p = pawns[i];
        const int ahead = p + step;
        const int file = fileOf(p);
        if (promotionRank[side][p]) {
            if (board.emptyFlag[ahead]) {
                list.add(p, promotionCode(straight, queen), pawn);
                list.add(p, promotionCode(straight, knight), pawn);
            }
            if (file != 1 && enemy[board.squares[ahead - 1]]) {
                list.add(p, promotionCode(lowerFile, queen), pawn);
                list.add(p, promotionCode(lowerFile, knight), pawn);
            }
            if (file != 8 && enemy[board.squares[ahead + 1]]) {
                list.add(p, promotionCode(higherFile, queen), pawn);
                list.add(p, promotionCode(higherFile, knight), pawn);
            }
        } else {
            // En passant onto the empty square behind a pawn standing beside.
            if (file != 1 && (enemy[board.squares[ahead - 1]] || p == ep + 1)) list.add(p, ahead - 1, pawn);
            if (file != 8 && (enemy[board.squares[ahead + 1]] || p == ep - 1)) list.add(p, ahead + 1, pawn);
        }
    }

    const int* knights = board.knightList[side];
    for (int i = 1; i <= knights[0]; ++i) {
        const int n = knights[i];
        forEachTarget(knightTargets[n].data(), [&](int t) {
            if (enemy[board.squares[t]]) list.add(n, t, knight);
        });
    }

    auto captures = [&](int type) {
        return [&list, &board, enemy, type](int from, int s) {
            if (enemy[board.squares[s]]) list.add(from, s, type);
        };
    };
    forEachRayEnd(board.bishopList[side], bishopDirections, board, captures(bishop));
    forEachRayEnd(board.rookList[side], rookDirections, board, captures(rook));
    forEachRayEnd(board.queenList[side], queenDirections, board, captures(queen));

    const int k = board.kingSquare[side];
    forEachTarget(kingTargets[k], [&](int t) {
        if (enemy[board.squares[t]]) list.add(k, t, king);
    });
    return list.count;
}

int generateQuietMoves(MoveLists& lists, const posicion& board, int side, int ply) {
    MoveList list{lists.fullFrom[ply], lists.fullTo[ply], lists.kind[ply], fullListCapacity};
    const int opp = 1 - side;
    const int* empty = board.emptyFlag;
    const int k = board.kingSquare[side];

    // Only the crossed square is tested here; the search tests the
    // destination before it makes the move.
    if (board.canCastleShort[side] && empty[k + 1] && empty[k + 2] && !isAttacked(board, k + 1, opp))
        list.add(k, k + 2, king);
    if (board.canCastleLong[side] && empty[k - 1] && empty[k - 2] && empty[k - 3] && !isAttacked(board, k - 1, opp))
        list.add(k, k - 2, king);

    const int* knights = board.knightList[side];
    for (int i = 1; i <= knights[0]; ++i) {
        const int n = knights[i];
        forEachTarget(knightTargets[n].data(), [&](int t) {
            if (empty[t]) list.add(n, t, knight);
        });
    }

    auto quiet = [&](int type) {
        return [&list, empty, type](int from, int s) {
            if (empty[s]) list.add(from, s, type);
        };
    };
    forEachRaySquare(board.bishopList[side], bishopDirections, board, quiet(bishop));
    forEachRaySquare(board.rookList[side], rookDirections, board, quiet(rook));
    forEachRaySquare(board.queenList[side], queenDirections, board, quiet(queen));

    const int step = pawnStep[side];
    const int* pawns = board.pawnList[side];
    for (int i = 1; i <= pawns[0]; ++i) {
        const int p = pawns[i];
        if (promotionRank[side][p] || !empty[p + step]) continue;
        list.add(p, p + step, pawn);
        if (rankOf(p) == secondRank(side) && empty[p + 2 * step]) list.add(p, p + 2 * step, pawn);
    }

    forEachTarget(kingTargets[k], [&](int t) {
        if (empty[t]) list.add(k, t, king);
    });
    return list.count;
}

int generateQuietChecks(MoveLists& lists, const posicion& board, int side, int ply) {
    MoveList list{lists.fullFrom[ply], lists.fullTo[ply], lists.kind[ply], fullListCapacity};
    const int opp = 1 - side;
    const int* empty = board.emptyFlag;
    const int* enemy = pieceOfSide[opp].data();
    const int target = board.kingSquare[opp];

    const int* knights = board.knightList[side];
    for (int i = 1; i <= knights[0]; ++i) {
        const int n = knights[i];
        forEachTarget(knightTargets[n].data(), [&](int t) {
            if (empty[t] && knightJump[t][target]) list.add(n, t, knight);
        });
    }

    auto checks = [&](int type, const SquareTable& line) {
        return [&list, &board, &line, empty, target, type](int from, int s) {
            if (empty[s] && line[s][target] && isPathClear(board, s, target)) list.add(from, s, type);
        };
    };
    forEachRaySquare(board.bishopList[side], bishopDirections, board, checks(bishop, bishopDirection));
    forEachRaySquare(board.rookList[side], rookDirections, board, checks(rook, rookDirection));
    forEachRaySquare(board.queenList[side], queenDirections, board, checks(queen, queenDirection));

    // Pawn advances to a square no enemy pawn guards, that promote next or
    // attack a piece.
    const int step = pawnStep[side];
    const int* pawns = board.pawnList[side];
    for (int i = 1; i <= pawns[0]; ++i) {
        const int p = pawns[i];
        const int t = p + step;
        if (promotionRank[side][p] || !empty[t] || board.pawnAttacks[opp][t]) continue;
        if (promotionRank[side][t] || enemy[board.squares[t + step - 1]] || enemy[board.squares[t + step + 1]]) {
            list.add(p, t, pawn);
        } else if (rankOf(p) == secondRank(side)) {
            const int u = t + step;
            if (empty[u] && !board.pawnAttacks[opp][u] &&
                (enemy[board.squares[u + step - 1]] || enemy[board.squares[u + step + 1]]))
                list.add(p, u, pawn);
        }
    }
    return list.count;
}

int generateLegalMoves(MoveLists& lists, posicion& board, int side, int ply) {
    LegalList list{lists.fullFrom[ply], lists.fullTo[ply]};
    const int opp = 1 - side;
    const int* enemy = pieceOfSide[opp].data();
    const int* own = pieceOfSide[side].data();
    const int k = board.kingSquare[side];
    const int step = pawnStep[side];
    const int ep = board.epSquare;

    // In check, a move other than the king's is legal when it stops the
    // one check (takes the checker or steps between it and the king) and
    // uncovers no other: cheaper than walking every line from the king for
    // every move. Promotions and en passant keep the full test.
    const Checkers checks = board.evasionMode ? findCheckers(board, k, opp) : Checkers{};
    auto stopsCheck = [&](int to) {
        if (to == checks.square) return true;
        if (!checks.slider) return false;
        const int d = queenDirection[k][checks.square];
        return queenDirection[k][to] == d && distance[k][to] < distance[k][checks.square];
    };
    auto legal = [&](int from, int to) {
        if (checks.count == 0 || (board.squares[from] == pieceCode(side, pawn) && promotionRank[side][from]))
            return isMoveLegal(board, from, to, k, side);
        return checks.count == 1 && stopsCheck(to) ? keepsKingSafe(board, k, from, to, side) : 0;
    };
    // The victim of an en-passant capture is hidden from the legality test.
    auto enPassantLegal = [&](int from, int to) {
        board.emptyFlag[ep] = 1;
        const int r = isMoveLegal(board, from, to, k, side);
        board.emptyFlag[ep] = 0;
        return r;
    };
    auto promotions = [&](int from, int direction) {
        for (int type : promotionOrder) list.add(from, promotionCode(direction, type));
    };
    // A diagonal step: a capture, or en passant beside the pawn just pushed.
    auto capture = [&](int from, int to, bool besideEnPassantPawn) {
        if (enemy[board.squares[to]]) {
            if (legal(from, to)) list.add(from, to);
        } else if (besideEnPassantPawn && enPassantLegal(from, to)) {
            list.add(from, to);
        }
    };

    const int* pawns = board.pawnList[side];
    for (int i = 1; i <= pawns[0]; ++i) {
        const int p = pawns[i];
        const int ahead = p + step;
        const int file = fileOf(p);
        if (promotionRank[side][p]) {
            if (board.emptyFlag[ahead] && legal(p, ahead)) promotions(p, straight);
            if (file != 1 && enemy[board.squares[ahead - 1]] && legal(p, ahead - 1)) promotions(p, lowerFile);
            if (file != 8 && enemy[board.squares[ahead + 1]] && legal(p, ahead + 1)) promotions(p, higherFile);
            continue;
        }
        if (file != 1) capture(p, ahead - 1, p == ep + 1);
        if (file != 8) capture(p, ahead + 1, p == ep - 1);
        if (board.emptyFlag[ahead]) {
            if (legal(p, ahead)) list.add(p, ahead);
            if (rankOf(p) == secondRank(side) && board.emptyFlag[ahead + step] && legal(p, ahead + step))
                list.add(p, ahead + step);
        }
    }

    const int* knights = board.knightList[side];
    for (int i = 1; i <= knights[0]; ++i) {
        const int n = knights[i];
        forEachTarget(knightTargets[n].data(), [&](int t) {
            if (!own[board.squares[t]] && legal(n, t)) list.add(n, t);
        });
    }

    auto moves = [&](int from, int s) {
        if (!own[board.squares[s]] && legal(from, s)) list.add(from, s);
    };
    forEachRaySquare(board.bishopList[side], bishopDirections, board, moves);
    forEachRaySquare(board.rookList[side], rookDirections, board, moves);
    forEachRaySquare(board.queenList[side], queenDirections, board, moves);

    if (board.evasionMode == 0) {
        const int* empty = board.emptyFlag;
        if (board.canCastleShort[side] && empty[k + 1] && empty[k + 2] && !isAttacked(board, k + 1, opp) &&
            !isAttacked(board, k + 2, opp))
            list.add(k, k + 2);
        if (board.canCastleLong[side] && empty[k - 1] && empty[k - 2] && empty[k - 3] &&
            !isAttacked(board, k - 1, opp) && !isAttacked(board, k - 2, opp))
            list.add(k, k - 2);
    }

    forEachTarget(kingTargets[k], [&](int t) {
        if (!own[board.squares[t]] && isMoveLegal(board, k, t, t, side)) list.add(k, t);
    });
    return list.count;
}

int collectCaptureGains(MoveLists& lists, posicion& board, int side) {
    GainList list{lists.captureGains};
    const int opp = 1 - side;
    const int* enemy = pieceOfSide[opp].data();
    const int k = board.kingSquare[side];
    const int step = pawnStep[side];
    const int ep = board.epSquare;

    auto legal = [&](int from, int to) { return isMoveLegal(board, from, to, k, side); };

    const int* knights = board.knightList[side];
    for (int i = 1; i <= knights[0]; ++i) {
        const int n = knights[i];
        forEachTarget(knightTargets[n].data(), [&](int t) {
            if (enemy[board.squares[t]] && legal(n, t)) list.add(knightCaptureGain(board, t, side));
        });
    }

    auto promotions = [&](int from, int direction) {
        for (int type : promotionOrder) list.add(pawnMoveGain(board, from, promotionCode(direction, type), side));
    };
    // The flag hides the victim during the legality test only: the gain
    // looks at the position before the capture.
    auto enPassantLegal = [&](int from, int to) {
        board.emptyFlag[ep] = 1;
        const int r = isMoveLegal(board, from, to, k, side);
        board.emptyFlag[ep] = 0;
        return r;
    };
    auto capture = [&](int from, int to, bool besideEnPassantPawn) {
        if (enemy[board.squares[to]]) {
            if (legal(from, to)) list.add(pawnMoveGain(board, from, to, side));
        } else if (besideEnPassantPawn && enPassantLegal(from, to)) {
            list.add(pawnMoveGain(board, from, to, side));
        }
    };
    const int* pawns = board.pawnList[side];
    for (int i = 1; i <= pawns[0]; ++i) {
        const int p = pawns[i];
        const int ahead = p + step;
        const int file = fileOf(p);
        if (promotionRank[side][p]) {
            if (board.emptyFlag[ahead] && legal(p, ahead)) promotions(p, straight);
            if (file != 1 && enemy[board.squares[ahead - 1]] && legal(p, ahead - 1)) promotions(p, lowerFile);
            if (file != 8 && enemy[board.squares[ahead + 1]] && legal(p, ahead + 1)) promotions(p, higherFile);
            continue;
        }
        if (file != 1) capture(p, ahead - 1, p == ep + 1);
        if (file != 8) capture(p, ahead + 1, p == ep - 1);
    }

    auto captures = [&](int (*gain)(const posicion&, int, int)) {
        return [&list, &board, &legal, enemy, side, gain](int from, int s) {
            if (enemy[board.squares[s]] && legal(from, s)) list.add(gain(board, s, side));
        };
    };
    forEachRayEnd(board.bishopList[side], bishopDirections, board, captures(bishopCaptureGain));
    forEachRayEnd(board.rookList[side], rookDirections, board, captures(rookCaptureGain));
    forEachRayEnd(board.queenList[side], queenDirections, board, captures(queenCaptureGain));

    forEachTarget(kingTargets[k], [&](int t) {
        if (enemy[board.squares[t]] && isMoveLegal(board, k, t, t, side)) list.add(materialValue[board.squares[t]]);
    });
    return list.count;
}

}  // namespace zarvi
