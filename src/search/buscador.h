// The engine's search object: every per-ply store of the search (move
// lists, check and null-move flags, killers, the path of moves), the root
// move order, the iteration state and the result the game reads. The game
// creates one at start-up; its constructor also builds the program-wide
// tables and allocates the transposition table and the evaluation cache.
#pragma once

#include "board/posicion.h"
#include "board/types.h"

namespace zarvi {

constexpr int maxPly = 32;
constexpr int fullListCapacity = 230;
constexpr int captureListCapacity = 60;
constexpr int killerSlots = 3;
constexpr int statusTextLength = 200;

// The status bar's text: "Ready!", the book label or the thinking line.
extern char statusText[statusTextLength + 1];

// What the search found: the move and an outcome code.
struct SearchResult {
    int from;
    int to;  // a square or a promotion code
    // 0 a move, 1 it mates, 2 draw (stalemate or too little material, no
    // move), -1 the engine is mated (no move).
    int status;
};

class buscador {
public:
    // Allocates the tables for settings.hashSizeFactor, or for the largest
    // smaller factor the machine can give (see hashFactorInUse).
    buscador();

    posicionador setter;
    int depthCap = 0;                // iteration limit of trivial endings, 0 none
    int searchedHistoryLength = 1;   // game length at the previous search
    int nextPollNodes = 0;
    int expectedMatePly = 1;         // in mateMode, the ply the mate is due
    SearchResult result{};
    int singleReply = 0;
    int engineMated = 0;
    int mateMode = 0;
    int stalemated = 0;
    int inCheck[maxPly] = {};        // side to move at ply p is in check
    int nullMoveAt[maxPly + 1] = {}; // node at ply p follows a null move
    int capturedAt[maxPly] = {};     // type taken by the move into ply p
    int rootOrder[fullListCapacity] = {};
    int captureGains[fullListCapacity] = {};
    int mateInMoves = 1;
    int iterationDepth = 0;
    int rootMoveNumber = 0;          // root moves searched in this iteration
    int bestScore = 0;
    int bestFrom = 0;
    int bestTo = 0;
    int startTime = 0;               // centiseconds of searchClock
    int stopTime = 0;
    int mateFound = 0;
    // Per-ply move lists, [ply][entry]. A capture list entry keeps its kind
    // in kind[ply][entry] too: the two lists of a ply share that column.
    int fullFrom[maxPly][fullListCapacity];
    int fullTo[maxPly][fullListCapacity];
    int kind[maxPly][fullListCapacity];
    int captureFrom[maxPly][captureListCapacity];
    int captureTo[maxPly][captureListCapacity];
    int defender[maxPly][captureListCapacity];  // cheapest defender's type
    Move killers[maxPly][killerSlots] = {};     // slot 0 most trusted
    int captureLinked[maxPly][captureListCapacity];
    int captureThreat[maxPly][captureListCapacity];
    posicion displayBoard;           // where the thinking line is replayed
    posicion workBoard;              // where the search plays
    int rootScores[fullListCapacity] = {};
    Move path[maxPly + 2] = {};      // path[p + 2] led into the node at ply p
    int resignRequest = 0;
    // The hash size factor the tables were allocated with; smaller than
    // the setting when the machine could not give that much memory.
    int hashFactorInUse = 0;
};

// A new game: no resignation, no mate under way, tables and killers empty.
void resetSearch(buscador& searcher);
// Transposition table and killers emptied.
void clearSearchTables(buscador& searcher);
// Releases the transposition table and the evaluation cache.
void freeSearchTables();
// Remembers a quiet move that refuted a node at this ply.
void noteKiller(buscador& searcher, int from, int to, int ply);
// The next search starts two plies later in the game: killers move two
// plies towards the root.
void shiftKillers(buscador& searcher);

}  // namespace zarvi
