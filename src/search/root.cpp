#include <algorithm>
#include <cstdint>

#include "board/attacks.h"
#include "board/makemove.h"
#include "eval/endgame.h"
#include "eval/evaluate.h"
#include "eval/movegen.h"
#include "eval/settings.h"
#include "search/search.h"
#include "search/thinking.h"
#include "search/tuning.h"

namespace zarvi {

namespace {

// Selection sort on the first iteration's scores; ties keep list order.
void orderRootMoves(buscador& searcher, int n) {
    int scores[fullListCapacity];
    std::copy(searcher.rootScores, searcher.rootScores + n, scores);
    for (int k = 0; k < n; ++k) {
        int best = -50000, pick = 0;
        for (int i = 0; i < n; ++i) {
            if (scores[i] > best) {
                best = scores[i];
                pick = i;
            }
        }
        searcher.rootOrder[k] = pick;
        scores[pick] = -50000;
    }
}

// The score of root move i in the window (lo, hi), from the engine's side.
int searchRootMove(buscador& searcher, posicion& board, int i, int lo, int hi) {
    const int from = searcher.fullFrom[0][i], to = searcher.fullTo[0][i];
    searcher.rootMoveIndex = i;
    makeMove(board, from, to, searcher.engineSide);
    const int score = -searchNode(searcher, board, 1 - searcher.engineSide, 1, searcher.iterationDepth, -lo, -hi, 0);
    unmakeMove(board, to, from, searcher.engineSide);
    return score;
}

void chooseMove(buscador& searcher, int i) {
    searcher.bestFrom = searcher.fullFrom[0][i];
    searcher.bestTo = searcher.fullTo[0][i];
}

bool isMate(int score) { return score > mateThreshold; }

int mateFoundAt(buscador& searcher, int score) {
    searcher.mateFound = 1;
    searcher.mateInMoves = (mateScore + 1 - score) / 2;
    return score;
}

// The clock may end the iteration between moves: deep enough, budget used,
// and the score not falling.
bool stopBetweenMoves(const buscador& searcher, int k, int minK, int score, int previous) {
    return k >= minK && timeIsUp(searcher) && score >= previous - scoreDropAllowance;
}

// Only the moves asked for stay in the root list, in its order; all stay
// when none of those is among them.
int keepOnlyMoves(buscador& searcher, int n) {
    const Move* only = searcher.onlyMoves;
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        const Move move{searcher.fullFrom[0][i], searcher.fullTo[0][i]};
        if (std::find(only, only + searcher.onlyMoveCount, move) == only + searcher.onlyMoveCount) continue;
        searcher.fullFrom[0][kept] = move.from;
        searcher.fullTo[0][kept] = move.to;
        ++kept;
    }
    return kept > 0 ? kept : n;
}

// After an iteration: stop when deep enough, lost, trivially drawn, or
// when the next iteration could not finish in the time left.
bool lastIteration(const buscador& searcher, const posicion& board, int best) {
    if (searcher.iterationDepth >= settings.maxDepth || best < -mateThreshold) return true;
    if (searcher.depthCap != 0 && searcher.depthCap <= searcher.iterationDepth) return true;
    if (searcher.bestScore == 0 && board.pawnList[searcher.engineSide][0] == 0 && board.pieceUnits[searcher.engineSide] < 4)
        return true;
    // In 64 bits: after 86 hours of uptime 69 times a centisecond clock
    // no longer fits in 32.
    const int64_t start = searcher.startTime, stop = searcher.stopTime;
    const int64_t newIterationLimit = ((100 - newIterationPercent) * start + newIterationPercent * stop) / 100;
    return searcher.iterationDepth >= settings.minStopDepth && !searcher.helperIndex &&
           elapsedCentiseconds() >= newIterationLimit;
}

// Several lines (MultiPV). Each iteration finds them one by one: line j is
// the best of the root moves that the lines before it left, with an exact
// score, so that every line's score can be reported and compared.

// The score of root move i, searched again with the failing side of the
// window widened in growing steps until it lies inside.
int exactRootScore(buscador& searcher, posicion& board, int i, int lo, int hi) {
    for (int step = widenStep;; step *= 2) {
        const int v = searchRootMove(searcher, board, i, lo, hi);
        if (searcher.searchStopped) return v;
        if (v <= lo && lo > -fullWindow) {
            lo = std::max(-fullWindow, lo - step);
        } else if (v >= hi && hi < fullWindow) {
            hi = std::min(fullWindow, hi + step);
        } else {
            return v;
        }
    }
}

// Line j: the best of rootOrder[j..n) moves to rootOrder[j], its exact
// score to rootScores. The first is searched around its last exact
// score, each other one first proven no better with a null window. Line 1
// is the search's best move as soon as it is known. False when the search
// ends: stopped, or out of time (during line 1 by the root's own rule).
bool searchLine(buscador& searcher, posicion& board, int j, int n, int margin) {
    int* order = searcher.rootOrder;
    const int previous = searcher.rootScores[order[j]];
    searcher.rootMoveNumber = j + 1;
    int best = exactRootScore(searcher, board, order[j], previous - margin, previous + margin);
    for (int k = j + 1;; ++k) {
        if (searcher.searchStopped) return false;
        searcher.rootScores[order[j]] = best;
        if (j == 0) {
            searcher.bestScore = best;
            chooseMove(searcher, order[0]);
        }
        if (k == n) return true;
        if (j == 0 ? stopBetweenMoves(searcher, k, 3, best, previous) : timeIsUp(searcher)) return false;
        const int g = order[k];
        searcher.rootMoveNumber = k + 1;
        if (searchRootMove(searcher, board, g, best, best + 1) <= best || searcher.searchStopped) continue;
        const int x = exactRootScore(searcher, board, g, best, best + margin);
        if (x <= best || searcher.searchStopped) continue;
        best = x;
        std::copy_backward(order + j, order + k, order + k + 1);
        order[j] = g;
    }
}

// Line j as found: its move, score and (for the main searcher, which
// alone reports) its variation, while the table still holds it.
void noteLine(buscador& searcher, const posicion& board, RootLine& line, int j) {
    const int i = searcher.rootOrder[j];
    line.move = {searcher.fullFrom[0][i], searcher.fullTo[0][i]};
    line.score = searcher.rootScores[i];
    line.variation[0] = '\0';
    if (!searcher.helperIndex) formatVariation(searcher, board, line.move, line.variation);
}

// The lines of a finished iteration, best first, become the searcher's
// lines and lead the root order; line 1 is the best move.
void finishIteration(buscador& searcher, const RootLine* found, int lines) {
    int rank[maxRootLines], order[maxRootLines];
    for (int j = 0; j < lines; ++j) rank[j] = j;
    std::stable_sort(rank, rank + lines, [&](int a, int b) { return found[a].score > found[b].score; });
    for (int j = 0; j < lines; ++j) {
        order[j] = searcher.rootOrder[rank[j]];
        searcher.lines[j] = found[rank[j]];
    }
    std::copy(order, order + lines, searcher.rootOrder);
    searcher.lineCount = lines;
    searcher.bestScore = searcher.lines[0].score;
    chooseMove(searcher, order[0]);
}

// The iterations after the first, which scored every move exactly, when
// several lines are wanted. Returns as searchRoot does.
int searchLines(buscador& searcher, posicion& board, int n) {
    const int lines = std::min(searcher.linesWanted, n);
    const bool middlegame = board.pieceUnits[white] >= middlegameUnits && board.pieceUnits[black] >= middlegameUnits;
    const int margin = middlegame ? aspirationMiddlegame : aspirationEndgame;
    RootLine found[maxRootLines];
    orderRootMoves(searcher, n);
    for (int j = 0; j < lines; ++j) noteLine(searcher, board, found[j], j);
    for (;;) {
        finishIteration(searcher, found, lines);
        displayThinking(searcher, board, plainMark);
        if (isMate(searcher.bestScore)) return mateFoundAt(searcher, searcher.bestScore);
        if (lastIteration(searcher, board, searcher.bestScore)) return searcher.bestScore;
        ++searcher.iterationDepth;
        for (int j = 0; j < lines; ++j) {
            if (!searchLine(searcher, board, j, n, margin)) return searcher.bestScore;
            noteLine(searcher, board, found[j], j);
        }
    }
}

}  // namespace

