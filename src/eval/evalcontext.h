// What the rules of one evaluateSide call share: the position, the side
// scored and its opponent, the derived figures every rule reads, and the
// accumulators they add to. The rule groups (pieces, pawns, king) are
// called by evaluateSide in a fixed order; later rules read earlier sums.
#pragma once

#include "board/posicion.h"
#include "board/tables.h"
#include "eval/evaltables.h"
#include "eval/evaluate.h"

namespace zarvi {

// Non-pawn units count up to this much; beyond it the phase is the opening.
constexpr int unitCap = 30;
// Gates of the rule groups by our units: middlegame pawn and castling
// rules, and the rules that attack the enemy king.
constexpr int middlegameUnits = 10;
constexpr int kingAttackUnits = 13;

struct EvalContext {
    const posicion& board;
    EvalTerms& t;
    int s;            // the side scored
    int o;            // its opponent
    int ownUnits;     // pieceUnits, capped at unitCap
    int oppUnits;
    int ourKing;      // K
    int theirKing;    // K'
    int kf;           // file of K'
    int step;         // our pawns' step
    int nQ;           // our queens
    int humanSide;    // the engine's opponent
    int toMove;       // the side to move at the node
    int backCount;    // the opponent's minor pieces on their back rank
    // By side, built from the pawn lists: the pawns, and the squares they
    // attack (exactly those where pawnAttacks is above 0).
    SquareSet pawns[2];
    SquareSet attacks[2];
    // From the board's relation sets: the squares near K', and those on the
    // wing of K' and on the wing of K.
    SquareSet nearTheirKing;
    SquareSet theirKingWing;
    SquareSet ourKingWing;
};

// A border position (or one beyond the 89 entries) reads as empty and
// unattacked: the board's arrays hold no meaning there.
inline bool realSquare(int x) { return unsigned(x) < onBoard.size() && onBoard[x]; }

inline int pieceAt(const posicion& b, int x) { return realSquare(x) ? b.squares[x] : 0; }

// Read from the pawn-attack sets, where a border position has no bit: no
// range test and no branch. Every x the rules ask about is a real square
// or one step beside one, within 0..109.
inline bool pawnAttacked(const EvalContext& c, int side, int x) {
    return (c.attacks[side] & squareBit[x]) != 0;
}

// The board's own count, for a square the caller knows to be real: the
// ray walks, which stop at the edge anyway.
inline bool pawnAttackedOnBoard(const posicion& b, int side, int x) { return b.pawnAttacks[side][x] > 0; }

inline bool holds(const posicion& b, int x, int side, int type) {
    return pieceAt(b, x) == pieceCode(side, type);
}

// A walk along a line from a real square leaves the board before it can
// leave 0..99, so onBoard alone tells where it ends: no range test needed.
inline bool stillOnBoard(int x) { return onBoard[x]; }

// The first occupied square after the real square x along direction d, or
// 0 at the edge.
inline int firstOccupiedFrom(const posicion& b, int x, int d) {
    for (x += d; stillOnBoard(x); x += d)
        if (b.squares[x]) return x;
    return 0;
}

// Rule groups, in the order evaluateSide calls them.
void addCentrePawnControl(EvalContext& c);
void addShortCastlingReadiness(EvalContext& c);
void addEFilePin(EvalContext& c);
void addOpponentKnights(EvalContext& c);
void addOurKnights(EvalContext& c);
void addOurRooks(EvalContext& c);
void addOpponentBishops(EvalContext& c);
void addOurBishops(EvalContext& c);
void addOurQueens(EvalContext& c);
void addUndevelopedPieces(EvalContext& c);
void addBishopPair(EvalContext& c);
void addOpponentPawnWeaknesses(EvalContext& c);
void addOurPawns(EvalContext& c);
// From middlegameUnits on.
void addMinorMajority(EvalContext& c);
void addOpponentCastlingProblems(EvalContext& c);
void addDoubleCentreAttack(EvalContext& c);
void addPawnMass(EvalContext& c);
void addCentrePawnsAndCrampedCentre(EvalContext& c);
// From kingAttackUnits on.
void addKingZonePressure(EvalContext& c);
void addKingFileAttack(EvalContext& c);
// Without castling rights.
void addKingShelter(EvalContext& c);
void scaleKingAttack(EvalContext& c);

}  // namespace zarvi
