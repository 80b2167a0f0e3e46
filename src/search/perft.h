// Perft: the number of leaves of the legal move tree to a given depth,
// the standard proof that move generation and make/unmake follow the
// rules. Walks generateLegalMoves the way the root search calls it; used
// by the engine binary's perft command, its benchmark and the tests.
#pragma once

#include <cstdint>

#include "board/posicion.h"
#include "search/buscador.h"

namespace zarvi {

// The move lists hold maxPly plies and the last ply is counted, not made.
constexpr int maxPerftDepth = maxPly;

// Leaves below board with side to move, depth 0..maxPerftDepth.
uint64_t perft(buscador& searcher, posicion& board, int side, int depth);

// The same, split by root move: returns the number n of root moves, left
// in the searcher's ply-0 full list, with the leaves below move i in
// leaves[i]. depth 1..maxPerftDepth.
int perftDivide(buscador& searcher, posicion& board, int side, int depth, uint64_t leaves[fullListCapacity]);

}  // namespace zarvi
