// FEN over arbitrary text. An accepted FEN must give a position whose every
// view agrees with a recomputation, that writes back to a FEN reading to the
// very same position, and whose legal moves each make and take back
// cleanly; a refused one must leave the position as it was.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "board/attacks.h"
#include "board/consistency.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "eval/movegen.h"
#include "board/tables.h"
#include "fuzzcheck.h"
#include "game/settings.h"
#include "search/buscador.h"

using namespace zarvi;
using fuzz::require;

namespace {

// The move lists live in a searcher; the smallest tables will do.
buscador& searcher() {
    static std::unique_ptr<buscador> s = [] {
        settings.hashSizeFactor = minHashSizeFactor;
        return std::make_unique<buscador>();
    }();
    return *s;
}

void playEveryLegalMove(const posicion& board, int side, const std::string& fen) {
    posicion work = board;
    const int n = listLegalMoves(searcher(), work, side, 0);
    for (int i = 0; i < n; ++i) {
        const int from = searcher().fullFrom[0][i], to = searcher().fullTo[0][i];
        makeMove(work, from, to, side);
        require(findInconsistency(work, 1 - side).empty(), "a legal move left an inconsistent position", fen);
        require(!isAttacked(work, work.kingSquare[side], 1 - side), "a legal move left its king in check", fen);
        unmakeMove(work, to, from, side);
        require(fuzz::samePosition(work, board, side), "taking a move back did not restore the position", fen);
    }
}

}  // namespace

// As the program does at start-up: the hash keys and tables first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    buildTables();
    return 0;
}

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
    require(game.sideToMove == white || game.sideToMove == black, "side to move out of range", text);
    require(game.fullmoveNumber >= 1, "move number below 1", text);
    const std::string wrong = findInconsistency(board, game.sideToMove);
    require(wrong.empty(), "accepted FEN gives an inconsistent position", text + "\n" + wrong);

    const std::string written = writeFen(board, game);
    posicion again;
    FenGame gameAgain{};
    require(readFen(again, written, gameAgain).empty(), "the position's own FEN is refused", text + "\n" + written);
    require(fuzz::identical(again, board), "the written FEN reads to another position", text + "\n" + written);
    require(gameAgain.sideToMove == game.sideToMove && gameAgain.fullmoveNumber == game.fullmoveNumber,
            "the written FEN reads to other counters", text + "\n" + written);
    require(writeFen(again, gameAgain) == written, "writing the FEN again gives another text", written);

    playEveryLegalMove(board, game.sideToMove, text);
    previous = board;
    return 0;
}
