// The engine binary as another program meets it: a child process spoken to
// through pipes, with real threads, clocks and end of input. POSIX only;
// under wine the session tests of this folder run in-process instead.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "referee.h"
#include "support/childprocess.h"
#include "version.h"

namespace zarvi {
namespace {

using Clock = std::chrono::steady_clock;

int64_t millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// zarvi-engine started with arguments; a line it cannot take fails the test.
class EngineProcess : public test::ChildProcess {
public:
    explicit EngineProcess(const std::vector<std::string>& arguments = {}) : ChildProcess(ZARVI_ENGINE, arguments) {}
    void send(const std::string& line) { ASSERT_TRUE(ChildProcess::send(line)) << line; }
};

// Generous for a search that should take a moment; the time checks below
// have limits of their own.
constexpr int64_t patience = 20000;
// What the other program may wait beyond a limit: the poll, the pipe and a
// busy machine's scheduler.
constexpr int64_t lateness = 100;

void expectLegal(const std::string& line, const std::string& fen, const std::vector<std::string>& moves) {
    test::RefereeGame game;
    ASSERT_TRUE(test::playMoves(fen, moves, game));
    const std::string move = test::bestMoveOf(line);
    EXPECT_TRUE(test::isLegalMove(game, move)) << line << " after " << moves.size() << " moves from " << fen;
}

TEST(UciProcess, HandshakeNamesTheEngineAndItsOptions) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    engine.send("uci");
    bool found = false;
    const std::vector<std::string> lines = engine.readUntil("uciok", patience, found);
    ASSERT_TRUE(found);
    EXPECT_EQ(lines.front(), "id name Zarvi " ZARVI_VERSION);
    EXPECT_EQ(lines[1], "id author the Zarvi developers");
    int options = 0;
    for (const std::string& l : lines) options += l.rfind("option name ", 0) == 0;
    EXPECT_EQ(options, 19);
    engine.send("isready");
    engine.readUntil("readyok", patience, found);
    EXPECT_TRUE(found);
}

TEST(UciProcess, SpecialMovesSetThePositionAndEveryAnswerIsLegal) {
    struct Case {
        std::string start;
        std::vector<std::string> moves;
        std::string fen;  // the position they reach, written out by hand
    };
    const Case cases[] = {
        {"startpos",
         {"e2e4", "g8f6", "e4e5", "d7d5", "e5d6", "e7d6", "g1f3", "f8e7", "f1e2", "e8g8", "e1g1"},
         "rnbq1rk1/ppp1bppp/3p1n2/8/8/5N2/PPPPBPPP/RNBQ1RK1 b - - 1 6"},
        {"startpos",
         {"d2d4", "d7d5", "b1c3", "g8f6", "c1f4", "e7e6", "d1d2", "f8e7", "e1c1", "c7c5", "d4c5", "b7b5"},
         "rnbqk2r/p3bppp/4pn2/1pPp4/5B2/2N5/PPPQPPPP/2KR1BNR w kq b6 0 7"},
        {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", {"b7b8n", "e8e7"}, "1N6/4k3/8/8/8/8/8/4K3 w - - 1 2"},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", {"a7b8q"}, "1Q2k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/8/8/p7/4K2R b K - 0 1", {"a2a1r"}, "4k3/8/8/8/8/8/8/r3K2R w K - 0 2"},
    };
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    for (const Case& c : cases) {
        std::string command = "position " + (c.start == "startpos" ? c.start : "fen " + c.start) + " moves";
        for (const std::string& m : c.moves) command += " " + m;
        engine.send(command);
        engine.send("d");
        std::string line;
        ASSERT_TRUE(engine.readLine(line, patience));
        EXPECT_EQ(line, "info string fen " + c.fen);
        engine.send("go depth 3");
        bool found = false;
        const std::vector<std::string> lines = engine.readUntil("bestmove", patience, found);
        ASSERT_TRUE(found) << command;
        expectLegal(lines.back(), c.start, c.moves);
    }
}

TEST(UciProcess, MoveTimeAndGameClocksAreKept) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    const std::vector<std::string> moves{"e2e4", "e7e5", "g1f3", "b8c6"};
    engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6");
    bool found = false;

    Clock::time_point start = Clock::now();
    engine.send("go movetime 300");
    std::vector<std::string> lines = engine.readUntil("bestmove", patience, found);
    ASSERT_TRUE(found);
    EXPECT_LE(millisecondsSince(start), 300 + lateness);
    expectLegal(lines.back(), "startpos", moves);

