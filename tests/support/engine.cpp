#include "support/engine.h"

#include "game/history.h"
#include "platform/portable.h"
#include "search/search.h"
#include "search/thinking.h"
#include "support/positions.h"

namespace zarvi::test {

void EngineTest::SetUp() {
    saved = settings;
    settings.useBook = 0;
    settings.hashSizeFactor = 1;
    game = std::make_unique<cable>();
    game->newGame();
}

void EngineTest::TearDown() {
    settings = saved;
    setClockHook(nullptr);
    thinkingListener = nullptr;
    moveBudgetCentiseconds = 0;
}

int EngineTest::setPosition(const char* fen) {
    int side = white;
    game->newGame();
    game->board = positionFromFen(fen, &side);
    gameHistory.historyKey1[0] = game->board.key2;
    gameHistory.historyKey2[0] = game->board.key3;
    return side;
}

void EngineTest::searchAtDepth(int side, int depth) {
    setDepthLimit(depth);
    resetSearch(searcher());
    startSearch(searcher(), game->board, side);
}

}  // namespace zarvi::test
