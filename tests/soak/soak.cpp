// The soak test: the engine plays itself for hundreds of fast games, in
// process through the game object and as a child process over UCI, while
// a referee with its own copy of every game checks each move, each
// position and each ending. Run by make soak, not by make test; exits
// non-zero after any illegal move, inconsistent position or other fault.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "board/consistency.h"
#include "board/fen.h"
#include "book/openinglist.h"
#include "book/san.h"
#include "support/childprocess.h"
#include "game/cable.h"
#include "game/history.h"
#include "game/settings.h"
#include "referee.h"
#include "search/search.h"

namespace zarvi::soak {

namespace {

struct Options {
    int games = 300;     // in process
    int uciGames = 100;  // through the engine binary
    int depth = 3;       // each side of a game searches depth - 2 .. depth + 1
    int movetimeMs = 0;  // when set, every other pair of UCI games uses go movetime
    uint64_t series = 1;
    int longEvery = 25;  // every n-th game of each kind runs past the history's end
    int maxPlies = 600;  // UCI games whose engine plies exceed this are adjudicated
    bool verbose = false;
    std::string engine = ZARVI_ENGINE;
    std::string book = ZARVI_SOURCE_DIR "/data/librito.txt";
    std::string openings = ZARVI_SOURCE_DIR "/data/openings.txt";
};

// The endings in the order the report lists them.
const char* const endingKinds[] = {"mate",         "stalemate",      "threefold repetition",
                                   "fifty moves",  "insufficient material", "resignation",
                                   "history full", "length cap",     "aborted by a fault"};
const char* const aborted = "aborted by a fault";

// The history-full games shuffle without captures or repetitions up to
// this many plies before the end, then play the normal sequence.
constexpr int longGameTail = 12;
// From this halfmove clock on, the shuffle advances a pawn.
constexpr int shuffleResetClock = 90;

struct Tally {
    int games = 0;
    int longGames = 0;  // shuffled to the history's capacity
    long plies = 0;
    double seconds = 0;
    std::map<std::string, int> endings;
};

// splitmix64: one generator per game from the series and the game's number,
// so that a faulty game can be replayed alone.
class Rng {
public:
    Rng(uint64_t series, int game) : state(series * 0x9E3779B97F4A7C15ull + uint64_t(game) * 0xBF58476D1CE4E5B9ull) {}
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t state;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

uint32_t noMilliseconds() { return 0; }

// The mate a side's search announced and is carrying out. The soak's
// "user" searches with the game's own searcher, so each side keeps its
// own while the other searches.
struct MateMemory {
    int mode = 0;
    int expectedPly = 1;
    int inMoves = 1;
    int resign = 0;
};

void swapMemory(buscador& searcher, MateMemory& memory) {
    std::swap(searcher.mateMode, memory.mode);
    std::swap(searcher.expectedMatePly, memory.expectedPly);
    std::swap(searcher.mateInMoves, memory.inMoves);
    std::swap(searcher.resignRequest, memory.resign);
}

class Soak {
public:
    explicit Soak(const Options& o) : options(o), referee(*game().searcher) {}

    int run();

private:
    // The game object and its searcher exist once: a second searcher would
    // allocate the program-wide tables again.
    static cable& game() {
        static cable theGame;
        return theGame;
    }

    void fault(int& counter, const std::string& what);
    void loadOpenings();
    // Varied starts: a line of the opening list cut short, some random
    // plies, both, or (book on) nothing so that the book chooses.
    bool playOpening(Rng& rng, bool bookOn, const std::function<bool(const Move&)>& play);
    Move randomOpenMove(Rng& rng);
    int depthAround(Rng& rng) const;

    // The in-process games.
    void playInProcess(int index);
    bool enterMove(int side, const Move& move);
    bool engineMove(int side, int depth);
    bool checkAfterMove(const Move& move);
    bool checkNoMissedEnding(bool afterReply);
    Move chooseUserMove(Rng& rng, int side, int depth, int randomPercent);
    Move shuffleMove(Rng& rng);
    std::string classify(Ending ending, int engineSide, bool canResign);

    // The UCI games.
    bool startEngine();
    void playUci(int index);
    bool askEngine(const std::string& command, const std::string& answer, std::string& line, int64_t timeoutMs);

