// The stress test: one engine process driven through random sequences of
// new games, positions and searches of every kind, with isready, stop and
// changes of Threads at random moments, as a careless GUI would. Every best
// move must be legal (by the referee), come in time and come only when
// allowed; the engine must neither die nor report a data race on its error
// stream. Run by make stress (make test: a short run on the ThreadSanitizer
// build); exits non-zero on a fault, naming the series and the last lines. The
// series fixes the commands; their timing against the engine's does not repeat.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "board/tables.h"
#include "support/childprocess.h"
#include "support/referee.h"

namespace zarvi::stress {

namespace {

using Clock = std::chrono::steady_clock;
using test::millisecondsSince;
using std::to_string;

std::map<std::string, std::string> knobs = {
    {"--seconds", "30"}, {"--series", ""}, {"--engine", ZARVI_ENGINE}, {"--log", "stress.log"}};

// What is due at once (readyok, the best move after stop) gets patience,
// a clock this much more, go depth and go nodes the other: the sanitizer
// slows the engine, the machine is shared.
constexpr int64_t patience = 5000, fixedSearchPatience = 60000;

class Stress {
public:
    int run() {
        const auto start = Clock::now();
        std::printf("series %s, engine %s, its error stream in %s\n", knobs["--series"].c_str(), knobs["--engine"].c_str(),
                    knobs["--log"].c_str());
        std::ifstream bench(ZARVI_SOURCE_DIR "/data/bench.fen");
        for (std::string line; std::getline(bench, line);)
            if (!line.empty() && line[0] != '#') fens.push_back(line);
        if (fens.empty()) fault("no positions in " ZARVI_SOURCE_DIR "/data/bench.fen");
        ask("uci", "uciok", patience);
        say("setoption name BookFile value " ZARVI_SOURCE_DIR "/data/librito.txt");
        for (; millisecondsSince(start) < std::atoll(knobs["--seconds"].c_str()) * 1000; ++sequences) sequence();
        say("quit");
        const int code = engine.waitExit(patience);
        if (code != 0) fault(code < 0 ? "no exit after quit" : "the engine exited with " + to_string(code));
        if (!sanitizerReport().empty()) fault("a sanitizer report");
        std::printf("%lld sequences, %lld commands, %lld best moves judged legal in %.0f s\n%d isready during "
                    "searches (slowest readyok %lld ms), %d stops (slowest best move %lld ms)\nsearches by Threads:",
                    sequences, commands, bestMoves, double(millisecondsSince(start)) / 1000, readies, slowestReady,
                    stops, slowestStop);
        for (const auto& [n, count] : searchesByThreads) std::printf(" %d x%d", n, count);
        std::printf("\nthe engine quit cleanly, no sanitizer report: no fault\n");
        return 0;
    }

private:
    int below(int n) { return int(random() % uint64_t(n)); }

    [[noreturn]] void fault(const std::string& what) {
        std::cout << "FAULT with series " << knobs["--series"] << ": " << what << "\n  the last lines:\n";
        for (const std::string& line : recent) std::cout << "    " << line << "\n";
        std::cout << "  the engine: " << engine.stop() << "\n" << sanitizerReport() << std::flush;
        std::exit(1);
    }
    void remember(const std::string& line) {
        recent.push_back(line);
        if (recent.size() > 24) recent.pop_front();
    }
    // The engine's error stream from the first sanitizer line on.
    std::string sanitizerReport() {
        std::ifstream in(knobs["--log"]);
        std::string report;
        for (std::string line; std::getline(in, line);)
            if (!report.empty() || line.find("Sanitizer") != std::string::npos) report += line + "\n";
        return report;
    }

    void say(const std::string& line) {
        remember("> " + line);
        ++commands;
        if (!engine.send(line)) fault("the engine stopped reading (" + engine.stop() + ")");
    }
    // A best move is judged in the searched position, with its ponder move.
    void hear(const std::string& line) {
        if ((line.rfind("info", 0) != 0 && line.rfind("option", 0) != 0) || line.rfind("info string", 0) == 0)
            remember("< " + line);
        if (line.rfind("info string position refused", 0) == 0 || line.rfind("info string go refused", 0) == 0)
            fault("a refused command");
        if (line.rfind("bestmove", 0) != 0) return;
        if (!searching || !released) fault(searching ? "a best move before stop or ponderhit" : "a best move unasked");
        const std::string move = test::bestMoveOf(line);
        if (!searched.isLegal(move)) fault("an illegal best move in " + searched.fen());
        searched.play(searched.parse(move));
        const size_t ponder = line.find(" ponder ");
        if (ponder != std::string::npos && !searched.isLegal(line.substr(ponder + 8)))
            fault("an illegal ponder move in " + searched.fen());
        searching = false;
        lastBest = move;
        ++bestMoves;
    }
    // Reads up to a line starting with prefix, or for timeoutMs without one
    // as a GUI between its commands; how long that took.
    long long await(const std::string& prefix, int64_t timeoutMs) {
        const auto start = Clock::now();
        for (std::string line; engine.readLine(line, timeoutMs - millisecondsSince(start));) {
            hear(line);
            if (!prefix.empty() && line.rfind(prefix, 0) == 0) return millisecondsSince(start);
        }
        if (millisecondsSince(start) < timeoutMs) fault("the engine ended (" + engine.stop() + ")");
        if (!prefix.empty()) fault("no " + prefix + " within " + to_string(timeoutMs) + " ms");
        return timeoutMs;
    }
    long long ask(const std::string& command, const std::string& answer, int64_t timeoutMs) {
        say(command);
        return await(answer, timeoutMs);
    }

