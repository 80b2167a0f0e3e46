#include "evalsupport.h"

#include "eval/evalcache.h"
#include "support/positions.h"

namespace zarvi::test {

buscador& testSearcher() {
    static buscador* searcher = [] {
        const int factor = settings.hashSizeFactor;
        settings.hashSizeFactor = minHashSizeFactor;
        buscador* made = new buscador;
        settings.hashSizeFactor = factor;
        return made;
    }();
    return *searcher;
}

void clearEvaluationCache() {
    testSearcher();
    EvaluationCache& c = evaluationCache;
    for (int i = 0; i < c.size; ++i) c.entries[i] = EvalCacheEntry{0xFFFFFFFFu, absentValue, {absentValue, absentValue}};
}

EvalTerms termsOf(const posicion& board, int s, int sideToMove, int engine) {
    toMove = sideToMove;
    engineSide = engine;
    EvalTerms terms;
    collectTerms(board, s, terms);
    return terms;
}

EvalTerms termsOf(const std::string& fen, int s, int engine) {
    int sideToMove = white;
    const posicion board = positionFromFen(fen, &sideToMove);
    return termsOf(board, s, sideToMove, engine);
}

std::array<int, 15> accumulators(const EvalTerms& t) {
    return {t.centreTerm,    t.passedPawnTerm, t.pawnMassTerm, t.pawnStructureTerm, t.knightTerm,
            t.bishopTerm,    t.rookTerm,       t.queenTerm,    t.kingSafetyTerm,    t.kingAttackTerm,
            t.misplacedTerm, t.threatTerm,     t.pinTerm,      t.seventhRankTerm,   t.fixedBonus};
}

int evaluateFor(const posicion& board, int s, int sideToMove, int engine) {
    testSearcher();
    engineSide = engine;
    prepareEvaluation(board, sideToMove);
    return evaluateSide(board, s);
}

}  // namespace zarvi::test
