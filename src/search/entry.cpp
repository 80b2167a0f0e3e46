#include <algorithm>
#include <cstring>

#include "board/attacks.h"
#include "eval/evaluate.h"
#include "eval/settings.h"
#include "platform/platform.h"
#include "search/history.h"
#include "search/search.h"
#include "search/ttable.h"
#include "search/tuning.h"

namespace zarvi {

void copyPosition(posicion& target, const posicion& source) {
    target.key1 = source.key1;
    target.key2 = source.key2;
    target.key3 = source.key3;
    for (int s = 11; s <= 88; ++s) {
        target.squares[s] = source.squares[s];
        target.emptyFlag[s] = source.emptyFlag[s];
        target.pawnAttacks[white][s] = source.pawnAttacks[white][s];
        target.pawnAttacks[black][s] = source.pawnAttacks[black][s];
    }
    for (int side = 0; side < 2; ++side) {
        target.kingSquare[side] = source.kingSquare[side];
        target.canCastleShort[side] = source.canCastleShort[side];
        target.canCastleLong[side] = source.canCastleLong[side];
        for (int type = pawn; type <= queen; ++type) {
            const int* from = source.pieceList(side, type);
            std::memcpy(target.pieceList(side, type), from, sizeof(int) * (from[0] + 1));
        }
        for (int file = 1; file <= 8; ++file) target.pawnsOnFile[side][file] = source.pawnsOnFile[side][file];
        target.pieceUnits[side] = source.pieceUnits[side];
        target.material[side] = source.material[side];
    }
    target.epSquare = source.epSquare;
    target.halfmoveClock = source.halfmoveClock;
}

void copyGameHistory(buscador& searcher) {
    const int length = gameHistory.moveCount;
    searcher.historyLength = length;
    std::memcpy(searcher.lineKey1, gameHistory.historyKey1, sizeof(uint32_t) * (length + 1));
    std::memcpy(searcher.lineKey2, gameHistory.historyKey2, sizeof(uint16_t) * (length + 1));
}

int elapsedCentiseconds() { return int(searchClock.elapsedSeconds() * 100); }

int timeIsUp(const buscador& searcher) {
    // A helper has no clock: the main search stops it.
    if (searcher.helperIndex || searcher.iterationDepth < settings.minStopDepth) return 0;
    return elapsedCentiseconds() >= searcher.stopTime;
}

void startSearch(buscador& searcher, const posicion& gameBoard, int side) {
    posicion& board = searcher.workBoard;
    const int opponent = 1 - side;
    copyPosition(board, gameBoard);

    copyGameHistory(searcher);
    const int length = searcher.historyLength;

    // Entries stored before the game moved on now lie at or before the root.
    if (searcher.searchedHistoryLength != length) {
        ageTranspositionTable(searcher.searchedHistoryLength - length);
        searcher.searchedHistoryLength = length;
    }

    searcher.resignRequest = 0;
    searcher.nodeCount = 0;
    searcher.selDepth = 0;
    searcher.lineCount = 0;
    searcher.searchStopped = 0;
    searcher.nextPollNodes = searcher.pollInterval / 2;
    searcher.result.status = 0;
    searcher.engineSide = side;

    // Bare kings, or one minor piece at most: nobody can win.
    if (board.pawnList[white][0] == 0 && board.pawnList[black][0] == 0 &&
        board.pieceUnits[white] + board.pieceUnits[black] < 4) {
        searcher.result.status = 2;
        return;
    }

    searcher.capturedAt[0] = gameBoard.capturedType;
    const Move* played = gameHistory.historyMoves;
    // The game's last three moves; a shorter game leaves the entries empty,
    // not as an earlier game left them, so no move can look reversed.
    searcher.path[2] = length >= 1 ? played[length] : Move{0, 0};
    searcher.path[1] = length >= 2 ? played[length - 1] : Move{0, 0};
    searcher.path[0] = length >= 3 ? played[length - 2] : Move{0, 0};
    searcher.inCheck[0] = isAttacked(board, board.kingSquare[side], opponent) != 0;

    searcher.useCacheShare(0, searcher.helpers ? searcher.helpers->count() + 1 : 1);
    searcher.startTime = elapsedCentiseconds();
    const int budget =
        searcher.moveBudgetCentiseconds > 0 ? searcher.moveBudgetCentiseconds : 100 * settings.levelSeconds;
    searcher.stopTime = searcher.startTime + budget;

    searcher.bestScore = searchRoot(searcher, board);
    if (searcher.helpers) searcher.helpers->stop();

    SearchResult& result = searcher.result;
    if (searcher.stalemated) {
        searcher.stalemated = 0;
        result.from = searcher.bestFrom;
        result.to = searcher.bestTo;
        result.status = 2;
    } else if (searcher.engineMated) {
        searcher.engineMated = 0;
        result.status = -1;
    } else if (searcher.singleReply) {
        searcher.singleReply = 0;
        result.from = searcher.bestFrom;
        result.to = searcher.bestTo;
    } else {
        shiftKillers(searcher);
        result.from = searcher.bestFrom;
        result.to = searcher.bestTo;
        if (searcher.mateFound) {
            searcher.mateFound = 0;
            if (searcher.mateInMoves != 1) {
                searcher.mateMode = 1;
                searcher.expectedMatePly = 2 * searcher.mateInMoves - 1;
            } else {
                searcher.mateInMoves = 0;
                result.status = 1;
            }
        } else if (settings.canResign && searcher.bestScore < settings.resignThreshold) {
            searcher.resignRequest = 1;
        }
    }
}

void prepareHelper(buscador& helper, const buscador& main, int threads) {
    helper.useCacheShare(helper.helperIndex, threads);
    helper.threadCount = threads;
    posicion& board = helper.workBoard;
    copyPosition(board, main.workBoard);
    helper.engineSide = main.engineSide;
    helper.historyLength = main.historyLength;
    std::memcpy(helper.lineKey1, main.lineKey1, sizeof(uint32_t) * (main.historyLength + 1));
    std::memcpy(helper.lineKey2, main.lineKey2, sizeof(uint16_t) * (main.historyLength + 1));
    std::copy(main.path, main.path + 3, helper.path);
    helper.capturedAt[0] = main.capturedAt[0];
    helper.inCheck[0] = main.inCheck[0];
    std::memcpy(helper.killers, main.killers, sizeof helper.killers);
    helper.mateMode = main.mateMode;
    helper.linesWanted = main.linesWanted;
    helper.onlyMoveCount = main.onlyMoveCount;
    std::copy(main.onlyMoves, main.onlyMoves + main.onlyMoveCount, helper.onlyMoves);
    helper.expectedMatePly = main.expectedMatePly;
    helper.nodeCount = 0;
    helper.selDepth = 0;
    helper.publishedNodes.store(0, std::memory_order_relaxed);
    helper.searchStopped = 0;
    helper.nextPollNodes = helper.pollInterval;
}

void searchAsHelper(buscador& helper) {
    searchRoot(helper, helper.workBoard);
    helper.publishedNodes.store(helper.nodeCount, std::memory_order_relaxed);
    // What the root says of the move concerns the main search alone.
    helper.singleReply = helper.engineMated = helper.stalemated = helper.mateFound = 0;
}

}  // namespace zarvi