    void report(const char* title, const Tally& tally) const;

    Options options;
    Referee referee;
    std::vector<OpeningLine> openings;
    MateMemory userMemory;
    std::unique_ptr<test::ChildProcess> engine;
    std::FILE* discard = nullptr;  // where the game's book lists its candidates
    std::string context;  // which game, for fault messages
    Tally inProcess, uci;
    int illegal = 0;
    int inconsistent = 0;
    int otherFaults = 0;
};

void Soak::fault(int& counter, const std::string& what) {
    ++counter;
    std::cout << "FAULT " << context << ", after " << referee.plies << " plies: " << what << "\n  moves: "
              << referee.movesText() << "\n  fen: " << referee.fen() << std::endl;
}

void Soak::loadOpenings() {
    const std::string error = readOpeningList(options.openings, openings);
    if (!error.empty()) {
        context = "opening list";
        fault(otherFaults, options.openings + ": " + error);
    }
}

// Unequal depths decide games; a depth-1 side blunders into stalemates and
// lets fifty-move endings run out.
int Soak::depthAround(Rng& rng) const { return std::max(1, options.depth - 2 + rng.below(4)); }

// A random legal move that neither ends the game nor leaves too little
// material: an opening should lead to a game.
Move Soak::randomOpenMove(Rng& rng) {
    std::vector<Move> moves = referee.legalMoves();
    while (!moves.empty()) {
        const int i = rng.below(int(moves.size()));
        if (referee.keepsGameOpen(moves[size_t(i)])) return moves[size_t(i)];
        moves.erase(moves.begin() + i);
    }
    return {0, 0};
}

bool Soak::playOpening(Rng& rng, bool bookOn, const std::function<bool(const Move&)>& play) {
    const int kind = rng.below(bookOn ? 4 : 3);
    if ((kind == 0 || kind == 2) && !openings.empty()) {
        const OpeningLine& line = openings[size_t(rng.below(int(openings.size())))];
        const int plies = 1 + rng.below(int(line.moves.size()));
        for (int i = 0; i < plies; ++i) {
            Move move{0, 0};
            const std::string error = readSanMove(referee.board, referee.side, line.moves[size_t(i)], move);
            if (!error.empty()) {
                fault(otherFaults, "opening line " + std::to_string(line.lineNumber) + ": " + error);
                return false;
            }
            if (!play(move)) return false;
        }
    }
    if (kind == 1 || kind == 2) {
        const int plies = kind == 1 ? 2 + rng.below(7) : 1 + rng.below(4);
        for (int i = 0; i < plies; ++i) {
            const Move move = randomOpenMove(rng);
            if (move.from == 0 || !play(move)) break;
        }
    }
    return true;
}

// --- In process: the game object as the front end drives it ------------

// A move of the side through enterUserMove (and applyPromotion), as the
// front end enters the user's click.
bool Soak::enterMove(int side, const Move& move) {
    cable& g = game();
    if (!referee.isLegal(move)) {
        fault(illegal, "move " + referee.text(move) + " chosen for the user is not legal");
        return false;
    }
    const bool promotes = referee.promotes(move);
    if (g.enterUserMove(side, move.from, referee.destination(move)) != 1) {
        fault(otherFaults, "the game refused the legal move " + referee.text(move));
        return false;
    }
    if (g.promotionPending != int(promotes)) {
        fault(otherFaults, "promotion pending " + std::to_string(g.promotionPending) + " after " + referee.text(move));
        return false;
    }
    if (promotes) {
        g.promotionPending = 0;
        g.applyPromotion(side, move.to & 7);
    }
    return checkAfterMove(move);
}

// The engine's move by computerMove; a move it plays must be legal, and
// no move is allowed only when the rules leave none to play for.
bool Soak::engineMove(int side, int depth) {
    cable& g = game();
    const int before = gameHistory.moveCount;
    setDepthLimit(depth);
    g.computerMove(side);
    const int status = g.result->status;
    if (gameHistory.moveCount == before + 1) {
        const Move move = gameHistory.historyMoves[before + 1];
        if (!referee.isLegal(move)) {
            fault(illegal, "the engine played " + std::to_string(move.from) + "-" + std::to_string(move.to) +
                               " (" + referee.text(move) + "), not legal here");
            return false;
        }
        return checkAfterMove(move);
    }
    if (gameHistory.moveCount != before) {
        fault(otherFaults, "computerMove changed the history by " + std::to_string(gameHistory.moveCount - before));
        return false;
    }
    const bool noMove = referee.legalMoves().empty();
    const bool explained = (status == -1 && noMove && referee.inCheck()) ||
                           (status == 2 && ((noMove && !referee.inCheck()) || referee.insufficientMaterial() ||
                                            referee.plies >= historyCapacity));
    if (!explained) {
        fault(illegal, "the engine made no move (status " + std::to_string(status) + ") with " +
                           std::to_string(referee.legalMoves().size()) + " legal moves");
        return false;
    }
    return true;
}

// After every ply: the referee plays the same move on its own board; the
// game's views must equal a recomputation, its position the referee's,
// and its history the moves and keys played.
bool Soak::checkAfterMove(const Move& move) {
    const cable& g = game();
    referee.play(move);
    const int n = gameHistory.moveCount;
    if (n != referee.plies || !(gameHistory.historyMoves[n] == move) || gameHistory.historyKey1[n] != g.board.key2 ||
        gameHistory.historyKey2[n] != g.board.key3) {
        fault(inconsistent, "the history does not end with the move and keys just played");
        return false;
    }
    const std::string why = findInconsistency(g.board, referee.side);
    if (!why.empty()) {
        fault(inconsistent, "game position: " + why);
        return false;
    }
    const std::string fen = writeFen(g.board, FenGame{referee.side, referee.fullmove});
    if (fen != referee.fen() || g.board.key1 != referee.board.key1 || g.board.key2 != referee.board.key2 ||
        g.board.key3 != referee.board.key3) {
        fault(inconsistent, "game position " + fen + " differs from the referee's");
        return false;
    }
    return true;
}

// When the game object reports no ending, the rules must agree that the
// game goes on (its repetitions leave out the initial position).
bool Soak::checkNoMissedEnding(bool afterReply) {
    std::string missed;
    if (referee.board.halfmoveClock >= 100) missed = "fifty moves";
    if (referee.repetitions(false) >= 3) missed = "threefold repetition";
    if (referee.plies >= historyCapacity) missed = "history full";
    if (afterReply && referee.legalMoves().empty()) missed = referee.inCheck() ? "mate" : "stalemate";
    if (missed.empty()) return true;
    fault(otherFaults, "the game goes on after " + missed);
    return false;
}

// The user's move: usually the game's own search at the user's depth,
// sometimes a random legal move (a blunder that opens the game).
Move Soak::chooseUserMove(Rng& rng, int side, int depth, int randomPercent) {
    const std::vector<Move> legal = referee.legalMoves();
    if (rng.below(100) < randomPercent) return legal[size_t(rng.below(int(legal.size())))];
    buscador& searcher = *game().searcher;
    swapMemory(searcher, userMemory);
    setDepthLimit(depth);
    startSearch(searcher, game().board, side);
    swapMemory(searcher, userMemory);
    const SearchResult& r = searcher.result;
    // Too little material ends the search without a move; any will do.
    if (r.status != 0 && r.status != 1) return legal[size_t(rng.below(int(legal.size())))];
    return {r.from, r.to};
}

// A move of the long games: no capture and no repetition, a pawn advance
// only when the fifty-move rule draws near, never a mate or stalemate.
Move Soak::shuffleMove(Rng& rng) {
    std::vector<Move> moves = referee.legalMoves();
    for (size_t i = moves.size(); i > 1; --i) std::swap(moves[i - 1], moves[size_t(rng.below(int(i)))]);
    const bool wantPawn = referee.board.halfmoveClock >= shuffleResetClock;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Move& m : moves) {
            const bool pawnMove = typeOf(referee.board.squares[m.from]) == pawn;
            if (pass == 0 && (referee.captures(m) || pawnMove != wantPawn)) continue;
            if (!referee.repeatsPosition(m) && referee.keepsGameOpen(m)) return m;
        }
    }
    return {0, 0};
}

// The ending as the game object reported it, named by the rule behind it
// once the referee has confirmed that rule.
std::string Soak::classify(Ending ending, int engineSide, bool canResign) {
    const bool noMove = referee.legalMoves().empty();
    std::string kind;
    switch (ending) {
        case Ending::repetitionDraw:
            if (referee.repetitions(false) >= 3) kind = "threefold repetition";
            break;
        case Ending::fiftyMoveDraw:
            if (referee.board.halfmoveClock >= 100) kind = "fifty moves";
            break;
        case Ending::engineResigns:
            if (canResign) kind = "resignation";
            break;
        case Ending::userWins:
        case Ending::engineWins:
            if (noMove && referee.inCheck() && (referee.side == engineSide) == (ending == Ending::userWins))
                kind = "mate";
            break;
        case Ending::engineDeclaresDraw:
            if (referee.plies >= historyCapacity) kind = "history full";
            else if (noMove && !referee.inCheck()) kind = "stalemate";
            else if (referee.insufficientMaterial()) kind = "insufficient material";
            break;
        case Ending::none: break;
    }
    if (kind.empty())
        fault(otherFaults, "ending '" + std::string(endingText(ending, 1)) + "' that the rules do not support");
    return kind.empty() ? aborted : kind;
}

// One game in process. Even games use the book, games 0 and 1 of every
// four may resign; the user side searches too, or shuffles first in the
// long games that fill the history.
void Soak::playInProcess(int index) {
    cable& g = game();
    Rng rng(options.series, index);
    const bool bookOn = index % 2 == 0;
    const bool canResign = index % 4 < 2;
    const bool longGame = options.longEvery > 0 && index % options.longEvery == options.longEvery - 1;
    context = "in-process game " + std::to_string(index) + " (series " + std::to_string(options.series) + ")";
    settings.useBook = bookOn;
    settings.canResign = canResign;
    g.newGame();
    g.book->startRandom(uint32_t(rng.next()));
    referee.reset();
    userMemory = MateMemory{};
    const int engineSide = rng.below(2), userSide = 1 - engineSide;
    const int engineDepth = depthAround(rng), userDepth = depthAround(rng);
    const int randomPercent = rng.below(2) ? 0 : 4;

    bool ok = playOpening(rng, bookOn, [&](const Move& m) { return enterMove(referee.side, m); });
    Ending ending = Ending::none;
    while (ok && longGame && referee.plies < historyCapacity - longGameTail) {
        const Move m = shuffleMove(rng);
        if (m.from == 0) break;
        ok = enterMove(referee.side, m);
        ending = g.endingBeforeReply();
        if (ending != Ending::none) break;
    }
    if (ok && ending == Ending::none && referee.side == engineSide) {
        // The engine moves first, as after the front end's switch of sides.
        ok = engineMove(engineSide, engineDepth);
        ending = g.endingAfterReply(userSide);
    }
    while (ok && ending == Ending::none) {
        if (!checkNoMissedEnding(true)) break;
        ok = enterMove(userSide, chooseUserMove(rng, userSide, userDepth, randomPercent));
        if (!ok) break;
        ending = g.endingBeforeReply();
        if (ending != Ending::none) break;
        if (!checkNoMissedEnding(false)) break;
        ok = engineMove(engineSide, engineDepth);
        if (ok) ending = g.endingAfterReply(userSide);
    }
    std::string kind = aborted;
    if (ok && ending != Ending::none) kind = classify(ending, engineSide, canResign);
    if (kind == "history full") {
        // A full history takes no further move from either side.
        const std::vector<Move> legal = referee.legalMoves();
        g.computerMove(referee.side);
        if (!legal.empty() && g.enterUserMove(referee.side, legal[0].from, legal[0].to) != 0)
            fault(otherFaults, "a full history took a user move");
        if (gameHistory.moveCount != historyCapacity || g.result->status != 2)
            fault(otherFaults, "a full history took an engine move");
    }
    ++inProcess.games;
    inProcess.longGames += longGame;
    inProcess.plies += referee.plies;
    ++inProcess.endings[kind];
    if (options.verbose)
        std::cout << context << ": " << kind << " after " << referee.plies << " plies (book " << bookOn
                  << ", resign " << canResign << ", depths " << engineDepth << "/" << userDepth << ")" << std::endl;
}

// --- Through UCI: the engine binary as a child process ------------------

// Sends command and reads up to the line starting with answer; a refusal
// on the way is a fault.
bool Soak::askEngine(const std::string& command, const std::string& answer, std::string& line, int64_t timeoutMs) {
    if (!engine->send(command)) return false;
    const auto start = std::chrono::steady_clock::now();
    while (engine->readLine(line, timeoutMs - int64_t(secondsSince(start) * 1000))) {
        if (line.compare(0, answer.size(), answer) == 0) return true;
        if (line.find("refused") != std::string::npos || line.find("cannot") != std::string::npos)
            fault(otherFaults, "the engine answered '" + line + "'");
    }
    return false;
}

bool Soak::startEngine() {
    engine = std::make_unique<test::ChildProcess>(options.engine, std::vector<std::string>{}, true);
    std::string line;
    if (engine->running() && askEngine("uci", "uciok", line, 10000) &&
        engine->send("setoption name BookFile value " + options.book) && askEngine("isready", "readyok", line, 10000))
        return true;
    fault(otherFaults, "the engine " + options.engine + " did not start (" + engine->stop() + ")");
    engine.reset();
    return false;
}

// One game through UCI, the referee keeping the game: the engine plays
// both sides, book on in even games, and in every other pair of games by
// movetime when one is given. A long game shuffles past the game history's
// capacity first, which the engine must trim to its latest plies.
void Soak::playUci(int index) {
    Rng rng(options.series, -1 - index);
    context = "UCI game " + std::to_string(index) + " (series " + std::to_string(options.series) + ")";
    referee.reset();
    if (!engine && !startEngine()) {
        ++uci.games;
        ++uci.endings[aborted];
        return;
    }
    const bool bookOn = index % 2 == 0;
    const bool byTime = options.movetimeMs > 0 && index % 4 >= 2;
    const int depths[2] = {depthAround(rng), depthAround(rng)};
    std::string line;
    bool ok = engine->send("ucinewgame") &&
              engine->send(std::string("setoption name OwnBook value ") + (bookOn ? "true" : "false")) &&
              askEngine("isready", "readyok", line, 10000);
    ok = ok && playOpening(rng, bookOn, [&](const Move& m) {
             referee.play(m);
             return true;
         });
    const bool longGame = options.longEvery > 0 && index % options.longEvery == options.longEvery - 1;
    while (ok && longGame && referee.plies < historyCapacity + longGameTail) {
        const Move m = shuffleMove(rng);
        if (m.from == 0) break;
        referee.play(m);
    }
    const int engineStart = referee.plies;
    std::string kind;
    while (ok && kind.empty()) {
        const Rule rule = referee.rule(true);
        if (rule != Rule::none) {
            kind = ruleName(rule);
            break;
        }
        if (referee.plies - engineStart >= options.maxPlies) {
            kind = "length cap";
            break;
        }
        const std::string moves = referee.movesText();
        const std::string position = "position startpos" + (moves.empty() ? "" : " moves " + moves);
        ok = engine->send(position) && askEngine("d", "info string fen ", line, 10000);
        if (!ok) break;
        if (line != "info string fen " + referee.fen()) {
            fault(inconsistent, "the engine's position is " + line.substr(16));
            ok = false;
            break;
        }
        const std::string go = byTime ? "go movetime " + std::to_string(options.movetimeMs)
                                      : "go depth " + std::to_string(depths[referee.side]);
        ok = askEngine(go, "bestmove", line, byTime ? options.movetimeMs + 10000 : 60000);
        if (!ok) break;
        const std::string text = line.substr(9, line.find(' ', 9) - 9);
        const Move move = referee.parse(text);
        if (move.from == 0 || !referee.isLegal(move)) {
            fault(illegal, "the engine answered '" + line + "' with " + std::to_string(referee.legalMoves().size()) +
                               " legal moves");
            break;
        }
        referee.play(move);
    }
    if (!ok) {
        fault(otherFaults, "the engine stopped answering (" + engine->stop() + ")");
        engine.reset();
    }
    if (kind.empty()) kind = aborted;
    ++uci.games;
    uci.longGames += longGame;
    uci.plies += referee.plies;
    ++uci.endings[kind];
    if (options.verbose)
        std::cout << context << ": " << kind << " after " << referee.plies << " plies (book " << bookOn
                  << ", engine from ply " << engineStart << ", "
                  << (byTime ? "movetime" : "depth " + std::to_string(depths[0]) + "/" + std::to_string(depths[1]))
                  << ")" << std::endl;
}

void Soak::report(const char* title, const Tally& tally) const {
    std::printf("%s: %d games (%d long), %ld plies, %.1f s\n ", title, tally.games, tally.longGames, tally.plies,
                tally.seconds);
    const char* separator = " ";
    for (const char* kind : endingKinds) {
        const auto found = tally.endings.find(kind);
        std::printf("%s%s %d", separator, kind, found == tally.endings.end() ? 0 : found->second);
        separator = ", ";
    }
    std::printf("\n");
}

int Soak::run() {
    const auto start = std::chrono::steady_clock::now();
    cable& g = game();
    discard = std::fopen("/dev/null", "w");
    g.book = std::make_unique<librito>(options.book.c_str());
    if (g.book->length == 0) {
        context = "book";
        fault(otherFaults, "cannot read " + options.book);
    }
    // The book's draw depends on the series alone, so a game can be replayed.
    g.book->setClock(noMilliseconds);
    if (discard) g.book->listing = discard;
    loadOpenings();

    auto phase = std::chrono::steady_clock::now();
    for (int i = 0; i < options.games; ++i) {
        playInProcess(i);
        if ((i + 1) % 50 == 0) std::cout << "in-process: " << i + 1 << " games" << std::endl;
    }
    inProcess.seconds = secondsSince(phase);
    phase = std::chrono::steady_clock::now();
    for (int i = 0; i < options.uciGames; ++i) {
        playUci(i);
        if ((i + 1) % 25 == 0) std::cout << "UCI: " << i + 1 << " games" << std::endl;
    }
    if (engine) engine->stop();
    uci.seconds = secondsSince(phase);

    std::printf("Soak, series %llu, depth %d (each side of a game %d to %d)", (unsigned long long)options.series,
                options.depth, std::max(1, options.depth - 2), options.depth + 1);
    if (options.movetimeMs > 0) std::printf(", every other pair of UCI games at movetime %d ms", options.movetimeMs);
    std::printf("\n");
    report("in-process (game object)", inProcess);
    report("UCI (engine binary)", uci);
    std::printf("illegal moves: %d\ninconsistencies: %d\nother faults: %d\nwall time: %.1f s\n", illegal,
                inconsistent, otherFaults, secondsSince(start));
    if (discard) std::fclose(discard);
    return illegal + inconsistent + otherFaults == 0 ? 0 : 1;
}

bool readOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const std::string v = argv[++i];
        char* end = nullptr;
        const long long n = std::strtoll(v.c_str(), &end, 10);
        const bool number = !v.empty() && *end == '\0' && n >= 0 && n <= 1000000000;
        if (a == "--engine") o.engine = v;
        else if (a == "--book") o.book = v;
        else if (a == "--openings") o.openings = v;
        else if (!number) return false;
        else if (a == "--games") o.games = int(n);
        else if (a == "--uci-games") o.uciGames = int(n);
        else if (a == "--depth" && n >= 1 && n < deepestIteration) o.depth = int(n);
        else if (a == "--movetime") o.movetimeMs = int(n);
        else if (a == "--series") o.series = uint64_t(n);
        else if (a == "--long-every") o.longEvery = int(n);
        else if (a == "--max-plies") o.maxPlies = int(n);
        else return false;
    }
    return true;
}

}  // namespace

}  // namespace zarvi::soak

int main(int argc, char** argv) {
    zarvi::soak::Options options;
    if (!zarvi::soak::readOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: zarvi-soak [--games N] [--uci-games N] [--depth D] [--movetime MS] [--series S]\n"
                     "                  [--long-every N] [--max-plies N] [--engine PATH] [--book PATH]\n"
                     "                  [--openings PATH] [--verbose]\n");
        return 2;
    }
    // Small tables: the games are fast and the machine is shared.
    zarvi::settings.hashSizeFactor = 2;
    zarvi::settings.language = 1;
    return zarvi::soak::Soak(options).run();
}