int searchRoot(buscador& searcher, posicion& board) {
    // Set-up: trivial endings cap the depth; the legal moves are listed once.
    searcher.depthCap = depthCapOf(board);
    searcher.bestFrom = searcher.bestTo = 0;
    int n = listLegalMoves(searcher, board, searcher.engineSide, 0, searcher.inCheck[0]);

    if (n == 1) {
        searcher.singleReply = 1;
        chooseMove(searcher, 0);
        return 0;
    }
    if (n == 0) {
        if (!searcher.inCheck[0]) {
            searcher.stalemated = 1;
            return 0;
        }
        searcher.engineMated = 1;
        return -mateScore;
    }
    if (searcher.onlyMoveCount > 0) n = keepOnlyMoves(searcher, n);
    searcher.iterationDepth = 1;
    board.undoPly = 0;
    // There is a choice to search for: helpers, if any, search it too.
    if (searcher.helpers) searcher.helpers->start(searcher);

    // First iteration: every move with the full window, to order the rest.
    int best = -fullWindow;
    for (int i = 0; i < n; ++i) {
        searcher.rootMoveNumber = i + 1;
        const int score = searchRootMove(searcher, board, i, -fullWindow, fullWindow);
        if (searcher.searchStopped) {
            // Stopped before any move was scored: any legal move will do.
            if (i == 0) {
                chooseMove(searcher, 0);
                return 0;
            }
            return best;
        }
        searcher.rootScores[i] = score;
        if (score > best) {
            best = score;
            searcher.bestScore = score;
            chooseMove(searcher, i);
        }
    }
    if (searcher.linesWanted > 1) return searchLines(searcher, board, n);
    if (isMate(best)) {
        displayThinking(searcher, board, plainMark);
        return mateFoundAt(searcher, best);
    }
    if (best < -mateThreshold) return best;
    if (searcher.iterationDepth >= settings.maxDepth) {
        displayThinking(searcher, board, plainMark);
        return best;
    }
    searcher.iterationDepth = 2;
    orderRootMoves(searcher, n);
    int previous = best;

    const bool middlegame = board.pieceUnits[white] >= middlegameUnits && board.pieceUnits[black] >= middlegameUnits;
    const int firstMargin = middlegame ? aspirationMiddlegame : aspirationEndgame;
    const int otherMargin = middlegame ? aspirationOthersMiddlegame : aspirationEndgame;

    for (;;) {
        // The first move: an aspiration window around the previous score,
        // widened in steps when it falls outside.
        const int first = searcher.rootOrder[0];
        searcher.rootMoveNumber = 1;
        int v = searchRootMove(searcher, board, first, previous - firstMargin, previous + firstMargin);
        if (!searcher.searchStopped && v >= previous + firstMargin) {
            const int b1 = previous + firstMargin, b2 = b1 + widenStep, b3 = std::max(widenFar, b2 + widenFar);
            searcher.bestScore = b1;
            displayThinking(searcher, board, failHighMark);
            v = searchRootMove(searcher, board, first, b1 - 1, b2);
            if (!searcher.searchStopped && v >= b2) {
                searcher.bestScore = b2;
                displayThinking(searcher, board, failHighMark);
                v = searchRootMove(searcher, board, first, b2 - 1, b3);
                if (!searcher.searchStopped && v >= b3) {
                    searcher.bestScore = b3;
                    displayThinking(searcher, board, failHighMark);
                    v = searchRootMove(searcher, board, first, b3, fullWindow);
                }
            }
        } else if (!searcher.searchStopped && v <= previous - firstMargin) {
            const int a1 = previous - firstMargin, a2 = std::min(-widenFar, a1 - widenStep - widenFar);
            searcher.bestScore = a1;
            displayThinking(searcher, board, failLowMark);
            v = searchRootMove(searcher, board, first, a1 - widenStep, a1 + 1);
            if (!searcher.searchStopped && v <= a1 - widenStep) {
                searcher.bestScore = a1 - widenStep;
                displayThinking(searcher, board, failLowMark);
                v = std::max(searchRootMove(searcher, board, first, a2, a1 - widenStep + 1), a2);
            }
        }
        if (searcher.searchStopped) return searcher.bestScore;
        searcher.bestScore = v;
        chooseMove(searcher, first);
        best = v;
        if (isMate(v)) return mateFoundAt(searcher, v);

        // The other moves: a null window proves whether one is better; only
        // then is its score searched for. A helper starts at its own share
        // of them, so that the searchers prove different moves at once.
        int visit[fullListCapacity];
        std::copy(searcher.rootOrder, searcher.rootOrder + n, visit);
        const int offset = searcher.helperIndex * (n - 1) / searcher.threadCount;
        std::rotate(visit + 1, visit + 1 + offset, visit + n);
        for (int k = 1; k < n; ++k) {
            const int g = visit[k];
            if (stopBetweenMoves(searcher, k, 3, best, previous)) {
                displayThinking(searcher, board, plainMark);
                return best;
            }
            searcher.rootMoveNumber = k + 1;
            const int w = searchRootMove(searcher, board, g, best, best + 1);
            if (searcher.searchStopped) return searcher.bestScore;
            if (w <= best) continue;

            chooseMove(searcher, g);
            displayThinking(searcher, board, failHighMark);
            if (stopBetweenMoves(searcher, k, 2, best, previous)) return w + 1;
            int x = searchRootMove(searcher, board, g, best, best + otherMargin);
            if (searcher.searchStopped) return searcher.bestScore;
            if (x >= best + otherMargin) {
                searcher.bestScore = best + otherMargin;
                displayThinking(searcher, board, failHighMark);
                if (stopBetweenMoves(searcher, k, 2, searcher.bestScore, previous)) return x;
                const int c = std::max(widenOthersFar, best + otherMargin + widenOthersFar);
                x = searchRootMove(searcher, board, g, best + otherMargin, c);
                if (searcher.searchStopped) return searcher.bestScore;
                if (x >= c) {
                    searcher.bestScore = c;
                    if (stopBetweenMoves(searcher, k, 2, c, previous)) {
                        displayThinking(searcher, board, failHighMark);
                        return x;
                    }
                    x = searchRootMove(searcher, board, g, c, fullWindow);
                    if (searcher.searchStopped) return searcher.bestScore;
                }
            }
            best = x;
            searcher.bestScore = best;
            displayThinking(searcher, board, plainMark);
            // The new best move leads the order of the next iterations.
            int* const at = std::find(searcher.rootOrder, searcher.rootOrder + n, g);
            std::copy_backward(searcher.rootOrder, at, at + 1);
            searcher.rootOrder[0] = g;
            if (isMate(best)) return mateFoundAt(searcher, best);
        }
        displayThinking(searcher, board, plainMark);
        if (lastIteration(searcher, board, best)) return best;
        ++searcher.iterationDepth;
        previous = best;
    }
}

}  // namespace zarvi
