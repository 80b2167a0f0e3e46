// The UCI session in the test's process: each command line goes straight
// to it and its answers are collected line by line. What needs a real
// process (the input thread, stop, isready and ponderhit during a search,
// the end of input) is in process_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "eval/evalcache.h"
#include "eval/settings.h"
#include "search/history.h"
#include "search/ttable.h"
#include "support/referee.h"
#include "strength.h"
#include "uciinfo.h"
#include "ucioptions.h"
#include "ucisession.h"

namespace zarvi {
namespace {

// A session of its own for each test, the settings restored after it; say()
// hands it lines and returns its answers.
class UciSessionTest : public ::testing::Test {
protected:
    void TearDown() override { settings = saved; }

    std::vector<std::string> say(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) session.handle(line);
        std::vector<std::string> answers;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) answers.push_back(line);
        out.str("");
        return answers;
    }
    static bool saysSomething(const std::vector<std::string>& lines, const std::string& part) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != l.npos; });
    }

    Settings saved = settings;
    InputQueue input;
    std::ostringstream out;
    UciSession session{input, out};
};

// Castling, en passant, promotions by letter, the move counters from the
// start and up to the last a FEN carries: each FEN written out by hand.
TEST_F(UciSessionTest, MovesSetThePosition) {
    const char* const cases[][2] = {
        {"startpos moves e2e4 g8f6 e4e5 d7d5 e5d6 e7d6 g1f3 f8e7 f1e2 e8g8 e1g1",
         "rnbq1rk1/ppp1bppp/3p1n2/8/8/5N2/PPPPBPPP/RNBQ1RK1 b - - 1 6"},
        {"fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8n e8e7", "1N6/4k3/8/8/8/8/8/4K3 w - - 1 2"},
        {"fen 4k3/8/8/8/8/8/8/4K3 w - - 9998 9999 moves e1e2", "4k3/8/8/8/8/8/4K3/8 b - - 9999 9999"},
    };
    for (const auto& [position, fen] : cases) {
        EXPECT_TRUE(say({std::string("position ") + position}).empty()) << position;
        EXPECT_EQ(session.fen(), fen) << position;
    }
}

// Every refusal is one line naming the fault, and leaves the game and the
// settings as they were.
TEST_F(UciSessionTest, RefusalsNameTheFaultAndChangeNothing) {
    const std::string bad = "position refused: ", notation = "' is not a move in long algebraic notation here";
    const std::string cases[][2] = {
        {"position startpos moves e2e4 e7e5 e1g1", bad + "illegal move e1g1 (move 3, white to move)"},
        {"position fen 4k3/8/8/8/8/8/p7/4K2R b K - 0 1 moves a2a1r e1g1", bad + "illegal move e1g1 (move 2, white to move)"},
        {"position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8", bad + "'b7b8" + notation + " (move 1, white to move)"},
        {"position startpos moves e2e4q", bad + "'e2e4q" + notation + " (move 1, white to move)"},
        {"position startpos moves e2e4 E7E5", bad + "'E7E5" + notation + " (move 2, black to move)"},
        {"position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 9999 moves e1e2 e8e7",
         bad + "the move counters pass 9999 (move 2, black to move)"},
        {"position fen 8/8/8/8/8/8/8/8 w - - 0 1", bad + "bad FEN: white must have exactly one king"},
        {"position startpos e2e4", bad + "write position startpos|fen <FEN> [moves <move> ...]"},
        {"go depth x", "go refused: depth must be a whole number, 1 or more, not 'x'"},
        {"setoption name Hash value 0", "Hash must be a whole number from 1 to 8000, not '0'"},
        {"setoption name Hash value 8001", "Hash must be a whole number from 1 to 8000, not '8001'"},
        {"setoption name Centre Weight value 101", "Centre Weight must be a whole number from 0 to 100, not '101'"},
        {"setoption name Threats Weight value -1", "Threats Weight must be a whole number from 0 to 100, not '-1'"},
        {"setoption name Selectivity value yes", "Selectivity must be true or false, not 'yes'"},
        {"setoption name Contempt value 10", "unknown option 'Contempt'"},
        {"setoption name BookFile value /no/such/book.txt", "BookFile: cannot read '/no/such/book.txt'"},
        {"setoption name Threads value 257", "Threads must be a whole number from 1 to 256, not '257'"},
        {"bench 25", "bench: write bench [DEPTH [THREADS]], a depth from 1 to 24 and threads from 1 to 256"},
        {"bench 7 0", "bench: write bench [DEPTH [THREADS]], a depth from 1 to 24 and threads from 1 to 256"},
        {"think harder", "unknown command 'think'"},
    };
    say({"position startpos moves e2e4 c7c5"});
    const std::string kept = session.fen();
    const Settings before = settings;
    for (const auto& [line, message] : cases) {
        EXPECT_EQ(say({line}), std::vector<std::string>{"info string " + message}) << line;
        EXPECT_EQ(session.fen(), kept) << line;
        EXPECT_EQ(std::memcmp(&before, &settings, sizeof before), 0) << line;
    }
    // Strays that crossed a best move need no answer.
    EXPECT_TRUE(say({"stop", "ponderhit", "debug on", ""}).empty());
}

