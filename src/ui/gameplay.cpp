#include "ui/gameplay.h"

#include <windows.h>

#include "eval/settings.h"
#include "search/buscador.h"
#include "ui/boardview.h"
#include "ui/frontend.h"

namespace zarvi {

namespace {

// The engine's move for the side the user does not play; the window only
// paints meanwhile.
void engineReply() {
    cable& game = *frontEnd.game;
    frontEnd.engineThinking = 1;
    game.computerMove(1 - frontEnd.userSide);
    frontEnd.engineThinking = 0;
    redraw();
}

// Game over when the game has ended, with its announcement.
bool ended(Ending ending) {
    if (ending == Ending::none) return false;
    frontEnd.gameOver = 1;
    announceEnding(ending);
    return true;
}

}  // namespace

void startNewGame() {
    frontEnd.gameOver = 0;
    frontEnd.game->newGame();
    if (!settings.depthFromStyle) setDepthLimit(0);
    frontEnd.showSelection = 0;
    frontEnd.clickCount = 0;
    frontEnd.engineThinking = 0;
    frontEnd.boardFlipped = 0;
    frontEnd.userSide = white;
    redraw();
}

void playUserMove() {
    cable& game = *frontEnd.game;
    const int side = frontEnd.userSide;
    frontEnd.clickCount = 0;
    const int accepted = game.enterUserMove(side, frontEnd.selectedSquare, frontEnd.targetSquare);
    if (accepted && game.promotionPending) {
        game.promotionPending = 0;
        game.applyPromotion(side, queen);
    }
    frontEnd.showSelection = 0;
    redraw();
    if (!accepted) return;
    if (ended(game.endingBeforeReply())) return;
    engineReply();
    ended(game.endingAfterReply(side));
}

void switchSides() {
    if (frontEnd.gameOver) return;
    frontEnd.userSide = 1 - frontEnd.userSide;
    frontEnd.boardFlipped = 1 - frontEnd.boardFlipped;
    frontEnd.showSelection = 0;
    frontEnd.clickCount = 0;
    redraw();
    clearSearchTables(*frontEnd.game->searcher);
    engineReply();
}

void retractMove() {
    frontEnd.gameOver = 0;
    frontEnd.game->takeBack(frontEnd.userSide);
    redraw();
}

void announceEnding(Ending ending) {
    MessageBoxA(nullptr, endingText(ending, settings.language), endingTitle(settings.language),
                MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
}

}  // namespace zarvi
