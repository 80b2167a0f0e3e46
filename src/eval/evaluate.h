// The positional score of one side of a position: fifteen accumulators of
// piece, pawn and king terms, scaled by the phase of the game and weighted
// by the style file's weights, kept in the evaluation cache. The node and
// quiescence searches call it for both sides and use the difference.
#pragma once

#include "board/posicion.h"
#include "board/types.h"
#include "eval/evalcache.h"

namespace zarvi {

// What a search tells its evaluation: the side to move at the node, the
// side the engine searches for (the root's side to move), the cache the
// search evaluates through and the position's slot in it (key1 modulo the
// cache size). Each searcher owns one; the evaluation reads nothing else.
// A search on several threads gives each its own share of the cache.
struct EvalInputs {
    int toMove = white;
    int engineSide = white;
    EvaluationCache* evalCache = &evaluationCache;
    int evalCacheIndex = 0;
    EvaluationCache evalCacheShare;

    // The cache for thread `index` of `threads`: all of it for one.
    void useCacheShare(int index, int threads) {
        evalCacheShare = cacheShare(evaluationCache, index, threads);
        evalCache = threads == 1 ? &evaluationCache : &evalCacheShare;
    }
};

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
inline void prepareEvaluation(EvalInputs& inputs, const posicion& board, int sideToMove) {
    inputs.evalCacheIndex = inputs.evalCache->indexOf(board.key1);
    inputs.toMove = sideToMove;
}

// The positional score of side s (positive is good for s); 0 when the
// positional-knowledge option is off.
int evaluateSide(EvalInputs& inputs, const posicion& board, int s);

// The accumulators of side s after the phase scaling, the cache left
// alone: what evaluateSide weighs. Lets single terms be inspected.
void collectTerms(const EvalInputs& inputs, const posicion& board, int s, EvalTerms& terms);

}  // namespace zarvi