// Options by their names in any case, within their whole ranges; the
// tables are made anew, at about a megabyte a factor, before the next answer.
TEST_F(UciSessionTest, OptionsReachTheSettings) {
    EXPECT_EQ(say({"uci"}).size(), 29u);  // two id lines, 26 options, uciok
    EXPECT_TRUE(say({"setoption name Centre Weight value 100", "setoption name pins weight value 0",
                     "setoption name selectivity value FALSE", "setoption name Positional Knowledge value false"})
                    .empty());
    EXPECT_TRUE(settings.evalWeights[1] == 100 && settings.evalWeights[13] == 0 && settings.selectivity == 0 &&
                settings.positionalKnowledge == 0);
    OptionChange change;
    EXPECT_TRUE(parseSetOption({"name", "Hash", "value", "8000"}, change).empty() &&
                hashFactorForMegabytes(8000) == 8000 && hashFactorForMegabytes(1) == 1);
    say({"setoption name Hash value 2", "isready"});
    EXPECT_EQ(transpositionTable.size, 2 * ttEntriesPerFactor);
    // 5000 of the 5010 ms go to the lag. Clear Hash empties both tables a
    // search filled (the evaluation's cache needs positional knowledge).
    const std::vector<std::string> lines = say({"setoption name Move Overhead value 5000", "go movetime 5010"});
    EXPECT_LT(test::infoField(lines.at(lines.size() - 2), "time"), 1000);
    say({"setoption name Positional Knowledge value true", "go depth 5"});
    EXPECT_GT(tableFullPermille(), 0);
    say({"setoption name clear hash"});
    EXPECT_EQ(tableFullPermille(), 0);
    EXPECT_TRUE(std::all_of(evaluationCache.entries, evaluationCache.entries + evaluationCache.size,
                            [](const EvalCacheEntry& e) { return e.checkWord == 0xFFFFFFFFu; }));
    // A limited engine stops at its node budget, however deep go asks.
    const std::vector<std::string> limited =
        say({"setoption name UCI_LimitStrength value true", "setoption name UCI_Elo value 1350", "go depth 20"});
    EXPECT_LT(test::infoField(limited.at(limited.size() - 2), "nodes"), 2 * strengthFor(weakestElo).nodes);
    // No book file in the working directory: the engine says it will search.
    EXPECT_EQ(say({"setoption name OwnBook value true"}),
              std::vector<std::string>{"info string OwnBook: the book file holds nothing; the engine searches"});
}

