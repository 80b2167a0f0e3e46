// The search as the game asks it for a move: its endings (mates,
// stalemate, a single reply, nothing left to play for), mates announced,
// resignation, the depth cap of trivial endings, the clock rules and the
// thinking line.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "board/fen.h"
#include "board/makemove.h"
#include "eval/settings.h"
#include "platform/portable.h"
#include "search/thinking.h"
#include "search/ttable.h"
#include "support/engine.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using SearchTest = test::EngineTest;

TEST_F(SearchTest, EndingsOfASearch) {
    // The result's status and move, the best score, nodes searched or not,
    // the mate mode. The mated side keeps the old move (33-44) and a lone
    // knight is no search at all: both leave what was there before.
    const char* const cases[][2] = {
        {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "1 11-81 28799 searched 0"},  // mate in one: Ra8#
        {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", "-1 33-44 -28800 none 0"},    // mated
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "2 0-0 0 none 0"},               // stalemated
        {"7k/8/6K1/8/8/8/8/6R1 b - - 0 1", "0 88-87 0 none 0"},             // the single reply
        {"8/8/4k3/8/8/2N5/8/4K3 w - - 0 1", "2 33-44 777 none 0"},          // a lone knight
    };
    for (const auto& [fen, expected] : cases) {
        searcher().result = {33, 44, 0};
        searcher().bestScore = 777;
        searchAtDepth(setPosition(fen), 4);
        const SearchResult& r = searcher().result;
        EXPECT_EQ(std::to_string(r.status) + ' ' + std::to_string(r.from) + '-' + std::to_string(r.to) + ' ' +
                      std::to_string(searcher().bestScore) + (searcher().nodeCount > 0 ? " searched " : " none ") +
                      std::to_string(searcher().mateMode),
                  expected) << fen;
    }
}

// A mate found deeper than one move is announced as under way, due at ply
// 2 * moves - 1 (5 for a mate in three), and reported only with its last
// move (status 0 now). Then Kf7 mates in two: an earlier game left the
// searcher's path holding its reverse as the move before the last; a game
// set up from a FEN without moves must not take Kf7 for the repetition of
// a move never played.
TEST_F(SearchTest, MatesAreAnnouncedAndAnEarlierGameIsIgnored) {
    searchAtDepth(setPosition("7k/8/8/5K2/8/8/8/6R1 w - - 0 1"), 8);
    EXPECT_TRUE(searcher().result.status == 0 && searcher().mateMode == 1 && searcher().expectedMatePly == 5);
    const int side = setPosition("7k/8/5K2/8/8/8/8/6R1 w - - 10 60");
    searcher().path[1] = {76, 66};
    searchAtDepth(side, 5);
    EXPECT_TRUE(searcher().result.from == 66 && searcher().result.to == 76 && searcher().mateMode == 1 &&
                searcher().expectedMatePly == 3);
}

TEST_F(SearchTest, ResignsOnlyBelowTheThreshold) {
    // A rook against a queen: the best score is well below zero. Only a
    // score below the threshold resigns, and the move is delivered anyway.
    const int side = setPosition("4k3/3q4/8/8/8/8/8/R3K3 w - - 0 1");
    searchAtDepth(side, 4);
    const int score = searcher().bestScore;
    ASSERT_LT(score, -500);
    for (const auto& [canResign, threshold, resigns] : {std::tuple{1, score + 1, 1}, {1, score, 0}, {0, score + 1, 0}}) {
        settings.canResign = canResign;
        settings.resignThreshold = threshold;
        searchAtDepth(side, 4);
        EXPECT_TRUE(searcher().bestScore == score && searcher().result.from != 0);
        EXPECT_EQ(searcher().resignRequest, resigns) << canResign << ' ' << threshold;
    }
}

// Without pawns a rook each stops after iteration 6, a minor piece each
// after iteration 2, whatever the time.
TEST_F(SearchTest, TrivialEndingsCapTheDepth) {
    settings.levelSeconds = 125;
    for (const auto& [fen, cap] : {std::pair{"8/8/2k5/8/8/2r5/5R2/4K3 w - - 0 1", 6},
                                   std::pair{"8/8/2k5/8/3b4/8/5N2/4K3 w - - 0 1", 2}}) {
        searchAtDepth(setPosition(fen), 0);
        EXPECT_EQ(searcher().iterationDepth, cap) << fen;
    }
}

// At the iteration's reports the clock jumps to jumpTo, and far beyond the
// budget from the next iteration on; each iteration's last score is kept.
double fakeSeconds = 0, jumpTo = 0;
int jumpAtDepth = 0;
int lastScore[32];
void jumpClock(const buscador& searcher, int) {
    if (searcher.iterationDepth > jumpAtDepth)
        fakeSeconds = jumpTo + 1000;
    else if (searcher.iterationDepth == jumpAtDepth)
        fakeSeconds = jumpTo;
    lastScore[searcher.iterationDepth] = searcher.bestScore;
}

