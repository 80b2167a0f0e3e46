// The soak test: the engine plays itself for hundreds of fast games through
// the game object as the window drives it, while a referee with its own
// copy of every game checks each move, each position and each ending. (The
// engine binary meets its referee in the stress test.) Run by make soak (make test
// runs a smoke run); exits non-zero after any fault, naming the game.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "board/consistency.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "book/openinglist.h"
#include "book/san.h"
#include "eval/settings.h"
#include "game/cable.h"
#include "search/history.h"
#include "search/search.h"
#include "support/referee.h"

namespace zarvi::soak {

namespace {

using test::Referee;

// The knobs: games; the depth (each side of a game searches depth - 2 ..
// depth + 1); the series of random games; every n-th game shuffles past
// the history's 999 plies.
std::map<std::string, int> knobs = {{"--games", 300}, {"--depth", 3}, {"--series", 1}, {"--long-every", 25}};

// One generator a game, from the series and the game's number, so that a
// faulty game can be replayed alone.
struct Rng {
    std::mt19937_64 engine;
    int below(int n) { return int(engine() % uint64_t(n)); }
    int depth() { return std::max(1, knobs["--depth"] - 2 + below(4)); }
};

class Soak {
public:
    int run() {
        const auto start = std::chrono::steady_clock::now();
        g.book = std::make_unique<librito>(ZARVI_SOURCE_DIR "/data/librito.txt");
        // The book's draw depends on the series alone, so a game can be replayed.
        g.book->setClock([] { return 0u; });
        std::FILE* discard = std::fopen("/dev/null", "w");
        if (discard) g.book->listing = discard;
        const std::string error = readOpeningList(ZARVI_SOURCE_DIR "/data/openings.txt", openings);
        if (g.book->length == 0 || !error.empty()) fault("cannot read the book or the opening list " + error);
        for (int i = 0; i < knobs["--games"]; ++i) playInProcess(i);
        if (discard) std::fclose(discard);
        std::printf("%d games, %ld plies;", knobs["--games"], plies);
        for (const auto& [name, count] : endings) std::printf(" %s %d,", name.c_str(), count);
        std::printf("\nseries %d, depth %d: %d faults in %.1f s\n", knobs["--series"], knobs["--depth"], faults,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        return faults == 0 ? 0 : 1;
    }

private:
    bool fault(const std::string& what) {
        ++faults;
        std::cout << "FAULT " << context << ", after " << referee.plies() << " plies: " << what
                  << "\n  moves: " << referee.movesText() << "\n  fen: " << referee.fen() << std::endl;
        return false;
    }

    // A random move that leaves a game to play; a shuffle also never
    // repeats and, while it can, neither resets the fifty-move count nor
    // leaves the pawns alone once fifty moves draw near.
    Move randomMove(Rng& rng, bool shuffle) {
        for (int pass = shuffle ? 0 : 1; pass < 2; ++pass) {
            std::vector<Move> left = referee.legalMoves();
            while (!left.empty()) {
                const size_t i = size_t(rng.below(int(left.size())));
                const Move m = left[i];
                left.erase(left.begin() + long(i));
                posicion after = referee.board;
                makeMove(after, m.from, m.to, referee.side);
                const bool pawnMove = typeOf(referee.board.squares[m.from]) == pawn;
                if (shuffle && (referee.repetitions(true, m) > 1 ||
                                (pass == 0 && (referee.board.halfmoveClock >= 90 ? !pawnMove : after.halfmoveClock == 0))))
                    continue;
                Referee next(after, 1 - referee.side);
                if (!next.legalMoves().empty() && !next.insufficientMaterial()) return m;
            }
        }
        return {0, 0};
    }

    // A cut line of the opening list, random plies, both, or (book on)
    // nothing so that the book chooses.
    bool playOpening(Rng& rng, bool bookOn) {
        const int kind = rng.below(bookOn ? 4 : 3);
        if (kind % 2 == 0) {
            const OpeningLine& line = openings[size_t(rng.below(int(openings.size())))];
            for (int i = 0, n = 1 + rng.below(int(line.moves.size())); i < n; ++i) {
                Move move{0, 0};
                const std::string error = readSanMove(referee.board, referee.side, line.moves[size_t(i)], move);
                if (!error.empty()) return fault("opening line " + std::to_string(line.lineNumber) + ": " + error);
                if (!enterMove(move)) return false;
            }
        }
        for (int i = 0, n = kind == 1 ? 2 + rng.below(7) : kind == 2 ? 1 + rng.below(4) : 0; i < n; ++i) {
            const Move move = randomMove(rng, false);
            if (move.from == 0 || !enterMove(move)) break;
        }
        return true;
    }

    // A user move through enterUserMove (and applyPromotion), as the
    // window enters the clicks.
    bool enterMove(const Move& move) {
        if (!referee.isLegal(move)) return fault("the user's move " + referee.text(move) + " is not legal");
        if (g.enterUserMove(referee.side, move.from, referee.destination(move)) != 1 ||
            g.promotionPending != int(referee.promotes(move)))
            return fault("the game refused or mistook the legal move " + referee.text(move));
        if (g.promotionPending) {
            g.promotionPending = 0;
            g.applyPromotion(referee.side, move.to & 7);
        }
        return sameGame(move);
    }

    // The engine's move by computerMove: a legal one, or none only when the
    // rules leave nothing to play for.
    bool engineMove(int side, int depth) {
        const int before = gameHistory.moveCount;
        setDepthLimit(depth);
        g.computerMove(side);
        const int status = g.result->status;
        if (gameHistory.moveCount == before + 1) {
            const Move move = gameHistory.historyMoves[before + 1];
            return referee.isLegal(move) ? sameGame(move) : fault("the engine played the illegal " + referee.text(move));
        }
        const bool noMove = referee.legalMoves().empty();
        if (gameHistory.moveCount == before &&
            ((status == -1 && noMove && referee.inCheck()) ||
             (status == 2 && ((noMove && !referee.inCheck()) || referee.insufficientMaterial() || referee.plies() >= 999))))
            return true;
        return fault("the engine made no single move (status " + std::to_string(status) + ") with " +
                     std::to_string(referee.legalMoves().size()) + " legal moves");
    }

    // After every ply the referee plays it too: the game's views (keys
    // included) must equal a recomputation, its position the referee's, its
    // history the moves and keys.
    bool sameGame(const Move& move) {
        referee.play(move);
        const int n = gameHistory.moveCount;
        if (n != referee.plies() || !(gameHistory.historyMoves[n] == move) || gameHistory.historyKey1[n] != g.board.key2 ||
            gameHistory.historyKey2[n] != g.board.key3)
            return fault("the history does not end with the move and keys just played");
        const std::string why = findInconsistency(g.board, referee.side);
        const std::string fen = writeFen(g.board, FenGame{referee.side, referee.fullmove});
        if (!why.empty() || fen != referee.fen())
            return fault("the game's position " + fen + " differs from the referee's: " + why);
        return true;
    }

    // The ending the game object reported (none included), judged by the
    // rules as the referee finds them: kind is the rule behind it, and a
    // fault is an ending the rules do not support or one the game missed.
    // The game's repetitions leave out the initial position.
    bool judge(Ending ending, bool afterReply, int engineSide, bool canResign, std::string& kind) {
        const bool noMove = referee.legalMoves().empty(), check = referee.inCheck(), full = referee.plies() >= 999;
        const bool repeated = referee.repetitions(false) >= 3, fifty = referee.board.halfmoveClock >= 100;
        const bool mate = noMove && check && (referee.side == engineSide) == (ending == Ending::userWins);
        const std::map<Ending, std::pair<bool, const char*>> rules = {
            {Ending::none, {!repeated && !fifty && !full && !(afterReply && noMove), ""}},
            {Ending::repetitionDraw, {repeated, "threefold repetition"}},
            {Ending::fiftyMoveDraw, {fifty, "fifty moves"}},
            {Ending::engineResigns, {canResign, "resignation"}},
            {Ending::userWins, {mate, "mate"}},
            {Ending::engineWins, {mate, "mate"}},
            {Ending::engineDeclaresDraw,
             {full || (noMove && !check) || referee.insufficientMaterial(),
              full ? "history full" : noMove ? "stalemate" : "insufficient material"}}};
        kind = rules.at(ending).second;
        return rules.at(ending).first || fault("the game's ending '" + std::string(endingText(ending, 1)) +
                                               "' is not the rules'");
    }

    // Even games use the book, games 0 and 1 of every four may resign. The
    // user side searches with the game's own searcher too, keeping its own
    // announced mate.
    void playInProcess(int index) {
        buscador& searcher = *g.searcher;
        Rng rng{std::mt19937_64(uint64_t(knobs["--series"]) * 1000003u + uint64_t(index))};
        const bool bookOn = index % 2 == 0, canResign = index % 4 < 2;
        const bool longGame = knobs["--long-every"] > 0 && index % knobs["--long-every"] == knobs["--long-every"] - 1;
        std::string kind;
        context = "game " + std::to_string(index) + " (series " + std::to_string(knobs["--series"]) + ")";
        settings.useBook = bookOn;
        settings.canResign = canResign;
        g.newGame();
        g.book->startRandom(uint32_t(rng.below(1 << 30)));
        referee.setUp("startpos");
        const int engineSide = rng.below(2), userSide = 1 - engineSide, engineDepth = rng.depth(), userDepth = rng.depth();
        int userMate[3] = {0, 1, 1};
        const auto swapMate = [&] {
            std::swap(searcher.mateMode, userMate[0]);
            std::swap(searcher.expectedMatePly, userMate[1]);
            std::swap(searcher.mateInMoves, userMate[2]);
        };
        const auto userMove = [&] {
            const std::vector<Move> legal = referee.legalMoves();
            swapMate();
            setDepthLimit(userDepth);
            startSearch(searcher, g.board, userSide);
            swapMate();
            // Too little material ends the search without a move; any will do.
            const SearchResult& r = searcher.result;
            return r.status == 0 || r.status == 1 ? Move{r.from, r.to} : legal[size_t(rng.below(int(legal.size())))];
        };

        bool ok = playOpening(rng, bookOn);
        Ending ending = Ending::none;
        for (Move m; ok && ending == Ending::none && longGame && referee.plies() < 987 && (m = randomMove(rng, true)).from;)
            ok = enterMove(m) && judge(ending = g.endingBeforeReply(), false, engineSide, canResign, kind);
        // The engine may move first, as after the window's switch of sides.
        for (bool engineTurn = referee.side == engineSide; ok && ending == Ending::none; engineTurn = !engineTurn)
            ok = engineTurn ? engineMove(engineSide, engineDepth) &&
                                  judge(ending = g.endingAfterReply(userSide), true, engineSide, canResign, kind)
                            : enterMove(userMove()) &&
                                  judge(ending = g.endingBeforeReply(), false, engineSide, canResign, kind);
        plies += referee.plies();
        ++endings[ok ? kind : "aborted by a fault"];
    }

    // The game object exists once: a second searcher would allocate the
    // program-wide tables again.
    cable g;
    Referee referee;
    std::vector<OpeningLine> openings;
    std::string context;  // which game, for fault messages
    std::map<std::string, int> endings;
    long plies = 0;
    int faults = 0;
};

}  // namespace

}  // namespace zarvi::soak

int main(int argc, char** argv) {
    using zarvi::soak::knobs;
    for (int i = 1; i < argc; i += 2) {
        char* end = nullptr;
        const long n = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : -1;
        if (!knobs.count(argv[i]) || n < 0 || *end != '\0' || end == argv[i + 1] || n > 1000000000)
            return std::fprintf(stderr, "usage: zarvi-soak [--games N] [--depth D] [--series S] [--long-every N]\n"), 2;
        knobs[argv[i]] = int(n);
    }
    // Small tables: the games are fast and the machine is shared.
    zarvi::settings.hashSizeFactor = 2;
    zarvi::settings.language = 1;
    knobs["--depth"] = std::max(1, std::min(knobs["--depth"], 23));
    return zarvi::soak::Soak().run();
}
