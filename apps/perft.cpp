// The perft command: counts the legal move tree of a position to a depth,
// prints the leaves below each root move, the total and the speed. Other
// engines print the same figures, so the counts can be compared line by
// line when they differ.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>

#include "board/fen.h"
#include "board/notation.h"
#include "commands.h"
#include "eval/settings.h"
#include "search/perft.h"

namespace zarvi {

namespace {

// The digits of a depth 1..maxPerftDepth, else 0.
int readDepth(const char* text) {
    int depth = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || depth > maxPerftDepth) return 0;
        depth = depth * 10 + (*c - '0');
    }
    return depth <= maxPerftDepth ? depth : 0;
}

// A perft needs no transposition table worth the name.
constexpr int perftHashSizeFactor = 1;

}  // namespace

int runPerft(int argc, char** argv) {
    if (argc < 1 || argc > 2) {
        std::fprintf(stderr, "usage: zarvi-engine perft DEPTH [FEN]  (the FEN as one argument)\n");
        return 2;
    }
    const int depth = readDepth(argv[0]);
    if (depth == 0) {
        std::fprintf(stderr, "perft: depth must be a number from 1 to %d, not '%s'\n", maxPerftDepth, argv[0]);
        return 2;
    }

    settings.hashSizeFactor = perftHashSizeFactor;
    auto searcher = std::make_unique<buscador>();
    posicion board;
    FenGame game{};
    const std::string error = readFen(board, argc == 2 ? argv[1] : startFen, game);
    if (!error.empty()) {
        std::fprintf(stderr, "perft: %s\n", error.c_str());
        return 2;
    }

    static uint64_t leaves[fullListCapacity];
    const auto start = std::chrono::steady_clock::now();
    const int n = perftDivide(*searcher, board, game.sideToMove, depth, leaves);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    uint64_t total = 0;
    for (int i = 0; i < n; ++i) {
        const std::string move = moveText(board, searcher->fullFrom[0][i], searcher->fullTo[0][i]);
        std::printf("%s: %" PRIu64 "\n", move.c_str(), leaves[i]);
        total += leaves[i];
    }
    std::printf("\nNodes searched: %" PRIu64 "\n", total);
    std::printf("Time: %.3f s, %.0f nodes/s\n", seconds, seconds > 0 ? double(total) / seconds : 0.0);
    return 0;
}

}  // namespace zarvi
