#include "ui/frontend.h"

namespace zarvi {

FrontEnd frontEnd;

void resetBoardState() {
    frontEnd.boardFlipped = 0;
    frontEnd.selectedSquare = 0;
    frontEnd.targetSquare = 0;
    frontEnd.clickCount = 0;
    frontEnd.selectionX = 0;
    frontEnd.selectionY = 0;
    frontEnd.showSelection = 0;
    frontEnd.userSide = white;
}

}  // namespace zarvi
