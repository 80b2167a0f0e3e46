#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/makemove.h"
#include "board/vju.h"
#include "game/history.h"
#include "gametest.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::GameSnapshot;
using CableTest = test::GameTest;

// Every ply of the history is a legal move of the colour its number gives:
// white the odd plies, black the even ones.
bool historyAlternates() {
    posicion board;
    posicionador().setStartPosition(board);
    vju checker;
    for (int ply = 1; ply <= gameHistory.moveCount; ++ply) {
        const int side = ply % 2 == 1 ? white : black;
        const Move m = gameHistory.historyMoves[ply];
        const bool promotes = typeOf(board.squares[m.from]) == pawn && rankOf(m.from) == (side == white ? 7 : 2);
        const int to = promotes ? promotionDestination(m.from, m.to, side) : m.to;
        if (!checkUserMove(checker, board, m.from, to, side)) return false;
        checker.promotion = 0;
        makeMove(board, m.from, m.to, side);
    }
    return true;
}

TEST_F(CableTest, NewGameIsTheStartWithAnEmptyHistory) {
    knightDance(3);
    game->newGame();
    EXPECT_EQ(gameHistory.moveCount, 0);
    posicion start;
    posicionador().setStartPosition(start);
    EXPECT_EQ(test::positionSignature(game->board), test::positionSignature(start));
    EXPECT_EQ(gameHistory.historyKey1[0], start.key2);
    EXPECT_EQ(gameHistory.historyKey2[0], start.key3);
}

TEST_F(CableTest, RefusedUserMoveChangesNothing) {
    play(white, {"e2e4"});
    const GameSnapshot before = snapshot();
    EXPECT_EQ(game->enterUserMove(black, 75, 45), 0);  // three squares
    EXPECT_EQ(game->enterUserMove(black, 25, 35), 0);  // a white pawn
    EXPECT_EQ(game->enterUserMove(black, 85, 75), 0);  // onto its own pawn
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(game->promotionPending, 0);
}

// Only positions after ply 1 onwards count: the start position standing a
// third time after 4...Ng8 is no repetition, the position after 1. Nf3
// standing a third time after 5. Nf3 is.
TEST_F(CableTest, ThreefoldRepetitionCountsFromTheFirstPly) {
    EXPECT_EQ(game->isThirdRepetition(), 0);
    for (int ply = 1; ply <= 8; ++ply) {
        game->newGame();
        knightDance(ply);
        EXPECT_EQ(game->isThirdRepetition(), 0) << "after ply " << ply;
    }
    int side = play(white, {"g1f3"});
    EXPECT_EQ(gameHistory.moveCount, 9);
    EXPECT_EQ(game->isThirdRepetition(), 1);
    play(side, {"g8f6"});
    EXPECT_EQ(game->isThirdRepetition(), 1);
    // The same squares with the other side to move are another position.
    game->newGame();
    knightDance(4);
    play(white, {"b1c3", "b8c6", "c3b1", "c6b8", "b1c3", "b8c6", "c3b1"});
    EXPECT_EQ(game->isThirdRepetition(), 0);
}

// A pawn reaching the last rank waits for its piece with the board
// untouched; the history then holds the promotion code.
TEST_F(CableTest, UserPromotionsRecordTheirCode) {
    struct Case {
        const char* fen;
        int side, from, to;
        int pendingCode;
        int type;
        int code;
    };
    const char* whiteSeventh = "3r1r1k/4P3/8/8/8/8/8/K7 w - - 0 1";
    const char* blackSecond = "k7/8/8/8/8/8/4p3/3R1R1K b - - 0 1";
    const Case cases[] = {
        {whiteSeventh, white, 75, 85, 8, queen, 13},  {whiteSeventh, white, 75, 84, 0, queen, 5},
        {whiteSeventh, white, 75, 86, 16, queen, 21}, {whiteSeventh, white, 75, 85, 8, knight, 10},
        {blackSecond, black, 25, 15, 8, queen, 13},   {blackSecond, black, 25, 14, 0, queen, 5},
        {blackSecond, black, 25, 16, 16, queen, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fen) + " to " + std::to_string(c.to));
        setPosition(c.fen);
        const GameSnapshot before = snapshot();
        ASSERT_EQ(game->enterUserMove(c.side, c.from, c.to), 1);
        EXPECT_EQ(game->promotionPending, 1);
        EXPECT_EQ(game->pendingFrom, c.from);
        EXPECT_EQ(game->pendingCode, c.pendingCode);
        EXPECT_EQ(snapshot(), before);

        game->promotionPending = 0;
        game->applyPromotion(c.side, c.type);
        EXPECT_EQ(gameHistory.moveCount, 1);
        EXPECT_EQ(gameHistory.historyMoves[1], (Move{c.from, c.code}));
        EXPECT_EQ(game->board.squares[c.to], pieceCode(c.side, c.type));
        EXPECT_EQ(game->board.squares[c.from], 0);
        EXPECT_EQ(gameHistory.historyKey1[1], game->board.key2);
        EXPECT_EQ(gameHistory.historyKey2[1], game->board.key3);
        EXPECT_TRUE(test::viewsConsistent(game->board, 1 - c.side));
    }
}

