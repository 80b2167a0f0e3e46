#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "board/fen.h"
#include "game/history.h"
#include "game/settings.h"
#include "inputqueue.h"
#include "platform/platform.h"
#include "referee.h"
#include "search/search.h"
#include "search/ttable.h"
#include "ucisession.h"
#include "ucitext.h"
#include "version.h"

namespace zarvi {
namespace {

// A session in the test's process: commands go straight to it (or through
// its queue, for what it reads while it searches) and its answers are
// collected line by line.
class UciSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = settings;
        savedPolls = pollsPerSecond;
        savedInterval = pollInterval;
        session = std::make_unique<UciSession>(input, out);
    }
    void TearDown() override {
        session.reset();
        settings = saved;
        pollsPerSecond = savedPolls;
        pollInterval = savedInterval;
    }

    // The answers to the lines, handled one by one.
    std::vector<std::string> say(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) session->handle(line);
        return answers();
    }
    // The answers when the lines arrive as input that then ends.
    std::vector<std::string> runInput(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) input.push(line);
        input.close();
        session->run();
        return answers();
    }
    std::vector<std::string> answers() {
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        out.str("");
        return lines;
    }
    // The bestmove of the answers, checked legal in the position.
    std::string legalBestMove(const std::vector<std::string>& lines, const std::string& fen,
                              const std::vector<std::string>& moves = {}) {
        const auto found = std::find_if(lines.begin(), lines.end(),
                                        [](const std::string& l) { return !test::bestMoveOf(l).empty(); });
        if (found == lines.end()) {
            ADD_FAILURE() << "no bestmove";
            return "";
        }
        test::RefereeGame game;
        EXPECT_TRUE(test::playMoves(fen, moves, game));
        const std::string move = test::bestMoveOf(*found);
        EXPECT_TRUE(test::isLegalMove(game, move)) << move << " in " << fen;
        return move;
    }
    std::string lastInfoWith(const std::vector<std::string>& lines, const std::string& part) {
        std::string last;
        for (const std::string& l : lines)
            if (l.rfind("info ", 0) == 0 && l.find(part) != std::string::npos) last = l;
        return last;
    }

    InputQueue input;
    std::ostringstream out;
    std::unique_ptr<UciSession> session;
    Settings saved;
    int savedPolls = 0;
    int savedInterval = 0;
};

