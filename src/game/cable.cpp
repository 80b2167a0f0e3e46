#include "game/cable.h"

#include <cstring>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "eval/movegen.h"
#include "eval/settings.h"
#include "search/history.h"
#include "search/search.h"

namespace zarvi {

cable::cable() : searcher(new buscador), book(new librito), result(&searcher->result) {
    setter.setStartPosition(board);
}

void cable::newGame() {
    setter.setStartPosition(board);
    gameHistory.historyKey1[0] = board.key2;
    gameHistory.historyKey2[0] = board.key3;
    resetSearch(*searcher);
    gameHistory.moveCount = 0;
    promotionPending = 0;
}

void cable::recordMove(int from, int to) {
    const int n = ++gameHistory.moveCount;
    gameHistory.historyKey1[n] = board.key2;
    gameHistory.historyKey2[n] = board.key3;
    gameHistory.historyMoves[n] = {from, to};
}

bool cable::historyFull() const { return gameHistory.moveCount >= historyCapacity; }

int cable::enterUserMove(int side, int from, int to) {
    if (historyFull() || !checkUserMove(checker, board, from, to, side)) return 0;
    if (checker.promotion) {
        checker.promotion = 0;
        promotionPending = 1;
        pendingFrom = from;
        pendingCode = 8 * (fileOf(to) - fileOf(from) + 1);
        return 1;
    }
    makeMove(board, from, to, side);
    recordMove(from, to);
    return 1;
}

void cable::applyPromotion(int side, int type) {
    pendingCode += type;
    makeMove(board, pendingFrom, pendingCode, side);
    recordMove(pendingFrom, pendingCode);
}

int cable::isThirdRepetition() const {
    // Same side to move only; the starting position (entry 0) never counts.
    int i = gameHistory.moveCount - 4;
    if (i < 1) return 0;
    int n = 1;
    for (; i >= 1; i -= 2)
        if (gameHistory.historyKey1[i] == board.key2 && gameHistory.historyKey2[i] == board.key3) ++n;
    return n >= 3;
}

void cable::takeBack(int userSide) {
    const int played = gameHistory.moveCount;
    const int lastSide = played % 2 == 1 ? white : black;
    const int plies = lastSide == userSide ? 1 : 2;
    if (played < plies) return;
    const int kept = played - plies;
    // Replaying from the start is simpler than undoing: game moves keep no
    // undo records. The key entries 1..kept stay as they were.
    newGame();
    for (int i = 1; i <= kept; ++i)
        makeMove(board, gameHistory.historyMoves[i].from, gameHistory.historyMoves[i].to, i % 2 == 1 ? white : black);
    gameHistory.moveCount = kept;
}

void cable::computerMove(int side) {
    SearchResult& r = *result;
    if (historyFull()) {
        r.status = 2;
        return;
    }
    bool fromBook = false;
    if (gameHistory.moveCount <= bookPlies && settings.useBook) {
        book->verbose = 1;
        const Move move = legalBookMove(*book, board, side);
        if (move.from != 0) {
            r.from = move.from;
            r.to = move.to;
            std::memset(statusText, ' ', statusTextLength);
            statusText[statusTextLength] = '\0';
            const char* label = settings.language == 1 ? "Book." : "Libro.";
            std::memcpy(statusText, label, std::strlen(label));
            // A search after switching sides may have asked to resign with
            // no end-of-game test to announce it; this move is no resignation.
            searcher->resignRequest = 0;
            fromBook = true;
        }
    }
    r.status = 0;
    if (!fromBook) startSearch(*searcher, board, side);
    if (r.status == -1 || r.status == 2) return;
    makeMove(board, r.from, r.to, side);
    recordMove(r.from, r.to);
}

bool cable::inCheck(int side) const { return isAttacked(board, board.kingSquare[side], 1 - side) != 0; }

bool cable::hasNoLegalMove(int side) {
    return listLegalMoves(*searcher, board, side, 0, inCheck(side)) == 0;
}

Ending cable::endingBeforeReply() const {
    if (isThirdRepetition()) return Ending::repetitionDraw;
    if (board.halfmoveClock >= 100) return Ending::fiftyMoveDraw;
    if (historyFull()) return Ending::engineDeclaresDraw;
    return Ending::none;
}

Ending cable::endingAfterReply(int userSide) {
    if (searcher->resignRequest) {
        searcher->resignRequest = 0;
        return Ending::engineResigns;
    }
    if (result->status == -1) return Ending::userWins;
    if (result->status == 2) return Ending::engineDeclaresDraw;
    if (result->status == 1) return Ending::engineWins;
    // A reply that leaves the user without a move ends the game too, even
    // when the engine did not announce it (a stalemate, a book or single
    // reply that mates).
    if (hasNoLegalMove(userSide)) return inCheck(userSide) ? Ending::engineWins : Ending::engineDeclaresDraw;
    if (isThirdRepetition()) return Ending::repetitionDraw;
    if (board.halfmoveClock >= 100) return Ending::fiftyMoveDraw;
    if (historyFull()) return Ending::engineDeclaresDraw;
    return Ending::none;
}

}  // namespace zarvi
