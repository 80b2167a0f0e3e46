// The engine binary as another program meets it: a child process spoken to
// through pipes, with its input thread, real clocks and the end of input.
// Judged by the order of the answers and by limits the protocol sets (a
// search within the clock it was given), never by tight timings: these
// tests share a loaded machine. POSIX only.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "support/childprocess.h"
#include "support/referee.h"
#include "ucitext.h"

namespace zarvi {
namespace {

// For an answer that should come at once or after a short search.
constexpr int64_t patience = 20000;
// How long an endless or pondering search is watched for an answer it
// must not give.
constexpr int64_t watch = 500;

// zarvi-engine as a child process: say() sends lines, expect() reads up to
// an answer that must come in time, answersWithin() watches for one.
class EngineProcess : public test::ChildProcess {
public:
    EngineProcess() : ChildProcess(ZARVI_ENGINE) {}
    void say(const std::string& line) { EXPECT_TRUE(send(line)) << line; }
    // The lines up to the one starting with prefix, which must come in time
    // (else an empty line stands last).
    std::vector<std::string> expect(const std::string& prefix, int64_t timeoutMs = patience) {
        bool found = false;
        std::vector<std::string> lines = readUntil(prefix, timeoutMs, found);
        EXPECT_TRUE(found) << "no '" << prefix << "' within " << timeoutMs << " ms";
        if (!found) lines.emplace_back();
        return lines;
    }
    bool answersWithin(const std::string& prefix, int64_t timeoutMs) {
        bool found = false;
        readUntil(prefix, timeoutMs, found);
        return found;
    }
    // Reads into seen up to a line that holds part; false if none came in time.
    bool shows(const std::string& part, int64_t timeoutMs, std::vector<std::string>& seen) {
        const auto start = std::chrono::steady_clock::now();
        for (std::string line; readLine(line, timeoutMs - std::chrono::duration_cast<std::chrono::milliseconds>(
                                                              std::chrono::steady_clock::now() - start)
                                                              .count());) {
            seen.push_back(line);
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }
};

// isready is answered during the search, a position waits for the best
// move, and only stop ends it, even one that ended itself at once.
TEST(UciProcess, AnEndlessSearchAnswersIsreadyAndWaitsForStop) {
    EngineProcess engine;
    engine.say("position startpos\ngo infinite");
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("isready");
    for (const std::string& line : engine.expect("readyok")) EXPECT_EQ(test::bestMoveOf(line), "") << line;
    engine.say("position startpos moves d2d4\nd");
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("stop");
    EXPECT_TRUE(test::answersLegally(engine.expect("bestmove")));
    EXPECT_EQ(engine.expect("info string fen").back(),
              "info string fen rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq - 0 1");
    engine.say("position fen 7k/1p6/6K1/8/8/8/8/R7 w - - 0 1\ngo infinite");  // a mate in one
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("stop");
    EXPECT_EQ(engine.expect("bestmove").back(), "bestmove a1a8");
}

// Timed searches end by themselves, their thinking first, never later
// than the clock given: a movetime and a game clock.
TEST(UciProcess, TimedSearchesEndWithinTheirClock) {
    EngineProcess engine;
    const std::vector<std::string> moves{"e2e4", "e7e5", "g1f3", "b8c6"};
    engine.say("position startpos moves e2e4 e7e5 g1f3 b8c6");
    for (const char* go : {"go movetime 300", "go wtime 3000 btime 3000 winc 0 binc 0"}) {
        engine.say(go);
        const std::vector<std::string> lines = engine.expect("bestmove", 3000);
        EXPECT_GE(lines.size(), 2u) << go;
        EXPECT_TRUE(test::answersLegally(lines, "startpos", moves));
    }
}

// Pondering as GUIs drive it: the best move comes with the reply the
// engine expects; on the position after that reply it thinks without an
// answer, whatever it finds, until ponderhit gives it the 2 s white has
// left, or until stop when the other side played something else.
TEST(UciProcess, PonderingHitsAndMisses) {
    EngineProcess engine;
    engine.say("setoption name Ponder value true\nposition startpos moves e2e4\ngo movetime 300");
    const std::vector<std::string> answer = splitWords(engine.expect("bestmove").back());
    ASSERT_EQ(answer.size(), 4u);
    EXPECT_EQ(answer[2], "ponder");
    std::vector<std::string> moves{"e2e4", answer[1], answer[3]};
    engine.say("position startpos moves " + joinWords(moves, 0, 3) + "\ngo ponder wtime 2000 btime 2000");
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("ponderhit");
    const std::vector<std::string> hit = engine.expect("bestmove", 2000);
    EXPECT_TRUE(test::answersLegally(hit, "startpos", moves));
    EXPECT_EQ(splitWords(hit.back()).size(), 4u) << hit.back();

    // A miss: stop answers for the pondered position, then the real one.
    moves.push_back(test::bestMoveOf(hit.back()));
    std::vector<std::string> pondered = moves;
    pondered.push_back(splitWords(hit.back())[3]);
    engine.say("position startpos moves " + joinWords(pondered, 0, 5) + "\ngo ponder wtime 2000 btime 2000");
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("stop");
    EXPECT_TRUE(test::answersLegally(engine.expect("bestmove"), "startpos", pondered));
    test::Referee referee;
    referee.setUp("startpos", moves);
    const std::vector<Move>& legal = referee.legalMoves();
    moves.push_back(referee.text(legal[referee.text(legal[0]) == pondered.back() ? 1 : 0]));
    engine.say("position startpos moves " + joinWords(moves, 0, 5) + "\ngo movetime 300");
    EXPECT_TRUE(test::answersLegally(engine.expect("bestmove", 3000), "startpos", moves));

    // A mate found while pondering waits for ponderhit too.
    engine.say("position fen 7k/1p6/6K1/8/8/8/8/R7 w - - 0 1\ngo ponder wtime 2000 btime 2000");
    EXPECT_FALSE(engine.answersWithin("bestmove", watch));
    engine.say("ponderhit");
    EXPECT_EQ(engine.expect("bestmove").back(), "bestmove a1a8");
}

// A long search shows that it lives: from about 3 s each root move it
// starts, at least once a second its nodes (never twice within a second),
// and on every scored line how deep it went and how full the table is.
TEST(UciProcess, ALongSearchShowsItLives) {
    EngineProcess engine;
    std::vector<std::string> lines;
    engine.say("position startpos moves e2e4 e7e5\ngo infinite");
    EXPECT_FALSE(engine.shows(" currmove ", 2000, lines));
    EXPECT_TRUE(engine.shows(" currmove ", patience, lines));
    EXPECT_TRUE(engine.shows("info nodes ", 3000, lines));
    engine.say("stop");
    for (const std::string& line : engine.expect("bestmove")) lines.push_back(line);
    long long shown = 0, hashFull = 0;
    for (const std::string& line : lines) {
        if (test::infoField(line, "time") < 0) continue;
        if (line.rfind("info nodes ", 0) == 0) {
            EXPECT_GE(test::infoField(line, "time") - shown, 999) << line;
        } else {
            EXPECT_GE(test::infoField(line, "seldepth"), test::infoField(line, "depth")) << line;
        }
        hashFull = test::infoField(line, "hashfull");
        EXPECT_TRUE(hashFull >= 0 && hashFull <= 1000) << line;
        shown = test::infoField(line, "time");
    }
    EXPECT_GT(hashFull, 0);
}

// The lines of each finished iteration of a search for several: number,
// move and centipawns, in the order they came.
struct Line {
    long long number;
    std::string move;
    long long cp;
};
std::vector<std::vector<Line>> iterations(const std::vector<std::string>& lines) {
    std::vector<std::vector<Line>> found;
    for (const std::string& line : lines) {
        const long long number = test::infoField(line, "multipv");
        const size_t pv = line.find(" pv "), cp = line.find(" score cp ");
        if (number < 0) continue;
        if (number == 1) found.emplace_back();
        if (pv == std::string::npos || cp == std::string::npos || line.find("bound") != std::string::npos ||
            found.empty()) {
            ADD_FAILURE() << "not an exact line of an iteration: " << line;
            continue;
        }
        found.back().push_back({number, line.substr(pv + 4, 4), std::stoll(line.substr(cp + 10))});
    }
    return found;
}

// MultiPV: every finished iteration reports as many lines as asked for or
// as there are moves, numbered from 1, each with another move, best first;
// line 1's move is played. Each score is exact: that move searched alone
// to the same depth, with the table the lines left, scores the same. Here
// 3. Nxh4 takes a queen, and nothing else comes near it.
TEST(UciProcess, SeveralLinesBestFirst) {
    EngineProcess engine;
    engine.say("setoption name MultiPV value 3\n"
               "position fen rnb1kbnr/pppp1ppp/8/4p3/4P2q/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    std::vector<Line> lines{{1, "", 0}};  // the line to search alone, none at first
    for (size_t searches = 0; searches < lines.size(); ++searches) {
        const Line alone = lines[searches];
        engine.say("go depth 6" + (searches ? " searchmoves " + alone.move : ""));
        const std::vector<std::string> answers = engine.expect("bestmove");
        const std::vector<std::vector<Line>> found = iterations(answers);
        const size_t count = searches ? 1 : 3;
        ASSERT_EQ(found.size(), 6u) << alone.move;
        for (const std::vector<Line>& iteration : found) {
            ASSERT_EQ(iteration.size(), count) << alone.move;
            std::set<std::string> moves;
            for (size_t i = 0; i < count; ++i) {
                moves.insert(iteration[i].move);
                EXPECT_EQ(iteration[i].number, int(i) + 1);
                EXPECT_LE(iteration[i].cp, iteration[i > 0 ? i - 1 : 0].cp);
            }
            EXPECT_EQ(moves.size(), count);
        }
        const std::vector<Line>& last = found.back();
        EXPECT_EQ(test::bestMoveOf(answers.back()), last[0].move) << alone.move;
        if (searches == 0) {
            EXPECT_TRUE(last[0].move == "f3h4" && last[0].cp >= last[1].cp + 500);
            lines.insert(lines.end(), last.begin(), last.end());
        } else {
            EXPECT_TRUE(last[0].move == alone.move && last[0].cp == alone.cp) << alone.move << " " << alone.cp;
        }
    }
}

// go searchmoves: the search keeps to the legal moves named and says
// which names it leaves out; when no legal move is named, it searches all.
TEST(UciProcess, SearchmovesKeepsToTheLegalMovesNamed) {
    EngineProcess engine;
    engine.say("position startpos\ngo depth 5 searchmoves e1e2 a2a3 h9h9");
    const std::vector<std::string> lines = engine.expect("bestmove");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "info string searchmoves: illegal move e1e2 left out");
    EXPECT_EQ(lines[1], "info string searchmoves: 'h9h9' is not a move in long algebraic notation here; left out");
    for (size_t i = 2; i + 1 < lines.size(); ++i) EXPECT_NE(lines[i].find(" pv a2a3"), std::string::npos) << lines[i];
    EXPECT_EQ(test::bestMoveOf(lines.back()), "a2a3");
    engine.say("go depth 3 searchmoves e1e2");
    const std::vector<std::string> all = engine.expect("bestmove");
    EXPECT_EQ(all.at(1), "info string searchmoves: no legal move named; every move is searched");
    EXPECT_TRUE(test::answersLegally(all));
}

// go mate answers as soon as the mate is proven, without a stop, asked
// again as well (in the same position the mate comes no nearer, whether
// the position is sent again or not); a mate longer than the one asked for
// is played and named as such.
TEST(UciProcess, AMateSearchAnswersAtOnce) {
    EngineProcess engine;
    const std::string position = "position fen r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1\n";
    const std::string cases[][2] = {{position + "go mate 3", "score mate 3 "},
                                    {"go mate 3", "score mate 3 "},
                                    {position + "go mate 2", "info string no mate in 2 found"}};
    for (const auto& [go, says] : cases) {
        engine.say(go);
        const std::vector<std::string> lines = engine.expect("bestmove");
        EXPECT_EQ(test::bestMoveOf(lines.back()), "f6a6") << go;
        EXPECT_NE(joinWords(lines, 0, lines.size()).find(says), std::string::npos) << go;
    }
}

TEST(UciProcess, QuitOrTheEndOfInputEndsTheProgram) {
    EngineProcess quitting;
    quitting.say("go infinite\nquit");
    EXPECT_EQ(quitting.waitExit(patience), 0);

    // Nobody is left to say stop: the endless search gives its move and ends.
    EngineProcess orphaned;
    orphaned.say("position startpos moves e2e4\ngo infinite");
    orphaned.closeInput();
    EXPECT_TRUE(test::answersLegally(orphaned.expect("bestmove"), "startpos", {"e2e4"}));
    EXPECT_EQ(orphaned.waitExit(patience), 0);
}

}  // namespace
}  // namespace zarvi

#endif