TEST_F(UciSessionTest, MovesWithCastlingEnPassantAndPromotionSetThePosition) {
    // En passant (e5xd6), both sides castling short. Castling restarts the
    // engine's fifty-move count, and the rook's step counts one.
    EXPECT_TRUE(say({"position startpos moves e2e4 g8f6 e4e5 d7d5 e5d6 e7d6 g1f3 f8e7 f1e2 e8g8 e1g1"}).empty());
    EXPECT_EQ(session->fen(), "rnbq1rk1/ppp1bppp/3p1n2/8/8/5N2/PPPPBPPP/RNBQ1RK1 b - - 1 6");
    // Long castling for white, a black double step that can be taken en
    // passant.
    say({"position startpos moves d2d4 d7d5 b1c3 g8f6 c1f4 e7e6 d1d2 f8e7 e1c1 c7c5 d4c5 b7b5"});
    EXPECT_EQ(session->fen(), "rnbqk2r/p3bppp/4pn2/1pPp4/5B2/2N5/PPPQPPPP/2KR1BNR w kq b6 0 7");
    // Promotions: straight to a knight, and capturing to a queen.
    say({"position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8n e8e7"});
    EXPECT_EQ(session->fen(), "1N6/4k3/8/8/8/8/8/4K3 w - - 1 2");
    say({"position fen 1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1 moves a7b8q"});
    EXPECT_EQ(session->fen(), "1Q2k3/8/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(session->playedPlies(), 1);
    // A black pawn promoting to a rook, with check.
    say({"position fen 4k3/8/8/8/8/8/p7/4K2R b K - 0 1 moves a2a1r"});
    EXPECT_EQ(session->fen(), "4k3/8/8/8/8/8/8/r3K2R w K - 0 2");
}

TEST_F(UciSessionTest, TheLastMoveNumberAFenCarriesIsPlayedTo) {
    say({"position fen 4k3/8/8/8/8/8/8/4K3 w - - 9998 9999 moves e1e2"});
    EXPECT_EQ(session->fen(), "4k3/8/8/8/8/8/4K3/8 b - - 9999 9999");
    FenGame game{};
    posicion board;
    EXPECT_EQ(readFen(board, session->fen(), game), "");
}

TEST_F(UciSessionTest, ABadPositionIsRefusedWholeAndTheGameStays) {
    say({"position startpos moves e2e4 c7c5"});
    const std::string kept = session->fen();
    const char* const refused[][2] = {
        {"position startpos moves e2e4 e7e5 e1g1", "illegal move e1g1 (move 3, white to move)"},
        {"position startpos moves e2e4 d7d5 e4e5 f7f5 g1f3 h7h6 e5f6",
         "illegal move e5f6 (move 7, white to move)"},  // en passant only at once
        {"position fen 4k3/8/8/8/8/8/p7/4K2R b K - 0 1 moves a2a1r e1g1",
         "illegal move e1g1 (move 2, white to move)"},  // castling out of check
        {"position startpos moves e7e5",
         "'e7e5' is not a move in long algebraic notation here (move 1, white to move)"},
        {"position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8",
         "'b7b8' is not a move in long algebraic notation here (move 1, white to move)"},
        {"position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8k",
         "'b7b8k' is not a move in long algebraic notation here (move 1, white to move)"},
        {"position startpos moves e2e4q",
         "'e2e4q' is not a move in long algebraic notation here (move 1, white to move)"},
        {"position startpos moves e2e4 E7E5",
         "'E7E5' is not a move in long algebraic notation here (move 2, black to move)"},
        {"position startpos moves z9z9",
         "'z9z9' is not a move in long algebraic notation here (move 1, white to move)"},
        // Counters past what a FEN carries: the game could not be written out.
        {"position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 9999 moves e1e2 e8e7",
         "the move counters pass 9999 (move 2, black to move)"},
        {"position fen 4k3/8/8/8/8/8/8/4K3 b - - 9999 5 moves e8e7",
         "the move counters pass 9999 (move 1, black to move)"},
        {"position fen 8/8/8/8/8/8/8/8 w - - 0 1", "bad FEN"},
        {"position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1", "bad FEN"},
        {"position fen", "write position startpos|fen <FEN> [moves <move> ...]"},
        {"position", "write position startpos|fen <FEN> [moves <move> ...]"},
        {"position start", "write position startpos|fen <FEN> [moves <move> ...]"},
        {"position startpos e2e4", "write position startpos|fen <FEN> [moves <move> ...]"},
    };
    for (const auto& [command, message] : refused) {
        const std::vector<std::string> lines = say({command});
        ASSERT_EQ(lines.size(), 1u) << command;
        EXPECT_EQ(lines[0].rfind(std::string("info string position refused: ") + message, 0), 0u)
            << command << " -> " << lines[0];
        EXPECT_EQ(session->fen(), kept) << command;
    }
}

TEST_F(UciSessionTest, UnknownCommandsAreNamedAndStrayOnesIgnored) {
    EXPECT_EQ(say({"think harder"}), std::vector<std::string>{"info string unknown command 'think'"});
    // A stop or ponderhit that crossed the best move, and debug, need no answer.
    EXPECT_TRUE(say({"stop", "ponderhit", "debug on", ""}).empty());
    EXPECT_EQ(say({"isready"}), std::vector<std::string>{"readyok"});
}

TEST_F(UciSessionTest, HandshakeNamesTheEngineAndItsOptions) {
    const std::vector<std::string> lines = say({"uci"});
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "id name Zarvi " ZARVI_VERSION);
    EXPECT_EQ(lines[1], "id author the Zarvi developers");
    EXPECT_EQ(lines[2], "option name Hash type spin default 8 min 1 max 8000");
    EXPECT_EQ(lines[21], "uciok");
}