    // Between searches the engine takes the count; during one it must refuse it.
    void setThreads(bool between) {
        const int n = 1 + below(8);
        say("setoption name Threads value " + to_string(n));
        if (between) threads = n;
    }
    Move randomMove() { return referee.legalMoves()[size_t(below(int(referee.legalMoves().size())))]; }

    // A new game or not, options, a start (the initial position or a bench
    // position, some random plies on) and searches along a game that goes
    // on by the engine's moves and random ones.
    void sequence() {
        if (below(3) == 0) say("ucinewgame");
        if (below(3) == 0) setThreads(true);
        if (below(8) == 0) say("setoption name Hash value " + to_string(1 << below(5)));
        if (below(6) == 0) say(std::string("setoption name OwnBook value ") + (below(2) ? "true" : "false"));
        const std::string start = below(2) ? "startpos" : fens[size_t(below(int(fens.size())))];
        referee.setUp(start);
        for (int i = below(12); i > 0 && !referee.legalMoves().empty(); --i) referee.play(randomMove());
        for (int i = 1 + below(6); i > 0 && !referee.legalMoves().empty(); --i) {
            if (below(3) == 0) ask("isready", "readyok", patience);
            const std::string moves = referee.movesText();
            say((start == "startpos" ? "position startpos" : "position fen " + start) +
                (moves.empty() ? "" : " moves " + moves));
            search();
            referee.play(below(2) ? referee.parse(lastBest) : randomMove());
            if (below(2) && !referee.legalMoves().empty()) referee.play(randomMove());
        }
    }

    // One go of a random kind; while it runs, isready, Threads and stop at
    // random moments. An endless or pondering search ends by stop or
    // (pondering) ponderhit.
    void search() {
        const int kind = below(6), ours = 100 + below(3000), theirs = 100 + below(3000), increment = 50 * below(3);
        const int movetime = 1 + below(300);
        const bool white = referee.side == zarvi::white;
        const std::string clocks = " wtime " + to_string(white ? ours : theirs) + " btime " +
                                   to_string(white ? theirs : ours) + " winc " + to_string(increment) + " binc " +
                                   to_string(increment);
        const std::string goes[] = {"go" + clocks, "go movetime " + to_string(movetime), "go depth " + to_string(1 + below(5)),
                                    "go nodes " + to_string(100 + below(30000)), "go infinite", "go ponder" + clocks};
        const int64_t limits[] = {ours + patience, movetime + patience, fixedSearchPatience, fixedSearchPatience, 0,
                                  ours + patience};
        searched = referee;
        searching = true;
        released = kind < 4;
        ++searchesByThreads[threads];
        say(goes[kind]);
        for (int i = below(4); i > 0; --i) {
            await("", below(80));
            const int action = below(3);
            if (action == 0) {
                ++readies;
                slowestReady = std::max(slowestReady, ask("isready", "readyok", patience));
            } else if (action == 1) {
                setThreads(false);
            } else if (released) {
                // Also after the search ended, as a stop crossing its best move.
                say("stop");
                ++stops;
                if (searching) slowestStop = std::max(slowestStop, await("bestmove", patience));
            }
        }
        if (!released && kind == 5 && below(2)) {
            released = true;
            say("ponderhit");
        } else if (!released) {
            released = true;
            ++stops;
            slowestStop = std::max(slowestStop, ask("stop", "bestmove", patience));
        }
        if (searching) await("bestmove", limits[kind]);
    }

    std::mt19937_64 random{uint64_t(std::atoll(knobs["--series"].c_str()))};
    test::ChildProcess engine{knobs["--engine"], knobs["--log"]};
    test::Referee referee, searched;  // the game sent; the position of the search under way
    std::vector<std::string> fens;
    std::deque<std::string> recent;  // the last commands and answers
    std::string lastBest;
    bool searching = false, released = false;  // released: a best move may come
    int threads = 1, readies = 0, stops = 0;
    std::map<int, int> searchesByThreads;
    long long sequences = 0, commands = 0, bestMoves = 0, slowestReady = 0, slowestStop = 0;
};

}  // namespace

}  // namespace zarvi::stress

int main(int argc, char** argv) {
    auto& knobs = zarvi::stress::knobs;
    knobs["--series"] = std::to_string(std::random_device()() >> 1);
    for (int i = 1; i < argc; i += 2) {
        const std::string key = argv[i], value = i + 1 < argc ? argv[i + 1] : "";
        if (!knobs.count(key) || value.empty() ||
            (key.find("--s") == 0 && value.find_first_not_of("0123456789") != std::string::npos))
            return std::fprintf(stderr, "usage: zarvi-stress [--seconds S] [--series N] [--engine PATH] [--log FILE]\n"), 2;
        knobs[key] = value;
    }
    zarvi::buildTables();
    return zarvi::stress::Stress().run();
}
