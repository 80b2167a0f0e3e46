#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "board/attacks.h"
#include "board/notation.h"
#include "eval/movegen.h"
#include "game/history.h"
#include "search/bench.h"
#include "support/engine.h"
#include "support/positions.h"

namespace zarvi {
namespace {

class SelfPlayTest : public test::EngineTest {
protected:
    std::vector<Move> legalMoves(int side) {
        posicion& board = game->board;
        evasionMode = isAttacked(board, board.kingSquare[side], 1 - side) != 0;
        const int n = generateLegalMoves(searcher(), board, side, 0);
        evasionMode = 1;
        std::vector<Move> moves;
        for (int i = 0; i < n; ++i) moves.push_back({searcher().fullFrom[0][i], searcher().fullTo[0][i]});
        return moves;
    }
};

// The engine plays both sides from several openings at a small fixed
// depth; every move it makes must be legal and leave a consistent
// position, whatever ending the game reaches.
TEST_F(SelfPlayTest, EveryEngineMoveIsLegalThroughWholeGames) {
    const char* openings[][4] = {
        {"e2e4", "e7e5", "g1f3", "b8c6"}, {"d2d4", "d7d5", "c2c4", "e7e6"}, {"c2c4", "g8f6", "b1c3", "e7e5"},
        {"e2e4", "c7c5", "g1f3", "d7d6"}, {"g1f3", "d7d5", "g2g3", "c8g4"}, {"f2f4", "e7e5", "f4e5", "d7d6"},
    };
    int endings[7] = {};
    for (const auto& opening : openings) {
        game->newGame();
        int side = white;
        for (const char* text : opening) {
            int from = 0, to = 0;
            ASSERT_TRUE(parseMoveText(game->board, side, text, from, to));
            ASSERT_EQ(game->enterUserMove(side, from, to), 1) << text;
            side = 1 - side;
        }
        setDepthLimit(3);
        Ending ending = Ending::none;
        while (ending == Ending::none && gameHistory.moveCount < 400) {
            const std::vector<Move> legal = legalMoves(side);
            const int before = gameHistory.moveCount;
            game->computerMove(side);
            if (game->result->status == 0 || game->result->status == 1) {
                ASSERT_EQ(gameHistory.moveCount, before + 1);
                const Move played = gameHistory.historyMoves[gameHistory.moveCount];
                ASSERT_NE(std::find(legal.begin(), legal.end(), played), legal.end())
                    << "illegal move " << played.from << "-" << played.to << " at ply " << gameHistory.moveCount;
                ASSERT_TRUE(test::viewsConsistent(game->board, 1 - side));
            } else {
                ASSERT_EQ(gameHistory.moveCount, before);
                // No move only when there is none, or nothing left to play for.
                if (!legal.empty()) {
                    ASSERT_EQ(game->result->status, 2);
                }
            }
            ending = game->endingAfterReply(1 - side);
            side = 1 - side;
        }
        ++endings[int(ending)];
    }
    // Most games end by a rule rather than by the ply limit.
    EXPECT_GE(6 - endings[int(Ending::none)], 4);
}

TEST(Bench, SignatureIsUnchanged) {
    std::ifstream in(std::string(ZARVI_SOURCE_DIR) + "/data/bench.fen");
    const std::string positions((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Any change of the search or the evaluation changes the count; a
    // commit that changes it on purpose says so and updates the file.
    const std::string label = "# Signature at the default depth: ";
    const size_t at = positions.find(label);
    ASSERT_NE(at, std::string::npos);
    const long long signature = std::stoll(positions.substr(at + label.size()));
    BenchResult result;
    ASSERT_EQ(runBench(positions, benchDepth, result), "");
    EXPECT_EQ(result.positions, 39);
    EXPECT_EQ(result.nodes, signature);
}

}  // namespace
}  // namespace zarvi