TEST_F(UciSessionTest, OptionsChangeTheSettingsAndBadOnesNothing) {
    EXPECT_TRUE(say({"setoption name Centre Weight value 45", "setoption name selectivity value false",
                     "setoption name Positional Knowledge value false"})
                    .empty());
    EXPECT_EQ(settings.evalWeights[1], 45);
    EXPECT_EQ(settings.selectivity, 0);
    EXPECT_EQ(settings.positionalKnowledge, 0);

    EXPECT_EQ(say({"setoption name Centre Weight value 101"}),
              std::vector<std::string>{"info string Centre Weight must be a whole number from 0 to 100, not '101'"});
    EXPECT_EQ(settings.evalWeights[1], 45);
    EXPECT_EQ(say({"setoption name Speed value 3"}), std::vector<std::string>{"info string unknown option 'Speed'"});

    // The tables are made anew, at the new size, before the next answer.
    say({"setoption name Hash value 2", "isready"});
    EXPECT_EQ(transpositionTable.size, 2 * ttEntriesPerFactor);
    say({"setoption name Hash value 0", "isready"});
    EXPECT_EQ(transpositionTable.size, 2 * ttEntriesPerFactor);

    EXPECT_EQ(say({"setoption name BookFile value /no/such/book.txt"}),
              std::vector<std::string>{"info string BookFile: cannot read '/no/such/book.txt'"});
    // No book file in the working directory: the engine says it will search.
    EXPECT_EQ(say({"setoption name OwnBook value true"}),
              std::vector<std::string>{"info string OwnBook: the book file holds nothing; the engine searches"});
    EXPECT_EQ(settings.useBook, 1);
}

TEST_F(UciSessionTest, GoDepthReportsEachIterationAndALegalMove) {
    const std::string fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
    const std::vector<std::string> lines = say({"position fen " + fen, "go depth 4"});
    legalBestMove(lines, fen);
    EXPECT_EQ(lines.back().rfind("bestmove ", 0), 0u);
    for (int depth = 2; depth <= 4; ++depth)
        EXPECT_NE(lastInfoWith(lines, "info depth " + std::to_string(depth) + " score "), "") << depth;
    EXPECT_EQ(lastInfoWith(lines, "info depth 5"), "");
    // Every iteration's line has the figures and a variation.
    const std::vector<std::string> words = splitWords(lastInfoWith(lines, "info depth 4 score"));
    ASSERT_GE(words.size(), 12u);
    EXPECT_TRUE(words[4] == "cp" || words[4] == "mate");
    EXPECT_NE(std::find(words.begin(), words.end(), "nodes"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "nps"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "time"), words.end());
    EXPECT_NE(std::find(words.begin(), words.end(), "pv"), words.end());
}

TEST_F(UciSessionTest, MatesAreScoredInMoves) {
    // Ra8 mates at once.
    const std::vector<std::string> lines = say({"position fen 7k/1p6/6K1/8/8/8/8/R7 w - - 0 1", "go depth 3"});
    EXPECT_EQ(lines.back(), "bestmove a1a8");
    EXPECT_NE(lastInfoWith(lines, "info depth 1 score mate 1 "), "");
    // Re8+ Rxe8 Rxe8 mate.
    EXPECT_NE(lastInfoWith(say({"position fen r5k1/5ppp/8/8/8/8/4RPPP/4R1K1 w - - 0 1", "go depth 4"}),
                           "score mate 2 "),
              "");
}

