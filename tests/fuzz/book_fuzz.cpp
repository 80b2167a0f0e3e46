// The opening book over arbitrary text: loaded from memory through the same
// stream reader as the file, then probed from a few positions. The book
// keeps every character but line breaks, offers a move only with two real
// squares, and the move the program would play from it is always legal.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/consistency.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "board/tables.h"
#include "book/librito.h"
#include "eval/movegen.h"
#include "fuzzcheck.h"
#include "game/settings.h"
#include "search/buscador.h"

using namespace zarvi;
using fuzz::require;

namespace {

struct Probe {
    posicion board;
    int side;
};

// Positions the book speaks of, and some where its squares could make a
// pawn promote or a king castle (corpus/book has entries for those).
std::vector<Probe> probes() {
    const char* const games[][2] = {
        {startFen, ""},
        {startFen, "e2e4"},
        {startFen, "e2e4 e7e5"},
        {startFen, "d2d4 g8f6 c2c4"},
        {startFen, "e2e4 c7c5 g1f3 d7d6"},
        {"4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 1", ""},
        {"4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 1", ""},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", ""},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", ""},
    };
    std::vector<Probe> list;
    for (const auto& game : games) {
        Probe p{};
        FenGame fenGame{};
        require(readFen(p.board, game[0], fenGame).empty(), "a probe position is refused", game[0]);
        p.side = fenGame.sideToMove;
        std::istringstream moves(game[1]);
        for (std::string text; moves >> text; p.side = 1 - p.side) {
            int from = 0, to = 0;
            require(parseMoveText(p.board, p.side, text, from, to), "a probe move is refused", text);
            makeMove(p.board, from, to, p.side);
        }
        list.push_back(p);
    }
    return list;
}

buscador& searcher() {
    static std::unique_ptr<buscador> s = [] {
        settings.hashSizeFactor = minHashSizeFactor;
        return std::make_unique<buscador>();
    }();
    return *s;
}

bool generated(const Probe& p, Move move) {
    posicion work = p.board;
    const int n = listLegalMoves(searcher(), work, p.side, 0);
    for (int i = 0; i < n; ++i)
        if (Move{searcher().fullFrom[0][i], searcher().fullTo[0][i]} == move) return true;
    return false;
}

uint32_t fixedClock() { return 0; }

void checkChoice(const librito& book) {
    require(book.candidateCount >= 0 && book.candidateCount <= maxBookCandidates, "candidate count out of range");
    for (int i = 0; i < book.candidateCount; ++i) {
        const Move m = book.candidates[i];
        require((m.from == 0) == (m.to == 0), "a candidate with one square");
        require(m.from == 0 || (onBoard[m.from] && onBoard[m.to]), "a candidate off the board");
        require(book.weights[i] >= 0 && book.weights[i] <= 99 + (book.candidateCount == 1),
                "a candidate's weight out of range");
    }
    require((book.chosenFrom == 0) == (book.chosenTo == 0), "a chosen move with one square");
    require(book.chosenFrom == 0 || (onBoard[book.chosenFrom] && onBoard[book.chosenTo]), "a chosen move off the board");
}

}  // namespace

// As the program does at start-up: the hash keys and tables first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    buildTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<Probe> positions = probes();
    static librito book("");
    static std::FILE* nowhere = std::fopen("/dev/null", "w");
    book.listing = nowhere;
    book.setClock(fixedClock);

    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream input(text);
    book.load(input);
    std::string kept = text;
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](char c) { return c == '\n' || c == '\r'; }), kept.end());
    require(book.length == int(kept.size()) && (kept.empty() || kept.compare(0, kept.size(), book.text.get(),
                                                                            book.length) == 0),
            "the book does not hold the text without its line breaks");

    for (size_t i = 0; i < positions.size(); ++i) {
        const Probe& p = positions[i];
        book.startRandom(uint32_t(i) * 7919u);
        for (int draw = 0; draw < 2; ++draw) {
            book.verbose = draw;
            posicion work = p.board;
            const Move move = legalBookMove(book, work, p.side);
            checkChoice(book);
            if (move.from == 0) continue;
            require(generated(p, move), "the book's move is not among the legal moves", text);
            work = p.board;
            makeMove(work, move.from, move.to, p.side);
            require(findInconsistency(work, 1 - p.side).empty(), "the book's move left an inconsistent position");
        }
    }
    return 0;
}
