// The game being played: the position, the history, the engine and the
// book, and the operations the front end calls for each user move, the
// engine's reply and the end-of-game tests. Created once at start-up,
// after the style file has been read (the engine's tables are sized by it).
#pragma once

#include <memory>

#include "board/posicion.h"
#include "board/vju.h"
#include "book/librito.h"
#include "game/ending.h"
#include "search/buscador.h"

namespace zarvi {

constexpr int bookPlies = 30;  // the book is asked while moveCount <= 30

class cable {
public:
    cable();

    // The starting position, an empty history, a reset searcher.
    void newGame();
    // 1 if the move is legal: made, or waiting for applyPromotion when a
    // pawn reaches the last rank. 0 (nothing changed) if not.
    int enterUserMove(int side, int from, int to);
    // Completes the pending promotion with the piece type (2..5).
    void applyPromotion(int side, int type);
    // The current position stands for at least the third time.
    int isThirdRepetition() const;
    // Takes back the last two plies, or only the user's own move when the
    // game ended on it, so that the user is to move again.
    void takeBack(int userSide);
    // The engine's move for side, from the book or the search; its outcome
    // is in *result and searcher->resignRequest.
    void computerMove(int side);

    // The end-of-game sequence around the engine's reply to a user move:
    // the tests before it (the front end then shows the engine thinking
    // and calls computerMove), and the tests after it.
    Ending endingBeforeReply() const;
    Ending endingAfterReply(int userSide);

    int promotionPending = 0;
    int pendingFrom = 0;
    int pendingCode = 0;
    posicion board;
    posicionador setter;
    vju checker;
    std::unique_ptr<buscador> searcher;
    std::unique_ptr<librito> book;
    SearchResult* result;

private:
    void recordMove(int from, int to);
    bool historyFull() const;
    // The side to move has no legal move (mate or stalemate).
    bool hasNoLegalMove(int side);
    bool inCheck(int side) const;
};

}  // namespace zarvi