TEST_F(UciSessionTest, PositionsWithoutAChoice) {
    // Mated and stalemated: there is no move to give.
    EXPECT_EQ(say({"position fen R6k/6pp/8/8/8/8/8/6K1 b - - 0 1", "go depth 3"}).back(), "bestmove 0000");
    EXPECT_EQ(say({"position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "go depth 3"}).back(), "bestmove 0000");
    // One legal move: played without a search.
    EXPECT_EQ(say({"position fen 7k/8/5QK1/8/8/8/8/8 b - - 0 1", "go depth 3"}).back(), "bestmove h8g8");
    // Too little material to search for is still a move, and a legal one.
    const std::string fen = "8/8/8/4k3/8/8/3NK3/8 w - - 0 1";
    const std::vector<std::string> lines = say({"position fen " + fen, "go depth 3"});
    EXPECT_NE(lines.back(), "bestmove 0000");
    legalBestMove(lines, fen);
}

TEST_F(UciSessionTest, NodeLimitStopsTheSearch) {
    const std::vector<std::string> lines = say({"position startpos", "go nodes 3000"});
    legalBestMove(lines, "startpos");
    EXPECT_GE(nodeCount, 3000);
    // Without the limit this search would run to the deepest iteration.
    EXPECT_LT(nodeCount, 3000 + 2 * pollInterval + 1000);
}

TEST_F(UciSessionTest, RefusedGoGivesNoMove) {
    EXPECT_EQ(say({"go wtime -100 btime 500"}),
              std::vector<std::string>{
                  "info string go refused: wtime must be a whole number of milliseconds, 0 or more, not '-100'"});
    EXPECT_EQ(say({"go depth x"}),
              std::vector<std::string>{"info string go refused: depth must be a whole number, 1 or more, not 'x'"});
}

TEST_F(UciSessionTest, TheGamesHistoryReachesTheSearch) {
    // Knights out and back: the position after ply 4 is the first again.
    say({"position startpos moves g1f3 g8f6 f3g1 f6g8", "go depth 1"});
    EXPECT_EQ(gameHistory.moveCount, 4);
    EXPECT_EQ(gameHistory.historyKey1[4], gameHistory.historyKey1[0]);
    EXPECT_EQ(gameHistory.historyKey2[4], gameHistory.historyKey2[0]);
    EXPECT_NE(gameHistory.historyKey1[2], gameHistory.historyKey1[0]);
    EXPECT_EQ(gameHistory.historyMoves[1], (Move{17, 36}));
    EXPECT_EQ(gameHistory.historyMoves[4], (Move{66, 87}));

    // A game longer than the history keeps its latest plies.
    std::string command = "position startpos moves";
    for (int i = 0; i < 251; ++i) command += " g1f3 g8f6 f3g1 f6g8";
    command += " e2e4";
    const std::vector<std::string> lines = say({command, "go depth 2"});
    EXPECT_EQ(session->playedPlies(), 1005);
    EXPECT_EQ(gameHistory.moveCount, historyCapacity);
    EXPECT_EQ(gameHistory.historyMoves[historyCapacity], (Move{25, 45}));
    legalBestMove(lines, "startpos", {"e2e4"});
}

TEST_F(UciSessionTest, TheBookAnswersWhenItIsOn) {
    posicion start;
    FenGame game{};
    ASSERT_EQ(readFen(start, startFen, game), "");
    const auto path = std::filesystem::temp_directory_path() / "zarvi-uci-session-book.txt";
    std::ofstream(path) << start.key2 << "," << start.key3 << "(c2c4)\n";

    say({"setoption name BookFile value " + path.string(), "position startpos"});
    // Off by default: the engine searches.
    EXPECT_EQ(lastInfoWith(say({"go depth 1"}), "book move"), "");
    EXPECT_TRUE(say({"setoption name OwnBook value true"}).empty());
    const std::vector<std::string> lines = say({"go depth 1"});
    EXPECT_EQ(lines, (std::vector<std::string>{"info string book move c2c4", "bestmove c2c4"}));
    std::filesystem::remove(path);
}

TEST_F(UciSessionTest, AnEndlessSearchAnswersIsreadyAndWaitsForStop) {
    // Commands that come during the search are answered at once (isready)
    // or after the best move (position); stop ends the search.
    const std::vector<std::string> lines = runInput({"position startpos", "go infinite", "isready",
                                                     "position startpos moves d2d4", "stop", "d"});
    const auto at = [&](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }) -
               lines.begin();
    };
    ASSERT_LT(at("readyok"), at("bestmove"));
    ASSERT_LT(at("bestmove"), at("info string fen"));
    ASSERT_LT(at("info string fen"), long(lines.size()));
    legalBestMove(lines, "startpos");
    EXPECT_EQ(lines.back(), "info string fen rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq - 0 1");
}

TEST_F(UciSessionTest, TheEndOfInputEndsAnEndlessSearch) {
    const std::vector<std::string> lines = runInput({"position startpos moves e2e4", "go infinite"});
    ASSERT_FALSE(lines.empty());
    legalBestMove(lines, "startpos", {"e2e4"});
}

TEST_F(UciSessionTest, QuitEndsTheSession) {
    const std::vector<std::string> lines = runInput({"quit", "isready"});
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(session->handle("quit"));
}

TEST_F(UciSessionTest, BenchDepthMustBeADepth) {
    const std::string message = "info string bench: depth must be a number from 1 to 24";
    EXPECT_EQ(say({"bench 0"}), std::vector<std::string>{message});
    EXPECT_EQ(say({"bench 25"}), std::vector<std::string>{message});
    EXPECT_EQ(say({"bench two"}), std::vector<std::string>{message});
    EXPECT_EQ(say({"bench 2 3"}), std::vector<std::string>{message});
}

}  // namespace
}  // namespace zarvi
