// The piece terms of the evaluation: what our knights, bishops, rooks and
// queens earn where they stand and along their lines, what the opponent's
// badly placed minor pieces give us, and the threats, pins and x-rays our
// pieces create. Called by collectTerms in its fixed order.
#include <algorithm>
#include <cstdlib>

#include "eval/evalcontext.h"
#include "eval/evaltables.h"

namespace zarvi {

namespace {

// The e-file pin needs this much force of ours behind it.
constexpr int eFilePinUnits = 20;
constexpr int knightSafetyUnits = 8;
constexpr int knightKingUnits = 16;
constexpr int rookOpenFileUnits = 15;
constexpr int rookWingUnits = 19;
// A bishop shut in on a7 or h7 by pawns is as good as lost.
constexpr int trappedBishopBonus = 455;
// A piece pinned to its queen or king next to our rook in the corner.
constexpr int cornerPinBonus = 250;

bool isEnemy(const EvalContext& c, int piece) { return piece != 0 && sideOf(piece) == c.o; }


// A knight no enemy pawn can chase away: nothing from n forward on its
// file, within ranks 2 to 7, is attacked by an enemy pawn.
bool knightSafe(const EvalContext& c, int n) { return (innerFileAhead[c.s][n] & c.attacks[c.o]) == 0; }

// An enemy pawn worth attacking: not defended by a pawn now, nor after it
// is pushed.
bool loosePawn(const EvalContext& c, int x) {
    return !pawnAttacked(c, c.o, x) && !pawnAttacked(c, c.o, x - c.step);
}

// The pieces a knight's destinations can hold that count: their rooks,
// queens and king, their bishops, and our knights.
struct KnightTargetSets {
    SquareSet theirMajors;
    SquareSet theirBishops;
    SquareSet ourKnights;
};

// Each destination by what stands there, taken from the sets: the empty
// squares and the pieces that give nothing are never looked at.
void addKnightTargets(EvalContext& c, int n, const KnightTargetSets& on) {
    const SquareSet targets = knightTargetSquares[n];
    int threat = 25 * countSquares(targets & on.theirMajors);
    for (SquareSet set = targets & on.theirBishops; set; set &= set - 1)
        threat += pawnAttacked(c, c.o, lowestSquare(set)) ? 15 : 25;
    for (SquareSet set = targets & c.pawns[c.o]; set; set &= set - 1) {
        const int x = lowestSquare(set);
        if (loosePawn(c, x)) threat += pawnAttacked(c, c.o, x + c.step) ? 9 : 20;
    }
    c.t.threatTerm += threat;
    c.t.knightTerm += 6 * countSquares(targets & on.ourKnights & centreSquares);
}

void addRookFileBonus(EvalContext& c, int r, int f, int p, int q) {
    if (p > 0) {
        if (q == 0 && p == 1) c.t.rookTerm += 6;
        return;
    }
    const int u = c.ownUnits;
    const bool farFromKing = std::abs(f - c.kf) > 1;
    const bool bothOnOneEdge = (f >= 7 && c.kf >= 7) || (f <= 2 && c.kf <= 2);
    const bool kingWing = inSet(c.theirKingWing, r);
    if (q > 0) {
        c.t.rookTerm += 17;
        if (u >= rookOpenFileUnits && kingWing)
            c.t.kingAttackTerm += farFromKing ? u - u / 3 : bothOnOneEdge ? u + u / 3 : u;
    } else {
        c.t.rookTerm += 34;
        if (u >= rookOpenFileUnits) {
            if (farFromKing) {
                if (f != 4 && f != 5 && kingWing) c.t.kingAttackTerm += u;
            } else {
                c.t.kingAttackTerm += bothOnOneEdge ? 2 * u : u + u / 3;
            }
        }
    }
}

void addRookRankBlocker(EvalContext& c, int x) {
    const posicion& b = c.board;
    const int piece = b.squares[x];
    if (!isEnemy(c, piece) || pawnAttacked(c, c.o, x)) return;
    if (typeOf(piece) == pawn && pawnAttacked(c, c.o, x - c.step)) return;
    c.t.threatTerm += 6;
    c.t.kingAttackTerm += rookKingWeightB[c.theirKing][x];
}

void addRookFileBlocker(EvalContext& c, int r, int d, int x, int p, int q) {
    const posicion& b = c.board;
    const int piece = b.squares[x];
    const int type = typeOf(piece);
    if (!isEnemy(c, piece)) {
        if (c.toMove == c.s && (type == knight || type == bishop)) {
            // Moving the piece away uncovers the rook.
            const int y = firstOccupiedFrom(b, x, d);
            if (y && xrayTargetRook[c.o][b.squares[y]]) c.t.threatTerm += 25;
        } else if (d > 0 && type == rook && p == 0) {
            // Doubled rooks, counted once, by the lower one.
            c.t.rookTerm += q > 0 ? (c.ownUnits >> 1) + 16 : c.ownUnits + 25;
        } else if (type == pawn && pawnAttacked(c, c.o, x)) {
            c.t.rookTerm += 15;
            if (inSet(c.theirKingWing, x)) c.t.rookTerm += 5;
        }
        return;
    }
    if (xrayBlocker[piece]) {
        const int y = firstOccupiedFrom(b, x, d);
        if (y && xrayTargetRook[c.o][b.squares[y]]) {
            if (!pawnAttacked(c, c.o, x) || pawnAttacked(c, c.s, x)) {
                c.t.pinTerm += 34;
                if (cornerSquare[r] && x == r + d) c.t.fixedBonus += cornerPinBonus;
            } else {
                c.t.pinTerm += 21;
            }
        }
    }
    const bool defended = pawnAttacked(c, c.o, x) && type != queen;
    const bool pushable = type == pawn && pawnAttacked(c, c.o, x - c.step);
    if (!defended && !pushable) {
        c.t.threatTerm += 18;
        c.t.kingAttackTerm += rookKingWeightA[c.theirKing][x];
    }
}

// Rooks on our seventh rank (with the queen there) and on their back rank.
void addRookRanks(EvalContext& c, int c7, int c8) {
    const posicion& b = c.board;
    const bool kingAtHome = firstTwoRanks[c.o][c.theirKing];
    if (c8 >= 2 && kingAtHome) c.t.kingAttackTerm += 5 * c.ownUnits - 50;
    if (c7 == 0) return;
    if (c.nQ > 0 && promotionRank[c.s][b.queenList[c.s][1]]) ++c7;
    c7 = std::min(c7, 2);
    bool pawnOnSecond = false;
    for (int i = b.pawnList[c.o][0]; i >= 1; --i)
        if (promotionRank[c.s][b.pawnList[c.o][i]]) pawnOnSecond = true;
    if (kingAtHome)
        c.t.seventhRankTerm += pawnOnSecond ? seventhRankKingAndPawn[c7] : seventhRankKingOnly[c7];
    else if (pawnOnSecond)
        c.t.seventhRankTerm += seventhRankPawnOnly[c7];
}

}  // namespace

void addEFilePin(EvalContext& c) {
    const posicion& b = c.board;
    if (c.kf != 5 || c.ownUnits < eFilePinUnits || b.rookList[c.s][0] == 0) return;
    if (b.pawnsOnFile[white][5] || b.pawnsOnFile[black][5]) return;
    bool minor = false, queenSeen = false;
    for (int i = 0, x = relativeSquare(c.s, sq::e3); i < 4; ++i, x += c.step) {
        const int piece = b.squares[x];
        if (piece == 0) continue;
        if (!isEnemy(c, piece)) break;
        const int type = typeOf(piece);
        if (type == knight || type == bishop)
            minor = true;
        else if (type == queen)
            queenSeen = true;
        else
            break;
    }
    int pin = minor && queenSeen ? 70 : minor ? 30 : queenSeen ? 33 : 0;
    if (pin == 0) return;
    const int e1 = relativeSquare(c.s, sq::e1), e2 = relativeSquare(c.s, sq::e2);
    const bool e2Empty = b.squares[e2] == 0;
    if (holds(b, e1, c.s, rook) && e2Empty)
        pin *= c.toMove == c.s ? 5 : 4;
    else if (!queenSeen && holds(b, e2, c.s, queen))
        pin *= 4;
    else if (c.toMove == c.s && b.squares[e1] == 0 && holds(b, relativeSquare(c.s, sq::f1), c.s, rook) &&
             e2Empty)
        pin *= 4;
    c.t.pinTerm += pin;
}

// Counted by sets: the knights attacked by our pawns, on the edge, in a
// corner, on their back rank, held back.
void addOpponentKnights(EvalContext& c) {
    const SquareSet knights = squaresOf(c.board.knightList[c.o]);
    if (knights == 0) return;
    const SquareSet ours = c.attacks[c.s];
    // Held back: in its own half, with both squares two ranks ahead of it,
    // one file to either side, attacked by our pawns (a knight on an edge
    // file has one of them beside the board, and is not held back).
    const SquareSet twoAhead = c.o == white ? (ours >> 15) & (ours >> 17) : (ours << 15) & (ours << 17);
    const SquareSet heldBack = knights & homeHalf[c.o] & twoAhead & ~(fileASquares | fileHSquares);
    c.t.knightTerm += 18 * countSquares(knights & ours) + 5 * countSquares(heldBack);
    const SquareSet onEdge = knights & edgeSquares;
    c.t.misplacedTerm += 63 * countSquares(onEdge) + 17 * countSquares(onEdge & cornerSquares);
    c.backCount += countSquares(knights & backRankSquares[c.o]);
}

void addOurKnights(EvalContext& c) {
    const posicion& b = c.board;
    const int* list = b.knightList[c.s];
    if (list[0] == 0) return;
    const int u = c.ownUnits;
    const SquareSet theirMajors =
        squaresOf(b.rookList[c.o]) | squaresOf(b.queenList[c.o]) | squareBit[c.theirKing];
    const KnightTargetSets on{theirMajors, squaresOf(b.bishopList[c.o]), squaresOf(list)};
    for (int i = list[0]; i >= 1; --i) {
        const int n = list[i];
        const bool nearKing = inSet(c.nearTheirKing, n);
        if (u >= kingAttackUnits && inSet(c.theirKingWing, n)) c.t.knightTerm += 7;
        c.t.knightTerm += knightSquareBonus[c.s][n];
        if (knightOutpost[c.s][n]) c.t.knightTerm += 4 * b.pawnAttacks[c.s][n];
        if (u >= knightSafetyUnits && (knightSupportZone[c.s][n] || (nearKing && innerRanks[n])) &&
            knightSafe(c, n)) {
            if (pawnAttacked(c, c.s, n)) {
                if (u >= knightKingUnits && nearKing) c.t.kingAttackTerm += u;
                const bool strong = holds(b, n + c.step, c.o, pawn) || b.pawnAttacks[c.s][n] == 2;
                c.t.knightTerm += strong ? (13 * u) >> 3 : (9 * u) >> 3;
            } else {
                c.t.knightTerm += u >> 1;
                if (u >= knightKingUnits && nearKing) c.t.kingAttackTerm += u >> 1;
            }
        }
        addKnightTargets(c, n, on);
    }
}

void addOurRooks(EvalContext& c) {
    const posicion& b = c.board;
    const int s = c.s, o = c.o;
    const bool wingCounts = c.ownUnits >= rookWingUnits;
    const int* list = b.rookList[s];
    int c7 = 0, c8 = 0;
    // Summed here and added once: stores to the terms inside the walks
    // would make the compiler reload what they read.
    int rookSum = 0, attack = 0;
    const int* rankWeight = rookKingWeightB[c.theirKing];
    const int* fileWeight = rookKingWeightA[c.theirKing];
    for (int i = list[0]; i >= 1; --i) {
        const int r = list[i], f = squareFile[r];
        if (wingCounts && inSet(c.theirKingWing, r)) rookSum += 6;
        if (pawnAttacked(c, o, r)) rookSum -= 18;
        if (promotionRank[s][r])
            ++c7;
        else if (backRank[o][r])
            ++c8;
        const int p = b.pawnsOnFile[s][f], q = b.pawnsOnFile[o][f];
        addRookFileBonus(c, r, f, p, q);
        auto walk = [&](int d, const SquareValues& free, const SquareValues& attacked, const int* weight) {
            int x = r + d;
            for (; stillOnBoard(x) && b.squares[x] == 0; x += d) {
                if (pawnAttackedOnBoard(b, o, x)) {
                    rookSum += attacked[x];
                    attack += weight[x] >> 1;
                } else {
                    rookSum += free[x];
                    attack += weight[x];
                }
            }
            return stillOnBoard(x) ? x : 0;
        };
        for (int d : {1, -1})
            if (const int x = walk(d, rookRankFree, rookRankAttacked, rankWeight)) addRookRankBlocker(c, x);
        for (int d : {10, -10})
            if (const int x = walk(d, rookFileFree, rookFileAttacked, fileWeight)) addRookFileBlocker(c, r, d, x, p, q);
    }
    c.t.rookTerm += rookSum;
    c.t.kingAttackTerm += attack;
    addRookRanks(c, c7, c8);
}

// Counted by sets: the bishops attacked by our pawns, on their back rank,
// trapped on a2 or h2 (black: a7, h7) by our pawns.
void addOpponentBishops(EvalContext& c) {
    const SquareSet bishops = squaresOf(c.board.bishopList[c.o]);
    if (bishops == 0) return;
    const int s = c.s;
    c.t.threatTerm += 18 * countSquares(bishops & c.attacks[s]);
    const int atHome = countSquares(bishops & backRankSquares[c.o]);
    c.backCount += atHome;
    c.t.misplacedTerm += atHome * 2 * c.oppUnits;
    auto ourPawn = [&](int square) { return inSet(c.pawns[s], relativeSquare(s, square)); };
    if (inSet(bishops, relativeSquare(s, sq::a2)) && ourPawn(sq::b3) && ourPawn(sq::c2))
        c.t.fixedBonus += trappedBishopBonus;
    if (inSet(bishops, relativeSquare(s, sq::h2)) && ourPawn(sq::g3) && ourPawn(sq::f2))
        c.t.fixedBonus += trappedBishopBonus;
}

void addOurBishops(EvalContext& c) {
    const posicion& b = c.board;
    const int* list = b.bishopList[c.s];
    const int* weight = bishopKingWeight[c.theirKing];
    const int* theirAttacks = b.pawnAttacks[c.o];
    // What the squares reached score, summed here and added once: stores to
    // the terms inside the walks would make the compiler reload what they read.
    int bishopSum = 0, attack = 0;
    for (int i = list[0]; i >= 1; --i) {
        const int from = list[i];
        bishopSum += bishopSquareBonus[from];
        for (int d : bishopDirections) {
            // The empty squares and the first occupied one alike.
            int x = from + d;
            for (; stillOnBoard(x); x += d) {
                const bool attacked = theirAttacks[x] > 0;
                bishopSum += attacked ? bishopMobilityAttacked[x] : bishopMobilityFree[x];
                attack += weight[x] >> (attacked ? 1 : 0);
                if (b.squares[x]) break;
            }
            if (!stillOnBoard(x)) continue;
            const int piece = b.squares[x];
            const int type = typeOf(piece);
            if (!isEnemy(c, piece)) {
                if (c.toMove == c.s && discoverer[piece]) {
                    const int y = firstOccupiedFrom(b, x, d);
                    if (y && xrayTargetBishop[c.o][b.squares[y]]) c.t.threatTerm += 25;
                }
            } else if (type == knight || type == rook || type == queen || type == king) {
                const int y = firstOccupiedFrom(b, x, d);
                if (y && xrayTargetBishop[c.o][b.squares[y]])
                    c.t.pinTerm += !pawnAttacked(c, c.s, x) && pawnAttacked(c, c.o, x) ? 25 : 37;
                if (type == knight)
                    c.t.threatTerm += pawnAttacked(c, c.o, x) ? 13 : 26;
                else
                    c.t.threatTerm += 33;
            } else if (type == pawn && loosePawn(c, x)) {
                c.t.threatTerm += 13;
            }
        }
    }
    c.t.bishopTerm += bishopSum;
    c.t.kingAttackTerm += attack;
}

void addOurQueens(EvalContext& c) {
    const posicion& b = c.board;
    const int* list = b.queenList[c.s];
    const int* weight = queenKingWeight[c.theirKing];
    const SquareSet weighted = queenWeightSquares[c.theirKing];
    const int* theirAttacks = b.pawnAttacks[c.o];
    for (int i = list[0]; i >= 1; --i) {
        const int q = list[i];
        c.t.queenTerm += queenSquareBonus[q];
        if (inSet(c.theirKingWing, q)) c.t.queenTerm += 7;
        // Summed here and added once, so that the loops store nothing. A
        // line without a square of weight adds nothing and is not walked.
        int attack = 0;
        for (int k = 0; k < 8; ++k) {
            if ((lineSquares[q][k] & weighted) == 0) continue;
            const int d = queenDirections[k];
            for (int x = q + d; stillOnBoard(x) && b.squares[x] == 0; x += d)
                attack += weight[x] >> (theirAttacks[x] > 0 ? 1 : 0);
        }
        c.t.kingAttackTerm += attack;
    }
}

// Their queen is out while their minor pieces still sit at home.
void addUndevelopedPieces(EvalContext& c) {
    const posicion& b = c.board;
    if (c.backCount >= 2 && b.queenList[c.o][0] > 0 && !backRank[c.o][b.queenList[c.o][1]])
        c.t.queenTerm += undevelopedPiecesBonus[std::min(c.backCount, 8)];
}

void addBishopPair(EvalContext& c) {
    if (c.board.bishopList[c.s][0] >= 2) c.t.bishopTerm += 75 - c.ownUnits;
}

void addMinorMajority(EvalContext& c) {
    const posicion& b = c.board;
    const int ours = b.knightList[c.s][0] + b.bishopList[c.s][0];
    const int theirs = b.knightList[c.o][0] + b.bishopList[c.o][0];
    if (ours >= theirs + 2) c.t.fixedBonus += 3 * c.ownUnits;
}

}  // namespace zarvi
