// The opening book over arbitrary text, loaded from memory through the
// stream reader the file goes through too, then probed from a few
// positions: it offers only real squares and percentages, and the move the
// program would play from it is legal by the engine's own generator.
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "board/consistency.h"
#include "board/makemove.h"
#include "book/librito.h"
#include "eval/movegen.h"
#include "fuzzcheck.h"

using namespace zarvi;
using fuzz::require;

namespace {

// Positions the shipped book speaks of, and some where a book's squares
// could make a pawn promote or a king castle.
const char* const probeFens[] = {
    startFen, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1",
    "rnbqkb1r/pppppppp/5n2/8/2PP4/8/PP2PPPP/RNBQKBNR b KQkq - 0 2", "4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 1",
    "4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
};

bool real(Move m) { return m.from >= 11 && m.from <= 88 && onBoard[m.from] && m.to >= 11 && m.to <= 88 && onBoard[m.to]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static librito book("");
    static std::FILE* nowhere = std::fopen("/dev/null", "w");
    book.listing = nowhere;
    book.setClock([] { return 0u; });
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream input(text);
    book.load(input);
    uint32_t start = 0;
    for (const char* fen : probeFens) {
        posicion board;
        FenGame game{};
        require(readFen(board, fen, game).empty(), "a probe position is refused", fen);
        const int side = game.sideToMove;
        book.startRandom(start += 7919u);
        for (int verbose = 0; verbose < 2; ++verbose) {
            book.verbose = verbose;
            posicion work = board;
            const Move move = legalBookMove(book, work, side);
            require(book.candidateCount >= 0 && book.candidateCount <= 22, "candidate count out of range");
            for (int i = 0; i < book.candidateCount; ++i)
                require((book.candidates[i] == Move{0, 0} || real(book.candidates[i])) && book.weights[i] >= 0 &&
                            book.weights[i] <= (book.candidateCount == 1 ? 100 : 99),
                        "a candidate off the board or out of range", text);
            require(book.chosenFrom == 0 ? book.chosenTo == 0 : real({book.chosenFrom, book.chosenTo}),
                    "a chosen move off the board", text);
            if (move.from == 0) continue;
            buscador& s = test::sharedSearcher();
            bool generated = false;
            for (int i = 0, n = listLegalMoves(s, work = board, side, 0); i < n; ++i)
                generated = generated || Move{s.fullFrom[0][i], s.fullTo[0][i]} == move;
            require(generated, "the book's move is not legal", text);
            makeMove(work, move.from, move.to, side);
            require(findInconsistency(work, 1 - side).empty(), "the book's move left an inconsistent position", text);
        }
    }
    return 0;
}
