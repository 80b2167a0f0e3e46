#include "support/engine.h"

#include <sstream>

#include "platform/portable.h"
#include "search/history.h"
#include "search/search.h"
#include "search/thinking.h"
#include "support/positions.h"

namespace zarvi::test {

void EngineTest::SetUp() {
    settings.useBook = 0;
    settings.hashSizeFactor = 1;
    game = std::make_unique<cable>();
    game->newGame();
}

void EngineTest::TearDown() {
    settings = saved;
    setClockHook(nullptr);
    thinkingListener = nullptr;
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

int EngineTest::play(int side, const std::string& moves) {
    std::istringstream words(moves);
    for (std::string m; words >> m; side = 1 - side) {
        const int from = 10 * (m[1] - '0') + m[0] - 'a' + 1, to = 10 * (m[3] - '0') + m[2] - 'a' + 1;
        EXPECT_EQ(game->enterUserMove(side, from, to), 1) << m;
        if (game->promotionPending) {
            game->promotionPending = 0;
            game->applyPromotion(side, queen);
        }
    }
    return side;
}

}  // namespace zarvi::test
