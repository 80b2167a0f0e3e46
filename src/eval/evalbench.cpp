#include "eval/evalbench.h"

#include <memory>
#include <sstream>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "eval/evaluate.h"
#include "eval/movegen.h"
#include "platform/platform.h"

namespace zarvi {

namespace {

void evaluateTree(MoveLists& lists, EvalInputs& inputs, posicion& board, int side, int ply, int depth,
                  EvalBenchResult& result) {
    EvalTerms terms;
    inputs.toMove = side;
    for (int s = 0; s < 2; ++s) {
        collectTerms(inputs, board, s, terms);
        result.checksum += terms.centreTerm + terms.kingAttackTerm + terms.fixedBonus;
        ++result.evaluations;
    }
    if (ply == depth) return;
    const int n = listLegalMoves(lists, board, side, ply);
    for (int i = 0; i < n; ++i) {
        const int from = lists.fullFrom[ply][i], to = lists.fullTo[ply][i];
        makeMove(board, from, to, side);
        evaluateTree(lists, inputs, board, 1 - side, ply + 1, depth, result);
        unmakeMove(board, to, from, side);
    }
}

}  // namespace

std::string runEvalBench(const std::string& positions, int depth, EvalBenchResult& result) {
    buildTables();
    const auto lists = std::make_unique<MoveLists>();
    EvalInputs inputs;
    result = EvalBenchResult{};
    std::istringstream lines(positions);
    const double start = searchClock.elapsedSeconds();
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        posicion board;
        FenGame game{};
        const std::string error = readFen(board, line, game);
        if (!error.empty()) return error;
        inputs.engineSide = game.sideToMove;
        evaluateTree(*lists, inputs, board, game.sideToMove, 0, depth, result);
    }
    result.seconds = searchClock.elapsedSeconds() - start;
    return "";
}

}  // namespace zarvi
