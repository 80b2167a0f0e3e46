// The king terms of the evaluation: readiness to castle, the opponent's
// castling problems, pressure on the enemy king's zone and file, our own
// king's shelter (or its activity in the endgame), and the final scaling
// of the king attack by the defenders and the material left. Called by
// collectTerms in its fixed order.
#include <algorithm>

#include "eval/evalcontext.h"
#include "eval/evaltables.h"

namespace zarvi {

namespace {

constexpr int castlingReadyUnits = 20;
// Below this the opponent has too little to attack our king: it walks out.
constexpr int kingEndgameUnits = 13;

bool ourPawnOn(const EvalContext& c, int square) {
    return holds(c.board, relativeSquare(c.s, square), c.s, pawn);
}
bool ourPiece(const EvalContext& c, int square, int type) {
    return holds(c.board, relativeSquare(c.s, square), c.s, type);
}

// A rook the opponent's own king and pawns shut in.
bool opponentRookTrapped(const EvalContext& c) {
    const posicion& b = c.board;
    const int o = c.o, kingSq = c.theirKing;
    if (backRank[o][kingSq]) {
        const int d = c.kf > 4 ? 1 : -1;
        for (int x = kingSq + d; b.pawnsOnFile[o][fileOf(x)] > 0; x += d)
            if (b.squares[x] == pieceCode(o, rook)) return true;
    }
    auto at = [&](int square) { return relativeSquare(o, square); };
    auto theirPawn = [&](int square) { return holds(b, at(square), o, pawn); };
    return (holds(b, at(sq::h2), o, rook) && theirPawn(sq::h3) && theirPawn(sq::g2)) ||
           (holds(b, at(sq::a2), o, rook) && theirPawn(sq::a3) && theirPawn(sq::b2));
}

// Our rook on an edge file next to their king's wing, the edge file free
// of our pawns, and our f- and e-pawns storming a king on the king's side.
void addEdgeRookAndStorm(EvalContext& c) {
    const posicion& b = c.board;
    const int* rooks = b.rookList[c.s];
    const int* ours = b.pawnsOnFile[c.s];
    auto rookOnFile = [&](int f) {
        return (rooks[0] >= 1 && fileOf(rooks[1]) == f) || (rooks[0] >= 2 && fileOf(rooks[2]) == f);
    };
    if (c.kf < 4 && ours[1] == 0 && rookOnFile(1)) c.t.kingAttackTerm += 2 * c.ownUnits;
    if (c.kf >= 6) {
        if (ours[8] == 0 && rookOnFile(8)) c.t.kingAttackTerm += 2 * c.ownUnits;
        if (c.s == c.humanSide && ourPawnOn(c, sq::f5) && ourPawnOn(c, sq::e4)) {
            c.t.kingAttackTerm += 46;
            const int theirF = relativeSquare(c.o, sq::f2);
            if (!holds(b, theirF, c.o, pawn) || b.pawnAttacks[c.s][theirF] > 0) c.t.kingAttackTerm += 35;
        }
    }
}

void addEndgameKing(EvalContext& c) {
    const posicion& b = c.board;
    for (int k : kingSteps) {
        const int x = c.ourKing + k;
        const int piece = pieceAt(b, x);
        if (piece == pieceCode(c.s, pawn) || (piece == pieceCode(c.o, pawn) && !pawnAttacked(c, c.o, x))) {
            c.t.kingSafetyTerm += 15;
            break;
        }
    }
    c.t.kingSafetyTerm += kingEndgameBonus[c.s][c.ourKing] * (45 - c.ownUnits) / 40;
    if (c.ownUnits >= 5 && b.material[c.o] == 0 && distance[c.ourKing][c.theirKing] == 2)
        c.t.kingSafetyTerm += 35;
}

// A king on its second rank: a pawn in front, and pawns beside it with the
// squares behind them free.
void addSecondRankKing(EvalContext& c) {
    const posicion& b = c.board;
    const int k = c.ourKing, back = -c.step;
    auto ourPawn = [&](int x) { return holds(b, x, c.s, pawn); };
    auto ourRook = [&](int x) { return holds(b, x, c.s, rook); };
    auto empty = [&](int x) { return pieceAt(b, x) == 0; };
    int count = 0;
    if (ourPawn(k + c.step)) ++count;
    if (ourPawn(k + 1) && empty(k + 1 + back)) {
        ++count;
        if (count == 1 && ourPawn(k + 2) && !ourRook(k + 2 + back)) ++count;
    } else if (ourPawn(k - 1) && empty(k - 1 + back)) {
        ++count;
        if (count == 1 && ourPawn(k - 2) && !ourRook(k - 2 + back)) ++count;
    }
    c.t.kingSafetyTerm += count * c.oppUnits * 2 / 3;
}

void addKingsWingShelter(EvalContext& c) {
    const int k = c.ourKing, u = c.oppUnits;
    if (holds(c.board, k + 1, c.s, rook) || holds(c.board, k + 2, c.s, rook) || ourPiece(c, sq::h1, rook))
        return;
    int& safety = c.t.kingSafetyTerm;
    const bool g = ourPawnOn(c, sq::g2) || (ourPiece(c, sq::f3, bishop) && ourPawnOn(c, sq::g3));
    if (g) {
        safety += ourPawnOn(c, sq::h2)    ? 5 * u - 45
                  : !ourPawnOn(c, sq::h3) ? 3 * u - 31
                  : ourPawnOn(c, sq::f2)  ? 5 * u - 42
                                          : 4 * u - 37;
    } else if (ourPiece(c, sq::g2, bishop) && ourPawnOn(c, sq::g3)) {
        safety += ourPawnOn(c, sq::h2) ? 5 * u - 38 : ourPawnOn(c, sq::h3) ? 5 * u - 35 : 3 * u - 24;
    } else if (ourPawnOn(c, sq::h2) || ourPawnOn(c, sq::h3)) {
        safety += ourPawnOn(c, sq::g3) ? 2 * u - 22 : u - 10;
    }
}

void addQueensWingShelter(EvalContext& c) {
    const int k = c.ourKing, u = c.oppUnits;
    if (holds(c.board, k - 1, c.s, rook) || holds(c.board, k - 2, c.s, rook) || ourPiece(c, sq::a1, rook))
        return;
    if (ourPawnOn(c, sq::a2) || ourPawnOn(c, sq::a3)) c.t.kingSafetyTerm += 2 * u - 17;
    if (ourPawnOn(c, sq::b2) || (ourPiece(c, sq::b2, bishop) && ourPawnOn(c, sq::b3)))
        c.t.kingSafetyTerm += 2 * u - 17;
}

}  // namespace

void addShortCastlingReadiness(EvalContext& c) {
    const posicion& b = c.board;
    if (c.oppUnits < castlingReadyUnits || !b.canCastleShort[c.s]) return;
    if (pieceAt(b, c.ourKing + 1) || pieceAt(b, c.ourKing + 2)) return;
    if (!ourPawnOn(c, sq::h2) && !ourPawnOn(c, sq::h3)) return;
    if (ourPawnOn(c, sq::g2) || (ourPiece(c, sq::g2, bishop) && ourPawnOn(c, sq::g3)))
        c.t.kingSafetyTerm += c.toMove == c.s ? 30 : 10;
}

void addOpponentCastlingProblems(EvalContext& c) {
    const posicion& b = c.board;
    const int o = c.o, u = c.ownUnits;
    if (b.canCastleShort[o]) {
        if (!holds(b, relativeSquare(o, sq::f2), o, pawn)) {
            c.t.kingSafetyTerm += u;
            c.t.kingAttackTerm += u - 5;
        }
        if (pieceAt(b, c.theirKing + 1) && pieceAt(b, c.theirKing - c.step)) c.t.kingSafetyTerm += 10;
    }
    if (b.canCastleShort[o] || b.canCastleLong[o]) return;
    // Their king has left its back rank for d2 or e2 in front of its own
    // bishop, which it now shuts in.
    if (!backRank[o][c.theirKing]) {
        const bool blocksC =
            c.theirKing == relativeSquare(o, sq::d2) && holds(b, relativeSquare(o, sq::c1), o, bishop);
        const bool blocksF =
            c.theirKing == relativeSquare(o, sq::e2) && holds(b, relativeSquare(o, sq::f1), o, bishop);
        if (blocksC || blocksF) c.t.kingSafetyTerm += 3 * u - 10;
    }
    if (opponentRookTrapped(c)) c.t.rookTerm += 3 * u;
}

void addKingZonePressure(EvalContext& c) {
    c.t.kingSafetyTerm += kingZoneWeight[c.theirKing] * (5 * c.nQ + c.ownUnits) / 11;
}

// Against a king that has given up castling: open or half-open files in
// front of it, and our rook on an edge file beside it.
void addKingFileAttack(EvalContext& c) {
    const posicion& b = c.board;
    if (b.canCastleShort[c.o] || b.canCastleLong[c.o]) return;
    const int* theirs = b.pawnsOnFile[c.o];  // P
    const int* ours = b.pawnsOnFile[c.s];    // Q
    const int kf = c.kf;
    int& attack = c.t.kingAttackTerm;
    bool sheltered = false;
    if (theirs[kf] > 0) {
        const bool intact =
            (theirs[kf - 1] > 0 || theirs[kf + 1] > 0) && !(kf >= 6 && (theirs[8] == 0 || theirs[7] == 0));
        if (intact && (kf > 3 || (theirs[1] > 0 && theirs[2] > 0))) {
            if (ours[kf] == 0) attack += c.ownUnits >> 1;
            sheltered = true;
        }
    }
    if (!sheltered) {
        if (c.nQ > 0) attack += 11 * queenKingWeight[c.theirKing][b.queenList[c.s][1]] + (attack >> 2);
        if (ours[kf] > 0) {
            if (kf < 8 && ours[kf + 1] == 0)
                attack += attack >> 2;
            else if (kf >= 2 && ours[kf - 1] == 0)
                attack += attack >> 2;
        } else {
            attack += attack / 3;
        }
        attack += attack / 6 + (c.ownUnits >> 1);
    }
    addEdgeRookAndStorm(c);
}

void addKingShelter(EvalContext& c) {
    if (c.oppUnits < kingEndgameUnits) {
        addEndgameKing(c);
    } else if (!backRank[c.s][c.ourKing]) {
        if (promotionRank[c.o][c.ourKing]) addSecondRankKing(c);
    } else if (fileOf(c.ourKing) >= 5) {
        addKingsWingShelter(c);
    } else {
        addQueensWingShelter(c);
    }
}

// The attack counts for less with defending minor pieces near their king
// and with less material of ours, and for more with a queen.
void scaleKingAttack(EvalContext& c) {
    // A copy, stored once at the end: the steps form one chain of
    // multiplications and divisions, which need not pass through memory.
    int attack = c.t.kingAttackTerm;
    if (attack <= 0) return;
    const posicion& b = c.board;
    const int u = c.ownUnits;
    const SquareSet minors = squaresOf(b.knightList[c.o]) | squaresOf(b.bishopList[c.o]);
    const int defenders = countSquares(minors & sameQuarterSquares[c.theirKing]);
    if (defenders >= 1)
        attack -= std::min(defenders, 4) * attack / 6;
    else if (c.s == c.humanSide)
        attack += attack / 7;
    if (u >= 20) attack = attack * u / 25;
    if (18 - 5 * c.nQ > u)
        attack = attack * u / 30;
    else
        attack = (u + 3) * attack / 30;
    if (u >= kingAttackUnits) attack += kingZoneWeight[c.theirKing] * (attack + 120 - u) / (120 - u);
    if (c.nQ > 0) attack += attack / 5;
    c.t.kingAttackTerm = attack;
}

}  // namespace zarvi