TEST_F(CableTest, TakeBackOfNoneOneOrTwoPlies) {
    const GameSnapshot start = snapshot();
    game->takeBack(white);
    EXPECT_EQ(snapshot(), start);

    // The engine opened as white and the user, black, takes back: there is
    // no move of the user's to take back yet.
    play(white, {"e2e4"});
    const GameSnapshot afterOne = snapshot();
    game->takeBack(black);
    EXPECT_EQ(snapshot(), afterOne);

    play(black, {"e7e5"});
    game->takeBack(white);
    EXPECT_EQ(snapshot(), start);
}

// Taking back replays the game from the start; every take-back must land
// on exactly the game played directly to that point, through en passant,
// castling on both sides and a capture-promotion.
TEST_F(CableTest, TakeBackEqualsTheGamePlayedDirectly) {
    const std::vector<std::string> moves = {"e2e4", "g8f6", "e4e5", "d7d5", "e5d6", "b8c6", "d6c7", "e7e6", "g1f3",
                                            "f8e7", "f1b5", "e8g8", "e1g1", "a7a6", "c7d8", "f8d8", "b5c6", "b7c6"};
    std::vector<GameSnapshot> direct;
    for (std::size_t plies = 0; plies <= moves.size(); plies += 2) {
        game->newGame();
        play(white, std::vector<std::string>(moves.begin(), moves.begin() + long(plies)));
        direct.push_back(snapshot());
    }
    EXPECT_EQ(gameHistory.historyMoves[15], (Move{73, 21}));

    for (int k = int(direct.size()) - 2; k >= 0; --k) {
        game->takeBack(white);
        EXPECT_EQ(snapshot(), direct[std::size_t(k)]) << "after taking back to ply " << 2 * k;
        EXPECT_TRUE(test::viewsConsistent(game->board, white));
    }
}

// When the user's own move ended the game the engine made no reply, so only
// that move is taken back: the user is to move again, and the moves of the
// history go on alternating between the colours.
TEST_F(CableTest, TakeBackAfterTheUsersFinalMoveRemovesOnlyIt) {
    // White mates (the scholar's mate); the engine, black, has no reply.
    const std::vector<std::string> mate = {"e2e4", "e7e5", "f1c4", "b8c6", "d1h5", "g8f6", "h5f7"};
    play(white, std::vector<std::string>(mate.begin(), mate.end() - 1));
    const GameSnapshot beforeMate = snapshot();
    play(white, {"h5f7"});
    EXPECT_EQ(respondTo(white), Ending::userWins);
    EXPECT_EQ(gameHistory.moveCount, 7);
    game->takeBack(white);
    EXPECT_EQ(snapshot(), beforeMate);
    // White, the user, plays on and black answers.
    play(white, {"h5f3", "c6d4"});
    EXPECT_TRUE(historyAlternates());

    // Black, the user, repeats the position after 1...Nf6 a third time.
    game->newGame();
    knightDance(9);
    const GameSnapshot beforeRepetition = snapshot();
    play(black, {"g8f6"});
    EXPECT_EQ(respondTo(black), Ending::repetitionDraw);
    game->takeBack(black);
    EXPECT_EQ(snapshot(), beforeRepetition);
}

}  // namespace
}  // namespace zarvi
