// The search: startSearch is the one way the program asks the engine for a
// move. It copies the game position, runs iterative deepening at the root
// over the recursive node search (with its check-evasion and quiescence
// parts) and leaves the move and the outcome in the searcher's result.
#pragma once

#include <cstdint>

#include "board/posicion.h"
#include "platform/platform.h"
#include "search/buscador.h"

namespace zarvi {

void startSearch(buscador& searcher, const posicion& gameBoard, int side);
// A helper of a search on several threads: takes over the root that the
// main searcher has set up, then searches it silently until stopped or
// done.
void prepareHelper(buscador& helper, const buscador& main, int threads);
void searchAsHelper(buscador& helper);
int searchRoot(buscador& searcher, posicion& board);
int searchNode(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
               int extensions);
int searchEvasions(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
                   int extensions);
// The two leaves of the node search, given its material estimate m.
int quiescence(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
               int extensions, int m);
int horizonLeaf(buscador& searcher, posicion& board, int side, int beta, int m);

// The game's keys up to the root into the searcher's line keys, where the
// node search looks for repetitions and writes the keys of its line.
void copyGameHistory(buscador& searcher);
// Copies the position fields (not the last move or scratch) of source.
void copyPosition(posicion& target, const posicion& source);
int elapsedCentiseconds();
// The node search's poll: the host's (a window message, the engine
// binary's input) for the main searcher; for a helper, its stop flag, after
// it has published its node count. True when the search should end.
inline bool pollHost(buscador& searcher) {
    if (!searcher.stopSignal) return pollMessages();
    searcher.publishedNodes.store(searcher.nodeCount, std::memory_order_relaxed);
    return searcher.stopSignal->load(std::memory_order_relaxed);
}
// The clock may stop the search: deep enough and the budget used up.
int timeIsUp(const buscador& searcher);

// A move that a table entry names but that might not fit this position:
// the piece is the side's, the destination is not its own, pawn, king and
// slider geometry hold, and castling neither leaves check nor crosses an
// attacked square. With the king's safety after the move (the caller's),
// the move is legal. Guards what the table and the display replay against
// key collisions and against entries torn by two threads writing at once.
bool isPlausibleMove(const posicion& board, int side, int from, int to);

}  // namespace zarvi