// The window's level of 5 s a move: the budget, the iterations it allows
// and where the root stops.
TEST_F(SearchTest, ClockBudgetIterationsAndStops) {
    setClockHook([] { return fakeSeconds; });
    thinkingListener = jumpClock;
    settings.levelSeconds = 5;
    const auto search = [&](const char* fen, double start, int fixedDepth, int jumpDepth, double jump) {
        fakeSeconds = start;
        jumpAtDepth = jumpDepth;
        jumpTo = jump;
        searchAtDepth(setPosition(fen), fixedDepth);
    };
    const char* opening = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
    search(opening, 12.34, 3, 0, 12.34);
    EXPECT_EQ(searcher().startTime, 1234);
    EXPECT_EQ(searcher().stopTime, 1234 + 500);

    // movesSearched 0: all of them.
    struct { const char* fen; double start; int fixedDepth, jumpDepth; double jump; int depth, movesSearched; } cases[] = {
        // The budget gone from the start: four iterations, the fourth
        // stopped after its third move.
        {opening, 0, 0, 1, 1000, 4, 3},
        // 69.2 % of 5 s used by iteration 5: no sixth; 68.8 %: a sixth.
        {opening, 0, 0, 5, 3.46, 5, 0},
        {opening, 0, 0, 5, 3.44, 6, 3},
        // The same after 100 hours, where 69 times the clock's
        // centiseconds no longer fits in 32 bits.
        {opening, 360000, 0, 5, 360003.44, 6, 3},
        // A fixed depth is never cut by the clock.
        {opening, 0, 5, 1, 1000, 5, 0},
        // In this pawn ending the fifth iteration's score falls by more
        // than 87 (and less than 100) below the fourth's: with the budget
        // gone the root still searches every move instead of stopping
        // after the third.
        {"8/8/8/5p2/1P2k3/8/4K3/8 w - - 0 1", 0, 0, 5, 1000, 5, 0},
    };
    for (const auto& c : cases) {
        search(c.fen, c.start, c.fixedDepth, c.jumpDepth, c.jump);
        const int rootMoves = int(test::legalMoves(searcher(), game->board, white).size());
        EXPECT_EQ(searcher().iterationDepth, c.depth) << c.jumpDepth << ' ' << c.jump;
        EXPECT_EQ(searcher().rootMoveNumber, c.movesSearched ? c.movesSearched : rootMoves) << c.jumpDepth << ' ' << c.jump;
        EXPECT_NE(searcher().result.from, 0);
    }
    EXPECT_TRUE(lastScore[5] < lastScore[4] - 87 && lastScore[5] >= lastScore[4] - 100);
}

class ThinkingTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        clearSearchTables(searcher());
        searcher().nodeCount = 1234;
    }
    // The display of a root position with one best move.
    std::string show(const char* fen, int from, int to, int depth, int score, int mark) {
        int side = white;
        const posicion board = test::positionFromFen(fen, &side);
        searcher().engineSide = side;
        searcher().bestFrom = from;
        searcher().bestTo = to;
        searcher().iterationDepth = depth;
        searcher().bestScore = score;
        displayThinking(searcher(), board, mark);
        const std::string text = statusText;
        EXPECT_EQ(text.size(), size_t(statusTextLength));
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
};

TEST_F(ThinkingTest, LinesByteForByte) {
    struct { const char* fen; int from, to, depth, score, mark, language, showThinking; const char* line; } cases[] = {
        {startFen, 25, 45, 1, 0, plainMark, 1, 1, "[1] score: 0 pos: 1234 cont:  e2e4"},
        {startFen, 25, 45, 1, 0, plainMark, 0, 1, "[1] ptje: 0 pos: 1234 cont:  e2e4"},
        {startFen, 25, 45, 1, 0, failHighMark, 1, 1, "[1] score: 0 pos: 1234 cont:  e2e4  !"},
        {startFen, 25, 45, 2, 250, plainMark, 1, 1, "[2] score: 100 pos: 1234 cont:  e2e4"},
        {startFen, 25, 45, 3, 0, failHighMark, 1, 0, "mmmh..."},
        {"8/4P3/8/8/8/8/k7/4K3 w - - 0 1", 75, 10, 1, 0, plainMark, 1, 1, "[1] score: 0 pos: 1234 cont:  e7e8n"},
    };
    for (const auto& c : cases) {
        settings.language = c.language;
        settings.showThinking = c.showThinking;
        EXPECT_EQ(show(c.fen, c.from, c.to, c.depth, c.score, c.mark), c.line);
    }
}

// The variation follows the exact entries of the knights' dance round and
// round for at most 20 moves.
TEST_F(ThinkingTest, VariationFollowsExactEntries) {
    posicion board = test::positionFromFen(startFen);
    const Move dance[4] = {{17, 36}, {87, 66}, {36, 17}, {66, 87}};
    const char* names[4] = {" g1f3", " g8f6", " f3g1", " f6g8"};
    std::string expected = "[4] score: 0 pos: 1234 cont: ";
    for (int i = 0; i < 20; ++i) {
        if (i < 4) storeTable(probeTable(board, 1, 0), board, 1, 3, exactBound, 0, dance[i].from, dance[i].to);
        makeMove(board, dance[i % 4].from, dance[i % 4].to, i % 2);
        expected += names[i % 4];
    }
    EXPECT_EQ(show(startFen, 17, 36, 4, 0, plainMark), expected);
}

}  // namespace
}  // namespace zarvi
