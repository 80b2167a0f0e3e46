// Helpers of the evaluation tests: the searcher whose construction
// allocates the evaluation cache, the inputs the searches set before an
// evaluation, and a guard that gives the settings back after a test.
#pragma once

#include <array>
#include <string>

#include "board/posicion.h"
#include "eval/evaluate.h"
#include "game/settings.h"
#include "search/buscador.h"

namespace zarvi::test {

// Built once, with the smallest tables.
buscador& testSearcher();

// Every cache entry empty again.
void clearEvaluationCache();

// The accumulators of side s with toMove and engineSide set as given.
EvalTerms termsOf(const posicion& board, int s, int sideToMove, int engine);

// The same for a FEN, its side to move being toMove.
EvalTerms termsOf(const std::string& fen, int s, int engine = white);

// The fifteen accumulators in weight order, fixedBonus last.
std::array<int, 15> accumulators(const EvalTerms& t);

// evaluateSide with the inputs the node search would set.
int evaluateFor(const posicion& board, int s, int sideToMove, int engine);

// The settings as they were, when the test ends.
class SettingsGuard {
public:
    SettingsGuard() : saved_(settings) {}
    ~SettingsGuard() { settings = saved_; }

private:
    Settings saved_;
};

}  // namespace zarvi::test
