#include "gametest.h"

#include <fstream>
#include <memory>
#include <ostream>

#include "board/attacks.h"
#include "eval/movegen.h"
#include "game/history.h"
#include "support/positions.h"

namespace zarvi::test {

namespace {

uint32_t fixedMilliseconds = 0;
uint32_t fixedClock() { return fixedMilliseconds; }

int squareOf(const std::string& text, std::size_t at) { return 10 * (text[at + 1] - '0') + (text[at] - 'a' + 1); }

}  // namespace

bool operator==(const GameSnapshot& a, const GameSnapshot& b) {
    return a.board == b.board && a.moveCount == b.moveCount && a.moves == b.moves && a.keys2 == b.keys2 &&
           a.keys3 == b.keys3;
}

std::ostream& operator<<(std::ostream& out, const GameSnapshot& snapshot) {
    out << "moveCount " << snapshot.moveCount << ", moves";
    for (const Move& m : snapshot.moves) out << ' ' << m.from << '-' << m.to;
    return out << '\n' << snapshot.board;
}

void GameTest::TearDown() {
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    EngineTest::TearDown();
}

int GameTest::play(int side, const std::vector<std::string>& moves) {
    for (const std::string& text : moves) {
        EXPECT_TRUE(text.size() == 4 || text.size() == 5) << text;
        if (text.size() < 4) continue;
        EXPECT_EQ(game->enterUserMove(side, squareOf(text, 0), squareOf(text, 2)), 1) << text;
        if (game->promotionPending) {
            game->promotionPending = 0;
            game->applyPromotion(side, queen);
        }
        side = 1 - side;
    }
    return side;
}

int GameTest::knightDance(int plies) {
    const std::string dance[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    int side = white;
    for (int ply = 0; ply < plies; ++ply) side = play(side, {dance[ply % 4]});
    return side;
}

GameSnapshot GameTest::snapshot() const {
    GameSnapshot s{positionSignature(game->board), gameHistory.moveCount, {}, {}, {}};
    for (int i = 0; i <= gameHistory.moveCount; ++i) {
        if (i > 0) s.moves.push_back(gameHistory.historyMoves[i]);
        s.keys2.push_back(gameHistory.historyKey1[i]);
        s.keys3.push_back(gameHistory.historyKey2[i]);
    }
    return s;
}

std::vector<Move> GameTest::legalMoves(int side) {
    const int n = listLegalMoves(searcher(), game->board, side, 0, inCheck(side));
    std::vector<Move> moves;
    for (int i = 0; i < n; ++i) moves.push_back({searcher().fullFrom[0][i], searcher().fullTo[0][i]});
    return moves;
}

bool GameTest::inCheck(int side) const {
    return isAttacked(game->board, game->board.kingSquare[side], 1 - side) != 0;
}

std::string GameTest::entryHere(const std::string& moves) const {
    return std::to_string(game->board.key2) + "," + std::to_string(game->board.key3) + "(" + moves + ")";
}

void GameTest::useBook(const std::string& text, int r) {
    if (folder.empty()) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("zarvi-game-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::create_directories(folder);
    }
    const std::filesystem::path path = folder / ("librito" + std::to_string(books++) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    game->book = std::make_unique<librito>(path.string().c_str());
    // Started from 0, the generator's first number is 0, so r alone is drawn.
    game->book->startRandom(0);
    fixedMilliseconds = uint32_t(r);
    game->book->setClock(fixedClock);
    settings.useBook = 1;
}

Ending GameTest::respondTo(int userSide) {
    const Ending before = game->endingBeforeReply();
    if (before != Ending::none) return before;
    game->computerMove(1 - userSide);
    return game->endingAfterReply(userSide);
}

}  // namespace zarvi::test
