#include "search/thinking.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "eval/evaluate.h"
#include "eval/settings.h"
#include "platform/platform.h"
#include "search/search.h"
#include "search/ttable.h"

namespace zarvi {

char principalVariation[statusTextLength + 1];
ThinkingListener thinkingListener = nullptr;

namespace {

// The next move of the variation: the exact table entry of the position,
// or any of its entries that names a move.
bool nextVariationMove(const posicion& board, int& from, int& to, bool exactOnly = true) {
    const TranspositionTable& t = transpositionTable;
    const TableEntry& e = t.entries[t.indexOf(board)];
    if (e.checkWord != board.key2 || e.checkHalf != board.key3 || e.from == 0 ||
        (exactOnly && e.bound != exactBound))
        return false;
    from = e.from;
    to = e.to;
    return true;
}

}  // namespace

void formatPrincipalVariation(buscador& searcher, const posicion& board) {
    formatVariation(searcher, board, {searcher.bestFrom, searcher.bestTo}, principalVariation);
}

void formatVariation(buscador& searcher, const posicion& board, Move first, char* text) {
    posicion& display = searcher.displayBoard;
    copyPosition(display, board);
    int side = searcher.engineSide;
    int from = first.from, to = first.to;
    int length = 0;
    text[length++] = ' ';
    for (int moves = 1;; ++moves) {
        // A table entry may belong to another position with the same key
        // words: replay only moves that are legal here.
        if (!isPlausibleMove(display, side, from, to)) break;
        const std::string move = moveText(display, from, to);
        makeMove(display, from, to, side);
        if (isAttacked(display, display.kingSquare[side], 1 - side)) break;
        std::memcpy(text + length, move.data(), move.size());
        length += int(move.size());
        text[length++] = ' ';
        if (moves == maxVariationMoves || length >= variationTextLimit) break;
        side = 1 - side;
        if (!nextVariationMove(display, from, to)) break;
    }
    text[length++] = '.';
    text[length] = '\0';
    display.undoPly = 0;
}

Move expectedReply(buscador& searcher, const posicion& board, Move first) {
    posicion& display = searcher.displayBoard;
    copyPosition(display, board);
    const int side = searcher.engineSide;
    Move reply{0, 0};
    int from = 0, to = 0;
    if (isPlausibleMove(display, side, first.from, first.to)) {
        makeMove(display, first.from, first.to, side);
        if (nextVariationMove(display, from, to, false) && isPlausibleMove(display, 1 - side, from, to)) {
            makeMove(display, from, to, 1 - side);
            if (!isAttacked(display, display.kingSquare[1 - side], side)) reply = {from, to};
        }
    }
    display.undoPly = 0;
    return reply;
}

void displayThinking(buscador& searcher, const posicion& board, int mark) {
    // Helpers search silently: only the main search shows its thinking.
    if (searcher.helperIndex) return;
    // Poll about pollsPerSecond times a second at the speed measured so far.
    const int t = elapsedCentiseconds() - searcher.startTime;
    if (t >= 100) {
        const int rate = int(double(searcher.nodeCount) * 1.0 / t * 100);
        searcher.pollInterval = std::max(1, (rate / pollsPerSecond + searcher.pollInterval) / 2);
    }

    std::memset(statusText, ' ', statusTextLength);
    statusText[statusTextLength] = '\0';
    if (!settings.showThinking) {
        const int depth = std::min(searcher.iterationDepth, statusTextLength - 4);
        std::memset(statusText, 'm', depth);
        std::memcpy(statusText + depth, "h...", 4);
    } else {
        char header[statusTextLength + 1];
        const char* format = settings.language == 1 ? "[%d] score: %d pos: %lld cont: ,"
                                                    : "[%d] ptje: %d pos: %lld cont: ,";
        const int headerLength = std::snprintf(header, sizeof header, format, searcher.iterationDepth,
                                               searcher.bestScore * 100 / 250, static_cast<long long>(searcher.nodeCount));
        std::memcpy(statusText, header, std::min(headerLength, statusTextLength));
        formatPrincipalVariation(searcher, board);

        char* comma = static_cast<char*>(std::memchr(statusText, ',', statusTextLength));
        if (comma) {
            const int at = int(comma - statusText);
            const int count = std::min(int(std::strlen(principalVariation)) - 1, statusTextLength - at);
            std::memcpy(comma, principalVariation, count);
            const int end = at + count;
            if (mark != plainMark && end + 1 < statusTextLength) statusText[end + 1] = mark == failHighMark ? '!' : '?';
        }
    }
    showStatusText(statusText);
    if (thinkingListener) thinkingListener(searcher, mark);
}

}  // namespace zarvi
