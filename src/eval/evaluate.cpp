#include "eval/evaluate.h"

#include <algorithm>
#include <cstdint>

#include "eval/evalcache.h"
#include "eval/evalcontext.h"
#include "eval/settings.h"

namespace zarvi {

namespace {

// Structure weighs more, and passed pawns more still, as the opponent's
// pieces come off; the centre matters while we keep ours.
void scaleByPhase(EvalTerms& t, int ownUnits, int oppUnits) {
    t.pawnStructureTerm = (76 - oppUnits) * t.pawnStructureTerm / 61;
    t.passedPawnTerm = (80 - oppUnits) * t.passedPawnTerm / 65;
    t.centreTerm = t.centreTerm * ownUnits / unitCap;
}

// The squares the pawns attack, one rank ahead and one file to either
// side, never off the board: where pawnAttacks counts more than 0.
SquareSet whitePawnAttacks(SquareSet pawns) {
    return ((pawns & ~fileASquares) << 7) | ((pawns & ~fileHSquares) << 9);
}
SquareSet blackPawnAttacks(SquareSet pawns) {
    return ((pawns & ~fileASquares) >> 9) | ((pawns & ~fileHSquares) >> 7);
}

int weighTerms(const EvalTerms& t) {
    const int* w = settings.evalWeights;
    const int sum = t.centreTerm * w[1] + t.passedPawnTerm * w[2] + t.pawnMassTerm * w[3] +
                    t.pawnStructureTerm * w[4] + t.knightTerm * w[5] + t.bishopTerm * w[6] +
                    t.rookTerm * w[7] + t.queenTerm * w[8] + t.kingSafetyTerm * w[9] +
                    t.kingAttackTerm * w[10] + t.misplacedTerm * w[11] + t.threatTerm * w[12] +
                    t.pinTerm * w[13] + t.seventhRankTerm * w[14];
    return sum / neutralWeight + t.fixedBonus;
}

}  // namespace

void collectTerms(const EvalInputs& inputs, const posicion& board, int s, EvalTerms& terms) {
    terms = EvalTerms{};
    const int o = 1 - s;
    const SquareSet whitePawns = squaresOf(board.pawnList[white]);
    const SquareSet blackPawns = squaresOf(board.pawnList[black]);
    EvalContext c{board,
                  terms,
                  s,
                  o,
                  std::min(board.pieceUnits[s], unitCap),
                  std::min(board.pieceUnits[o], unitCap),
                  board.kingSquare[s],
                  board.kingSquare[o],
                  fileOf(board.kingSquare[o]),
                  pawnStep[s],
                  board.queenList[s][0],
                  1 - inputs.engineSide,
                  inputs.toMove,
                  0,
                  {whitePawns, blackPawns},
                  {whitePawnAttacks(whitePawns), blackPawnAttacks(blackPawns)},
                  nearSquares[board.kingSquare[o]],
                  sameWingSquares[board.kingSquare[o]],
                  sameWingSquares[board.kingSquare[s]]};

    addCentrePawnControl(c);
    addShortCastlingReadiness(c);
    addEFilePin(c);
    addOpponentKnights(c);
    addOurKnights(c);
    addOurRooks(c);
    addOpponentBishops(c);
    addOurBishops(c);
    addOurQueens(c);
    addUndevelopedPieces(c);
    addBishopPair(c);
    addOpponentPawnWeaknesses(c);
    addOurPawns(c);
    if (c.ownUnits >= middlegameUnits) {
        addMinorMajority(c);
        addOpponentCastlingProblems(c);
        addDoubleCentreAttack(c);
        addPawnMass(c);
        addCentrePawnsAndCrampedCentre(c);
    }
    if (c.ownUnits >= kingAttackUnits) {
        addKingZonePressure(c);
        addKingFileAttack(c);
    }
    if (!board.canCastleShort[s] && !board.canCastleLong[s]) addKingShelter(c);
    scaleKingAttack(c);

    scaleByPhase(terms, c.ownUnits, c.oppUnits);
}

int evaluateSide(EvalInputs& inputs, const posicion& board, int s) {
    if (!settings.positionalKnowledge) return 0;

    EvalCacheEntry& entry = inputs.evalCache->entries[inputs.evalCacheIndex];
    int cached = 0;
    if (probeEvalCache(entry, board.key2, board.key3, s, cached)) return cached;

    EvalTerms terms;
    collectTerms(inputs, board, s, terms);
    const int result = weighTerms(terms);
    storeEvalCache(entry, board.key2, board.key3, s, result);
    return result;
}

}  // namespace zarvi