    // White has 3 s: a budget of (3000 - 50) / 20 = 147 ms and a hard limit
    // of four budgets.
    start = Clock::now();
    engine.send("go wtime 3000 btime 3000 winc 0 binc 0");
    lines = engine.readUntil("bestmove", patience, found);
    ASSERT_TRUE(found);
    EXPECT_LE(millisecondsSince(start), 4 * 147 + lateness);
    expectLegal(lines.back(), "startpos", moves);
    EXPECT_GE(lines.size(), 2u);  // the thinking came first
}

TEST(UciProcess, StopEndsAnEndlessSearchAtOnceAndIsreadyIsAnsweredDuringIt) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    engine.send("position startpos moves d2d4");
    engine.send("go infinite");
    bool found = false;
    engine.readUntil("bestmove", 300, found);
    ASSERT_FALSE(found) << "an endless search answered on its own";

    Clock::time_point start = Clock::now();
    engine.send("isready");
    std::vector<std::string> lines = engine.readUntil("readyok", patience, found);
    ASSERT_TRUE(found);
    EXPECT_LE(millisecondsSince(start), lateness);
    for (const std::string& l : lines) EXPECT_EQ(test::bestMoveOf(l), "") << "the search ended at isready";

    start = Clock::now();
    engine.send("stop");
    lines = engine.readUntil("bestmove", patience, found);
    ASSERT_TRUE(found);
    EXPECT_LE(millisecondsSince(start), lateness);
    expectLegal(lines.back(), "startpos", {"d2d4"});
}

TEST(UciProcess, AnEndlessSearchThatEndsItselfStillWaitsForStop) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    // A mate in one: the search is over at once.
    engine.send("position fen 7k/1p6/6K1/8/8/8/8/R7 w - - 0 1");
    engine.send("go infinite");
    bool found = false;
    engine.readUntil("bestmove", 300, found);
    ASSERT_FALSE(found);
    engine.send("stop");
    const std::vector<std::string> lines = engine.readUntil("bestmove", patience, found);
    ASSERT_TRUE(found);
    EXPECT_EQ(lines.back(), "bestmove a1a8");
}

TEST(UciProcess, PonderhitStartsTheClock) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    engine.send("position startpos moves e2e4 c7c5");
    engine.send("go ponder wtime 2000 btime 2000");
    bool found = false;
    engine.readUntil("bestmove", 300, found);
    ASSERT_FALSE(found) << "a ponder search answered before ponderhit";
    // From ponderhit on: a budget of 1950 / 30 = 65 ms, the hard limit at 260.
    const Clock::time_point start = Clock::now();
    engine.send("ponderhit");
    const std::vector<std::string> lines = engine.readUntil("bestmove", patience, found);
    ASSERT_TRUE(found);
    EXPECT_LE(millisecondsSince(start), 4 * 65 + lateness);
    expectLegal(lines.back(), "startpos", {"e2e4", "c7c5"});
}

TEST(UciProcess, QuitEndsTheProgramEvenDuringASearch) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    engine.send("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    engine.send("quit");
    EXPECT_EQ(engine.waitExit(1000), 0);
}

TEST(UciProcess, TheEndOfInputEndsTheProgram) {
    EngineProcess engine;
    ASSERT_TRUE(engine.running());
    engine.send("isready");
    bool found = false;
    engine.readUntil("readyok", patience, found);
    ASSERT_TRUE(found);
    engine.closeInput();
    EXPECT_EQ(engine.waitExit(1000), 0);
}

TEST(UciProcess, BenchAnswersAsTheCommandLineDoes) {
    const auto figures = [](const std::vector<std::string>& lines) {
        std::vector<std::string> kept;
        for (const std::string& l : lines)
            if (l.rfind("Positions:", 0) == 0 || l.rfind("Depth:", 0) == 0 || l.rfind("Nodes searched:", 0) == 0)
                kept.push_back(l);
        return kept;
    };
    EngineProcess uci;
    ASSERT_TRUE(uci.running());
    uci.send("bench 3");
    bool found = false;
    const std::vector<std::string> spoken = uci.readUntil("Nodes/second:", patience, found);
    ASSERT_TRUE(found);

    EngineProcess command({"bench", "3"});
    ASSERT_TRUE(command.running());
    const std::vector<std::string> printed = command.readUntil("Nodes/second:", patience, found);
    ASSERT_TRUE(found);
    EXPECT_EQ(command.waitExit(patience), 0);
    EXPECT_EQ(figures(spoken).size(), 3u);
    EXPECT_EQ(figures(spoken), figures(printed));
}

}  // namespace
}  // namespace zarvi

#endif
