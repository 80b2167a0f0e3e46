#include "search/bench.h"

#include <memory>
#include <sstream>

#include "board/fen.h"
#include "eval/settings.h"
#include "platform/platform.h"
#include "search/buscador.h"
#include "search/history.h"
#include "search/search.h"
#include "search/threads.h"

namespace zarvi {

std::string runBench(const std::string& positions, int depth, int threads, BenchResult& result) {
    const Settings saved = settings;
    settings.useBook = 0;
    settings.canResign = 0;
    setDepthLimit(depth);
    const auto searcher = std::make_unique<buscador>();
    SearchHelpers helpers;
    helpers.resize(threads - 1);
    searcher->helpers = &helpers;

    std::istringstream lines(positions);
    std::string error;
    result = BenchResult{};
    const double start = searchClock.elapsedSeconds();
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        posicion board;
        FenGame game{};
        error = readFen(board, line, game);
        if (!error.empty()) {
            error = "bench position " + std::to_string(result.positions + 1) + ": " + error;
            break;
        }
        gameHistory.moveCount = 0;
        gameHistory.historyKey1[0] = board.key2;
        gameHistory.historyKey2[0] = board.key3;
        resetSearch(*searcher);
        const double begin = searchClock.elapsedSeconds();
        startSearch(*searcher, board, game.sideToMove);
        result.secondsByPosition.push_back(searchClock.elapsedSeconds() - begin);
        result.nodes += searcher->nodeCount + helpers.nodes();
        ++result.positions;
    }
    result.seconds = searchClock.elapsedSeconds() - start;
    settings = saved;
    return error;
}

}  // namespace zarvi
