// FEN over arbitrary text. An accepted FEN gives a position whose every
// view agrees with a recomputation, that writes back to a FEN reading to
// the very same position, and whose legal moves each make and take back
// cleanly; a refused one leaves the position as it was.
#include <cstdint>
#include <string>

#include "board/attacks.h"
#include "board/consistency.h"
#include "board/makemove.h"
#include "eval/movegen.h"
#include "fuzzcheck.h"

using namespace zarvi;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last accepted position, so that refusals meet varied positions.
    static posicion previous = [] {
        posicion start;
        posicionador().setStartPosition(start);
        return start;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    posicion board = previous;
    FenGame game{};
    if (!readFen(board, text, game).empty()) {
        require(fuzz::identical(board, previous), "a refused FEN changed the position", text);
        return 0;
    }
    const int side = game.sideToMove;
    require(side == white || side == black, "side to move out of range", text);
    require(game.fullmoveNumber >= 1, "move number below 1", text);
    const std::string wrong = findInconsistency(board, side);
    require(wrong.empty(), "an accepted FEN gives an inconsistent position", text + "\n" + wrong);

    const std::string written = writeFen(board, game);
    posicion again;
    FenGame gameAgain{};
    require(readFen(again, written, gameAgain).empty(), "the position's own FEN is refused", text + "\n" + written);
    require(fuzz::identical(again, board) && gameAgain.sideToMove == side &&
                gameAgain.fullmoveNumber == game.fullmoveNumber && writeFen(again, gameAgain) == written,
            "the written FEN reads to another position", text + "\n" + written);

    buscador& s = test::sharedSearcher();
    for (int i = 0, n = listLegalMoves(s, board, side, 0); i < n; ++i) {
        const int from = s.fullFrom[0][i], to = s.fullTo[0][i];
        makeMove(board, from, to, side);
        require(findInconsistency(board, 1 - side).empty(), "a legal move left an inconsistent position", text);
        require(!isAttacked(board, board.kingSquare[side], 1 - side), "a legal move left its king in check", text);
        unmakeMove(board, to, from, side);
        require(fuzz::samePosition(board, again, side), "taking a move back did not restore the position", text);
    }
    previous = board;
    return 0;
}
