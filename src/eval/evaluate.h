// The positional score of one side of a position: fifteen accumulators of
// piece, pawn and king terms, scaled by the phase of the game and weighted
// by the style file's weights, kept in the evaluation cache. The node and
// quiescence searches call it for both sides and use the difference.
#pragma once

#include "board/posicion.h"

namespace zarvi {

// Inputs that the searches set before evaluating: the side to move at the
// node, the side the engine searches for (the root's side to move) and the
// evaluation-cache slot of the position (key1 modulo the cache size).
extern int toMove;
extern int engineSide;
extern int evalCacheIndex;

// The accumulators of one evaluation, the first fourteen in the order of
// their weights (evalWeights 1..14); fixedBonus is added unweighted.
struct EvalTerms {
    int centreTerm;
    int passedPawnTerm;
    int pawnMassTerm;
    int pawnStructureTerm;
    int knightTerm;
    int bishopTerm;
    int rookTerm;
    int queenTerm;
    int kingSafetyTerm;
    int kingAttackTerm;
    int misplacedTerm;
    int threatTerm;
    int pinTerm;
    int seventhRankTerm;
    int fixedBonus;
};

// Sets toMove and the cache slot for board, as the searches do before a
// pair of evaluations.
void prepareEvaluation(const posicion& board, int sideToMove);

// The positional score of side s (positive is good for s); 0 when the
// positional-knowledge option is off.
int evaluateSide(const posicion& board, int s);

// The accumulators of side s after the phase scaling, the cache left
// alone: what evaluateSide weighs. Lets single terms be inspected.
void collectTerms(const posicion& board, int s, EvalTerms& terms);

}  // namespace zarvi
