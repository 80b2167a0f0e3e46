// The engine's search object: every store of one search (move lists,
// check and null-move flags, killers, the path of moves and its keys, the
// node counter, the stop flag, the evaluation's inputs), the root move
// order, the iteration state and the result the game reads. The game
// creates one at start-up; its constructor also builds the program-wide
// tables and allocates the transposition table and the evaluation cache.
// Nothing of one searcher is written by another, so searches on several
// searchers may run at once, sharing only the program-wide tables.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/posicion.h"
#include "board/types.h"
#include "eval/evaluate.h"
#include "eval/movelists.h"
#include "search/history.h"
#include "search/threads.h"
#include "search/tuning.h"

namespace zarvi {

constexpr int killerSlots = 3;
constexpr int statusTextLength = 200;

// The status bar's text: "Ready!", the book label or the thinking line.
extern char statusText[statusTextLength + 1];

// The most lines a search for several best moves finds (MultiPV).
constexpr int maxRootLines = 64;

// One line of a search for several best moves: a root move, its exact
// score and, for the main searcher, its variation as the thinking line
// formats it. The root fills them; the engine binary reports them.
struct RootLine {
    Move move;
    int score;
    char variation[statusTextLength + 1];
};

// What the search found: the move and an outcome code.
struct SearchResult {
    int from;
    int to;  // a square or a promotion code
    // 0 a move, 1 it mates, 2 draw (stalemate or too little material, no
    // move), -1 the engine is mated (no move).
    int status;
};

class buscador : public MoveLists, public EvalInputs {
public:
    // Allocates the tables for settings.hashSizeFactor, or for the largest
    // smaller factor the machine can give (see hashFactorInUse).
    buscador();
    // Helper number index (1 or more) of a search on several threads: it
    // uses the tables the main searcher allocated and stops when stop is
    // set.
    buscador(int index, const std::atomic<bool>& stop);
    buscador(const buscador&) = delete;
    buscador& operator=(const buscador&) = delete;

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
    int mateInMoves = 1;
    int iterationDepth = 0;
    int rootMoveNumber = 0;          // root moves searched in this iteration
    int rootMoveIndex = 0;           // the root move under way, in the root list
    int selDepth = 0;                // the deepest ply this search has reached
    int bestScore = 0;
    int bestFrom = 0;
    int bestTo = 0;
    int startTime = 0;               // centiseconds of searchClock
    int stopTime = 0;
    int mateFound = 0;
    int defender[maxPly][captureListCapacity];  // cheapest defender's type
    Move killers[maxPly][killerSlots] = {};     // slot 0 most trusted
    int captureLinked[maxPly][captureListCapacity];
    int captureThreat[maxPly][captureListCapacity];
    posicion displayBoard;           // where the thinking line is replayed
    posicion workBoard;              // where the search plays
    int rootScores[fullListCapacity] = {};
    // A search over some of the root moves (the engine binary's go
    // searchmoves): how many, 0 for every legal move, and which.
    int onlyMoveCount = 0;
    Move onlyMoves[fullListCapacity] = {};
    // A search for several best moves (MultiPV): the lines wanted, and
    // those of its last finished iteration, best first.
    int linesWanted = 1;
    int lineCount = 0;
    RootLine lines[maxRootLines];
    Move path[maxPly + 2] = {};      // path[p + 2] led into the node at ply p
    int resignRequest = 0;
    // The hash size factor the tables were allocated with; smaller than
    // the setting when the machine could not give that much memory.
    int hashFactorInUse = 0;

    int64_t nodeCount = 0;
    // Nodes between two polls of the host; tuned by the thinking display to
    // the host's pollsPerSecond.
    int pollInterval = initialPollInterval;
    // Set when a poll asks the running search to end; every node then
    // returns at once and the root keeps its best move so far. Cleared by
    // startSearch.
    int searchStopped = 0;
    // The thinking time of the next search in centiseconds; 0 means the
    // level's seconds.
    int moveBudgetCentiseconds = 0;
    // The keys of the game up to the root (historyLength plies), then those
    // of the current line: the node search finds repetitions here, laid out
    // as the game history's historyKey1 and historyKey2.
    int historyLength = 0;
    uint32_t lineKey1[historyCapacity + searchLineRoom];
    uint16_t lineKey2[historyCapacity + searchLineRoom];

    // A search on several threads. The main searcher's helpers (none for a
    // search on one thread); a helper's number (0 for the main searcher),
    // the flag that stops it and its node count as it last published it.
    SearchHelpers* helpers = nullptr;
    int helperIndex = 0;
    // A helper's variation, so that it does not walk the main search's tree
    // in step with it and find nothing of the other's in the table: it takes
    // the root's later moves from its own share of the list on (threadCount
    // searchers divide it), and an odd helper takes the quiet moves last first.
    int threadCount = 1;
    const std::atomic<bool>* stopSignal = nullptr;
    std::atomic<int64_t> publishedNodes{0};
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