// Mates in moves, the answers where there is nothing to choose, a node
// limit; the book's move when the book is on.
TEST_F(UciSessionTest, MovesWithoutAChoiceOrALongSearch) {
    const char* const cases[][3] = {
        {"7k/1p6/6K1/8/8/8/8/R7 w - - 0 1", "bestmove a1a8", "score mate 1 "},
        {"r5k1/5ppp/8/8/8/8/4RPPP/4R1K1 w - - 0 1", "bestmove e2e8 ponder a8e8", "score mate 2 "},
        {"R6k/6pp/8/8/8/8/8/6K1 b - - 0 1", "bestmove 0000", ""},  // mated
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "bestmove 0000", ""},    // stalemated
    };
    for (const auto& [fen, bestmove, info] : cases) {
        const std::vector<std::string> lines = say({std::string("position fen ") + fen, "go depth 4"});
        EXPECT_TRUE(!lines.empty() && lines.back() == bestmove && saysSomething(lines, info)) << fen;
    }
    // Too little material to search for is still a legal move.
    EXPECT_TRUE(test::answersLegally(say({"position fen 8/8/8/4k3/8/8/3NK3/8 w - - 0 1", "go depth 3"}),
                                     "8/8/8/4k3/8/8/3NK3/8 w - - 0 1"));
    const std::vector<std::string> limited = say({"position startpos", "go nodes 3000"});
    EXPECT_TRUE(test::answersLegally(limited));
    // The last info line counts the search's nodes; without the limit this
    // search would run to the deepest iteration.
    const long long nodes = test::infoField(limited.at(limited.size() - 2), "nodes");
    EXPECT_GE(nodes, 3000);
    EXPECT_LT(nodes, 3000 + 2 * uciFirstPollInterval + 1000);

    test::Referee start;
    const auto path = std::filesystem::temp_directory_path() / "zarvi-uci-session-book.txt";
    std::ofstream(path) << start.board.key2 << "," << start.board.key3 << "(c2c4)\n";
    say({"setoption name BookFile value " + path.string(), "position startpos"});
    EXPECT_FALSE(saysSomething(say({"go depth 1"}), "book move"));  // off by default
    say({"setoption name OwnBook value true"});
    EXPECT_EQ(say({"go depth 1"}), (std::vector<std::string>{"info string book move c2c4", "bestmove c2c4"}));
    std::filesystem::remove(path);
}

// The session hands its game to the search as the game history: the
// latest 999 plies of a longer one.
TEST_F(UciSessionTest, TheGamesHistoryReachesTheSearch) {
    say({"position startpos moves g1f3 g8f6 f3g1 f6g8", "go depth 1"});
    EXPECT_TRUE(gameHistory.moveCount == 4 && gameHistory.historyKey1[4] == gameHistory.historyKey1[0] &&
                gameHistory.historyKey2[4] == gameHistory.historyKey2[0] &&
                gameHistory.historyKey1[2] != gameHistory.historyKey1[0]);
    EXPECT_EQ(gameHistory.historyMoves[4], (Move{66, 87}));
    std::string command = "position startpos moves";
    for (int i = 0; i < 251; ++i) command += " g1f3 g8f6 f3g1 f6g8";
    EXPECT_TRUE(test::answersLegally(say({command + " e2e4", "go depth 2"}), "startpos", {"e2e4"}));
    EXPECT_EQ(session.playedPlies(), 1005);
    EXPECT_EQ(gameHistory.moveCount, 999);
    EXPECT_EQ(gameHistory.historyMoves[999], (Move{25, 45}));
}

// Scores in the evaluation's units (a pawn is 225) as centipawns, and
// mates (28800 - ply) as moves of the mating side.
TEST(UciScore, CentipawnsAndMatesInMoves) {
    // Carrying out an announced mate, a mate found late scores 28750 - ply,
    // a mate only to lateMates; 28750 itself is a mate at ply 50. 29000 is
    // a window bound beyond every mate.
    const std::pair<int, const char*> cases[] = {
        {225, "cp 100"}, {224, "cp 99"}, {-1, "cp 0"}, {-226, "cp -100"}, {2335, "cp 1037"}, {29000, "cp 12888"},
        {28799, "mate 1"}, {28797, "mate 2"}, {28751, "mate 25"}, {28750, "mate 25"}, {28718, "cp 12763"},
        {-28800, "mate 0"}, {-28798, "mate -1"}, {-28796, "mate -2"}, {-28750, "mate -25"}, {-28745, "cp -12775"},
    };
    for (const auto& [score, text] : cases) {
        EXPECT_EQ(uciScore(score), text) << score;
        EXPECT_EQ(uciScore(score, true), text) << score;
    }
    EXPECT_EQ(uciScore(28745), "cp 12775");
    EXPECT_EQ(uciScore(28745, true), "mate 3");
}

}  // namespace
}  // namespace zarvi
