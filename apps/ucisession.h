// The UCI conversation of the engine binary: commands from the input queue,
// the game the other program sets up, the search for "go" with its info
// lines and best move. During the search its poll answers isready and hears
// stop, ponderhit and quit; other commands wait until the search is over.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <ostream>
#include <string>
#include <vector>

#include "board/posicion.h"
#include "board/types.h"
#include "book/librito.h"
#include "inputqueue.h"
#include "search/buscador.h"
#include "search/threads.h"
#include "timecontrol.h"
#include "uciinfo.h"

namespace zarvi {

// How often a second the search looks at the input, so that stop is heard
// within a few milliseconds; and the nodes between two looks until the
// search has measured its speed (about a millisecond's worth).
constexpr int uciPollsPerSecond = 1000;
constexpr int uciFirstPollInterval = 1000;
// A long search shows that it is alive: the root move it starts, from
// this far into the search, and its nodes when no line has for a second.
constexpr int64_t rootMoveLinesAfterMs = 3000;
constexpr int64_t progressEveryMs = 1000;

class UciSession {
public:
    // Sets the settings to the options' defaults and creates the engine.
    UciSession(InputQueue& input, std::ostream& out);

    // Answers commands until quit or the end of the input.
    void run();
    // Answers one command line; false once the session should end.
    bool handle(const std::string& line);

    // The game as the last accepted position command left it.
    const posicion& board() const { return game; }
    int sideToMove() const { return side; }
    int playedPlies() const { return int(moves.size()); }
    std::string fen() const;

private:
    void send(const std::string& line);
    void refuse(const std::string& error);
    bool nextLine(std::string& line);

    void identify();
    void setOption(const std::vector<std::string>& words);
    void setPosition(const std::vector<std::string>& words);
    void go(const std::vector<std::string>& words);
    void bench(const std::vector<std::string>& words);

    // A new searcher with new tables, polling as often as UCI needs.
    void createSearcher();
    // Rebuilds the searcher when the hash size or the evaluation changed.
    void prepareTables();
    // The game's moves and keys into the program-wide history, which the
    // search reads for repetitions (and which the bench overwrites).
    void loadHistory();
    // Every legal move of the side to move, through the searcher's lists.
    std::vector<Move> legalMoves(posicion& board, int mover);
    // The book's move when it has a legal one, else {0, 0}.
    Move bookMove();
    // The search's move among candidates: the legal moves or, restricted,
    // those that go searchmoves named.
    Move searchMove(const std::vector<Move>& candidates, bool restricted);
    // The info lines after a search: its last report, and whether go mate
    // found its mate.
    void sayLastWord(Move best);
    // " ponder M", the reply the engine expects to best, or "".
    std::string ponderText(Move best);
    void waitForRelease();

    friend bool pollSession();
    friend void reportThinking(const buscador& searcher, int mark);
    bool poll();
    void report(int mark);
    // What every info line tells of the search: depth, nodes, time, table.
    ThinkingReport searchState();
    void showProgress();
    void ponderHit();
    int64_t elapsedMs() const;
    // The nodes of every thread of the search under way or just ended.
    int64_t searchedNodes() const;

    InputQueue& input;
    std::ostream& out;
    std::deque<std::string> deferred;  // commands that came during a search

    std::unique_ptr<buscador> searcher;
    SearchHelpers helpers;  // the threads beyond the session's own
    std::unique_ptr<librito> book;
    bool tablesStale = false;

    // The game: a starting position and the moves played from it.
    posicion game;
    int side = white;
    int fullmoveNumber = 1;
    std::string baseFen;
    std::vector<std::string> moveTexts;
    std::vector<Move> moves;
    std::vector<uint32_t> keys2;  // entry i: after ply i, entry 0 the start
    std::vector<uint16_t> keys3;
    int mateFoundAtPly = -1;  // the game's length when a search last found its mate under way

    // Options the session applies to every search.
    int64_t moveOverheadMs = 0;
    int linesWanted = 1;  // MultiPV
    bool limitStrength = false;
    int limitedElo = 0;
    std::mt19937 random{std::random_device{}()};  // the limited engine's choice among its lines

    // The search under way.
    GoLimits limits;
    TimePlan ponderPlan;        // the plan that a ponderhit starts
    int64_t goStartMs = 0;
    int64_t reportedNodes = 0;    // nodeCount at the last info line
    int64_t reportedMs = 0;       // when the last line with nodes was sent
    std::array<int, 3> shownRootMove{};  // depth, number and index of the last currmove
    int64_t hardDeadlineMs = -1;  // on searchClock; -1 none
    bool pondering = false;
    bool waitingForRelease = false;  // no best move before stop (or ponderhit)
    bool stopRequested = false;
    bool quitRequested = false;
};

}  // namespace zarvi
