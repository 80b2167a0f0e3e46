// The engine binary as another program meets it: a child process spoken to
// through pipes, with its input thread, real clocks and the end of input.
// Judged by the order of the answers and by limits the protocol sets (a
// search within the clock it was given), never by tight timings: these
// tests share a loaded machine. POSIX only.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/childprocess.h"
#include "support/referee.h"
#include "ucitext.h"

namespace zarvi {
namespace {

// Patience for an answer that should come at once or after a short
// search; how long a pondering search is watched for one it must not give.
constexpr int64_t patience = 20000, watch = 500;

// zarvi-engine as a child process: say() sends lines, expect() reads up to
// an answer that must come in time.
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
};

// Pondering as GUIs drive it: the best move comes with the reply the
// engine expects; on the position after that reply it thinks without an
// answer, whatever it finds, until ponderhit gives it the 2 s white has
// left, or until stop when the other side played something else. Timed
// searches end by themselves, their thinking first, within their clock.
TEST(UciProcess, PonderingHitsAndMisses) {
    EngineProcess engine;
    engine.say("setoption name Ponder value true\nposition startpos moves e2e4\ngo movetime 300");
    const std::vector<std::string> answer = splitWords(engine.expect("bestmove", 3000).back());
    ASSERT_TRUE(answer.size() == 4 && answer[2] == "ponder");
    const std::vector<std::string> moves{"e2e4", answer[1], answer[3]};
    engine.say("position startpos moves " + joinWords(moves, 0, 3) + "\ngo ponder wtime 2000 btime 2000");
    engine.say("ponderhit");
    const std::vector<std::string> hit = engine.expect("bestmove", 2000);
    EXPECT_TRUE(test::answersLegally(hit, "startpos", moves) && splitWords(hit.back()).size() == 4 && hit.size() >= 2)
        << hit.back();

    // A miss: stop answers for the pondered position, then the real one.
    engine.say("position startpos moves e2e4 e7e5 g1f3\ngo ponder wtime 2000 btime 2000");
    engine.say("stop");
    EXPECT_TRUE(test::answersLegally(engine.expect("bestmove"), "startpos", {"e2e4", "e7e5", "g1f3"}));
    engine.say("position startpos moves e2e4 e7e5 b1c3\ngo movetime 300");
    EXPECT_TRUE(test::answersLegally(engine.expect("bestmove", 3000), "startpos", {"e2e4", "e7e5", "b1c3"}));

    // A mate found while pondering waits for ponderhit too. (The stress
    // test watches every other pondering search for an early answer.)
    engine.say("position fen 7k/1p6/6K1/8/8/8/8/R7 w - - 0 1\ngo ponder wtime 2000 btime 2000");
    bool early = false;
    engine.readUntil("bestmove", watch, early);
    EXPECT_FALSE(early) << "a best move before ponderhit";
    engine.say("ponderhit");
    EXPECT_EQ(engine.expect("bestmove").back(), "bestmove a1a8");
}

// A long search shows that it lives: from about 3 s each root move it
// starts, at least once a second its nodes (never twice within a second),
// and on every scored line how deep it went and how full the table is.
TEST(UciProcess, ALongSearchShowsItLives) {
    EngineProcess engine;
    engine.say("position startpos moves e2e4 e7e5\ngo infinite");
    bool found = false;  // no line starts with "-": each read takes its whole time
    std::vector<std::string> lines = engine.readUntil("-", 2000, found);
    EXPECT_EQ(joinWords(lines, 0, lines.size()).find(" currmove "), std::string::npos);
    for (const std::string& line : engine.readUntil("-", 3000, found)) lines.push_back(line);
    const std::string all = joinWords(lines, 0, lines.size());
    EXPECT_TRUE(all.find(" currmove ") != std::string::npos && all.find("info nodes ") != std::string::npos);
    long long shown = 0, hashFull = 0;
    for (const std::string& line : lines) {
        const long long time = test::infoField(line, "time");
        if (time < 0) continue;
        const bool progress = line.rfind("info nodes ", 0) == 0;
        hashFull = test::infoField(line, "hashfull");
        const long long depth = test::infoField(line, "depth");
        EXPECT_TRUE(progress ? time - shown >= 999 : test::infoField(line, "seldepth") >= depth) << line;
        EXPECT_TRUE(hashFull >= 0 && hashFull <= 1000) << line;
        shown = time;
    }
    EXPECT_GT(hashFull, 0);
}

// The last iteration's lines of a search for several, as move and
// centipawns; every iteration's lines must be exact, numbered from 1, of
// other moves each, best first, as many as count.
std::vector<std::pair<std::string, long long>> lastLines(const std::vector<std::string>& answers, size_t count) {
    std::vector<std::pair<std::string, long long>> lines;
    for (const std::string& line : answers) {
        const long long number = test::infoField(line, "multipv");
        const size_t pv = line.find(" pv "), cp = line.find(" score cp ");
        if (number < 0) continue;
        if (number == 1) {
            EXPECT_TRUE(lines.empty() || lines.size() == count) << line;
            lines.clear();
        }
        const bool exact = pv != std::string::npos && cp != std::string::npos && line.find("bound") == std::string::npos;
        EXPECT_TRUE(exact) << "not an exact line: " << line;
        if (!exact) continue;
        const std::string move = line.substr(pv + 4, 4);
        const long long score = std::stoll(line.substr(cp + 10));
        EXPECT_TRUE(size_t(number) == lines.size() + 1 && number <= int(count) &&
                    (lines.empty() || score <= lines.back().second))
            << line;
        for (const auto& earlier : lines) EXPECT_NE(earlier.first, move) << line;
        lines.push_back({move, score});
    }
    EXPECT_EQ(lines.size(), count);
    return lines;
}

// MultiPV: each finished iteration reports its lines, best first; line 1's
// move is played. Each score is exact: the move searched alone to the same
// depth, with the table the lines left, scores the same. searchmoves, here
// a legal move among an illegal and an unparsable one that are named and
// left out, leaves fewer lines. 3. Nxh4 takes a queen: nothing comes near.
TEST(UciProcess, SeveralLinesBestFirstAndSearchmoves) {
    EngineProcess engine;
    engine.say("setoption name MultiPV value 3\n"
               "position fen rnb1kbnr/pppp1ppp/8/4p3/4P2q/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3\ngo depth 6");
    std::vector<std::string> answers = engine.expect("bestmove");
    const std::vector<std::pair<std::string, long long>> lines = lastLines(answers, 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(test::bestMoveOf(answers.back()) == "f3h4" && lines[0].first == "f3h4" &&
                lines[0].second >= lines[1].second + 500);
    for (const auto& line : lines) {
        engine.say("go depth 6 searchmoves e1g1 " + line.first + " h9h9");
        answers = engine.expect("bestmove");
        EXPECT_EQ(lastLines(answers, 1), (std::vector<std::pair<std::string, long long>>{line}));
        EXPECT_EQ(answers.at(0), "info string searchmoves: illegal move e1g1 left out");
        EXPECT_EQ(answers.at(1),
                  "info string searchmoves: 'h9h9' is not a move in long algebraic notation here; left out");
    }
    engine.say("go depth 2 searchmoves e1g1");
    answers = engine.expect("bestmove");
    EXPECT_EQ(answers.at(1), "info string searchmoves: no legal move named; every move is searched");
    lastLines(answers, 3);
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
