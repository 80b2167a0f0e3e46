// The pawn and centre terms of the evaluation: centre control, the
// opponent's pawn weaknesses, our pawn chains and passed pawns, pawns
// blocked against knights, pawn masses and the opponent's cramped centre.
// Called by collectTerms in its fixed order.
#include <cstdlib>

#include "eval/evalcontext.h"
#include "eval/evaltables.h"

namespace zarvi {

namespace {

// A knight beats a bishop-less side best against blocked pawns, once the
// opponent is down to this much.
constexpr int knightEdgeUnits = 15;
constexpr int weakPawnUnits = 5;
constexpr int loosePawnUnits = 10;

bool holdsPawn(const posicion& b, int x, int side) { return holds(b, x, side, pawn); }

// Rooks behind a passed pawn and what stands in front of it. Rare, so kept
// out of the pawn loop, which then holds its values in registers.
[[gnu::noinline]] int passedPawnValue(const EvalContext& c, int p, bool supported, bool neighbours) {
    const posicion& b = c.board;
    const int a = p + c.step;
    int v = supported ? passedSupported[c.s][p] : neighbours ? passedConnected[c.s][p] : passedAlone[c.s][p];
    if (const int behind = firstOccupiedFrom(b, p, -c.step)) {
        if (b.squares[behind] == pieceCode(c.s, rook))
            v += v >> 2;
        else if (b.squares[behind] == pieceCode(c.o, rook))
            v -= v / 5;
    }
    if (const int ahead = firstOccupiedFrom(b, p, c.step)) {
        const int piece = b.squares[ahead];
        if (piece == pieceCode(c.s, rook))
            v += v / 5;
        else if (b.squares[a] == 0 && (piece == pieceCode(c.o, rook) || typeOf(piece) == pawn))
            v -= v / 5;
    }
    if (b.squares[a]) v >>= 1;
    if (c.oppUnits == 0) {
        // Against king and pawns: can their king still catch it?
        const int promotion = promotionSquare[c.s][p];
        int d = distance[c.theirKing][promotion] - distance[p][promotion];
        if (c.toMove == c.s) ++d;
        if (fileOf(c.ourKing) == fileOf(p) && rankAhead[c.s][p][c.ourKing]) --d;
        if (d >= 2) {
            v *= 5;
        } else if (firstTwoRanks[c.o][c.ourKing] &&
                   distance[c.ourKing][promotion] <= distance[c.theirKing][promotion] &&
                   distance[c.ourKing][p] <= distance[c.theirKing][p]) {
            v *= 5;
        }
    }
    return v;
}

}  // namespace

void addCentrePawnControl(EvalContext& c) {
    const posicion& b = c.board;
    const int* attacks = b.pawnAttacks[c.s];
    auto at = [&](int square) { return attacks[relativeSquare(c.s, square)]; };
    c.t.centreTerm +=
        8 * (at(sq::d4) + at(sq::e4) + at(sq::d6) + at(sq::e6)) + 15 * (at(sq::d5) + at(sq::e5));
    const int* ours = b.pawnsOnFile[c.s];
    const int* theirs = b.pawnsOnFile[c.o];
    if (ours[4] && ours[5] && !theirs[4] && !theirs[5]) {
        c.t.centreTerm += 40;
    } else {
        if (ours[5]) c.t.centreTerm += 14;
        if (ours[4]) c.t.centreTerm += 7;
    }
}

void addOpponentPawnWeaknesses(EvalContext& c) {
    const posicion& b = c.board;
    const int* theirs = b.pawnsOnFile[c.o];
    // Summed here and added once: a store to the terms could alias the
    // board for the compiler, which would then reload it every time.
    int structure = 0;
    // Only the files that need it are visited: doubled ones, where a pawn
    // stands above another, and isolated ones, without neighbour files.
    const SquareSet pawns = c.pawns[c.o];
    const unsigned files = filesOf(pawns);
    for (unsigned doubled = filesOf(pawns & squaresAbove(pawns)); doubled; doubled &= doubled - 1) {
        const int f = lowestFile(doubled);
        structure += (theirs[f] - 1) * doubledPenalty[f];
    }
    for (unsigned isolated = files & ~((files << 1) | (files >> 1)); isolated; isolated &= isolated - 1) {
        const int f = lowestFile(isolated);
        structure += theirs[f] * isolatedPenalty[f];
    }
    if (c.ownUnits >= weakPawnUnits) {
        // A pawn that no pawn of its own can defend, where it stands or
        // further back: no square attacked by their pawns on its file from
        // the square in front of it back to our seventh rank. Filled along
        // the files, the attacked squares up to that rank mark those walks.
        const SquareSet attacked = c.attacks[c.o];
        const SquareSet weak =
            c.s == white ? pawns & ~(fillDown(attacked & ~rank8Squares) << 8)
                         : pawns & ~(fillUp(attacked & ~rank1Squares) >> 8);
        if (b.rookList[c.s][0] == 0) {
            structure += 13 * countSquares(weak);
        } else {
            const SquareSet ourFiles = squaresOfFiles(filesOf(c.pawns[c.s]));
            structure += 13 * countSquares(weak & ourFiles) + 20 * countSquares(weak & ~ourFiles);
        }
    }
    c.t.pawnStructureTerm += structure;
}

void addOurPawns(EvalContext& c) {
    const posicion& b = c.board;
    const int s = c.s, o = c.o, step = c.step;
    const SquareSet ours = c.pawns[s], theirs = c.pawns[o];
    // The rules sort our pawns by these sets and visit each set's pawns (in
    // square order; they only add): a few shifts and masks where the tests
    // per pawn were many. Pawns with an enemy pawn on the square ahead:
    const SquareSet blockedByPawn = ours & (s == white ? theirs >> 8 : theirs << 8);
    // Not passed: an enemy pawn, or a square an enemy pawn attacks, on the
    // pawn's file from its own square forward, within ranks 2 to 7.
    const SquareSet stops = (theirs | c.attacks[o]) & innerRankSquares;
    const SquareSet held = ours & (s == white ? fillDown(stops) : fillUp(stops));
    // A pawn of ours on a neighbouring file.
    const unsigned files = filesOf(ours);
    const SquareSet neighboured = ours & squaresOfFiles(((files << 1) | (files >> 1)) & 0xffu);

    if (blockedByPawn) {
        const int blocked = countSquares(blockedByPawn);
        if (s == c.humanSide) c.t.fixedBonus += 4 * blocked;
        const bool knightEdge =
            c.oppUnits <= knightEdgeUnits && b.knightList[s][0] > 0 && b.knightList[o][0] == 0;
        if (knightEdge) c.t.knightTerm += blockedPawnKnightBonus[blocked] * (15 - c.oppUnits) / 12;
    }
    // Pawns stand on ranks 2 to 7, so the square ahead is a real one.
    auto supported = [&](int p) {
        const int a = p + step;
        return inSet(neighboured, p) &&
               (pawnAttacked(c, s, a) ||
                (b.squares[a] == 0 && !promotionRank[s][p] && pawnAttacked(c, s, a + step)));
    };
    // Pawns that are not passed: with neighbours, or alone late in the game.
    int structure = 0, fixed = 0;
    for (SquareSet chain = held & neighboured; chain; chain &= chain - 1) {
        const int p = lowestSquare(chain);
        structure += pawnChainBonus[s][p];
        if (b.squares[p + step] == 0) fixed += 3;
    }
    if (c.oppUnits < loosePawnUnits)
        for (SquareSet loose = held & ~neighboured; loose; loose &= loose - 1)
            structure += loosePawnBonus[s][lowestSquare(loose)];
    c.t.pawnStructureTerm += structure;
    c.t.fixedBonus += fixed;

    // Passed pawns, and pawns near their king.
    for (SquareSet passed = ours & ~held; passed; passed &= passed - 1) {
        const int p = lowestSquare(passed);
        c.t.passedPawnTerm += passedPawnValue(c, p, supported(p), inSet(neighboured, p));
    }
    if (c.ownUnits >= kingAttackUnits) {
        const int theirKing = c.theirKing;
        int attack = 0;
        for (SquareSet near = ours & c.nearTheirKing; near; near &= near - 1) {
            const int p = lowestSquare(near);
            const bool close = (supported(p) && b.squares[p + step] == 0) || distance[p][theirKing] <= 2;
            attack += close ? 25 : 5;
        }
        c.t.kingAttackTerm += attack;
    }
}

// Two of our pawns bearing on d5 or e5 while the opponent, who the engine
// plays against, keeps all eight pawns.
void addDoubleCentreAttack(EvalContext& c) {
    const posicion& b = c.board;
    if (b.pawnList[c.o][0] != 8 || c.s != c.humanSide) return;
    if (b.pawnAttacks[c.s][relativeSquare(c.s, sq::d5)] == 2 ||
        b.pawnAttacks[c.s][relativeSquare(c.s, sq::e5)] == 2)
        c.t.fixedBonus += 3 * c.ownUnits;
}

// Runs of at least two neighbouring files with a free pawn of ours on
// rank 4 or 5, worth most away from the centre on the side of our king.
// The same two ranks serve both colours.
void addPawnMass(EvalContext& c) {
    // Our pawns without an enemy pawn right in front, on ranks 4 and 5,
    // folded onto the files: bit f - 1 for file f.
    const SquareSet theirs = c.pawns[c.o];
    const SquareSet free = c.pawns[c.s] & ~(c.s == white ? theirs >> 8 : theirs << 8);
    const unsigned files = unsigned((free >> 24) | (free >> 32)) & 0xffu;
    // Without two qualifying files side by side no run counts.
    if ((files & (files >> 1)) == 0) return;
    int sum = 0, run = 0, runFiles = 0;
    for (int x = sq::a4; x <= sq::h4 + 1; ++x) {
        const int f = x - sq::a4 + 1;
        const bool qualifies = f <= 8 && ((files >> (f - 1)) & 1u);
        if (qualifies) {
            const bool centreOrFar = f == 4 || f == 5 || !inSet(c.theirKingWing, x);
            run += centreOrFar ? 4 : inSet(c.ourKingWing, x) ? 10 : 12;
            ++runFiles;
        } else {
            if (runFiles >= 2) sum += run;
            run = runFiles = 0;
        }
    }
    c.t.pawnMassTerm += sum * c.ownUnits * 3 / 30;
}

void addCentrePawnsAndCrampedCentre(EvalContext& c) {
    const posicion& b = c.board;
    const int s = c.s, o = c.o;
    auto at = [&](int square) { return relativeSquare(s, square); };
    auto ours = [&](int square) { return holdsPawn(b, at(square), s); };
    auto theirs = [&](int square) { return holdsPawn(b, at(square), o); };
    auto empty = [&](int square) { return b.squares[at(square)] == 0; };
    auto attacked = [&](int square) { return b.pawnAttacks[s][at(square)] > 0; };
    int& centre = c.t.centreTerm;

    if (ours(sq::e4) && !theirs(sq::e5) && (attacked(sq::e3) || attacked(sq::e4) || attacked(sq::e5)))
        centre += 33;
    if (ours(sq::d4) && !theirs(sq::d5) && (attacked(sq::d3) || attacked(sq::d4) || attacked(sq::d5)))
        centre += 33;
    if (theirs(sq::d7)) centre += empty(sq::d6) ? 33 : holds(b, at(sq::c8), o, bishop) ? 125 : 80;
    if (theirs(sq::e7)) centre += empty(sq::e6) ? 33 : holds(b, at(sq::f8), o, bishop) ? 125 : 80;
    if (theirs(sq::c7) && theirs(sq::d5) && (theirs(sq::e7) || theirs(sq::e6)))
        centre += empty(sq::c6) ? 20 : 75;
    if (theirs(sq::f7) && theirs(sq::e5) && theirs(sq::d6)) centre += empty(sq::f6) ? 15 : 55;
}

}  // namespace zarvi
