#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "game/history.h"
#include "gametest.h"
#include "search/search.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::GameSnapshot;
using ComputerMoveTest = test::GameTest;

// nodeCount is reset by every search, so a value planted before the
// engine's move shows whether it searched.
constexpr int64_t noSearch = -1;

bool contains(const std::vector<Move>& moves, const Move& move) {
    return std::find(moves.begin(), moves.end(), move) != moves.end();
}

Move lastMove() { return gameHistory.historyMoves[gameHistory.moveCount]; }

// Plies 0 to 30 of a game take the book's move; from ply 31 on the engine
// searches even where the book has an entry.
TEST_F(ComputerMoveTest, BookIsAskedDuringTheFirstThirtyPliesOnly) {
    setDepthLimit(1);
    for (int plies : {0, 1, 29, 30, 31, 32, 40}) {
        SCOPED_TRACE("engine to play ply " + std::to_string(plies + 1));
        game->newGame();
        const int side = knightDance(plies);
        const Move bookMove = side == white ? Move{12, 33} : Move{82, 63};  // Nc3 or Nc6
        useBook(entryHere(side == white ? "b1c3" : "b8c6"));
        nodeCount = noSearch;
        game->computerMove(side);
        ASSERT_EQ(gameHistory.moveCount, plies + 1);
        if (plies <= bookPlies) {
            EXPECT_EQ(nodeCount, noSearch);
            EXPECT_EQ(lastMove(), bookMove);
        } else {
            EXPECT_GT(nodeCount, 0);
        }
    }
    // With the book off the engine always searches.
    game->newGame();
    useBook(entryHere("b1c3"));
    settings.useBook = 0;
    nodeCount = noSearch;
    game->computerMove(white);
    EXPECT_GT(nodeCount, 0);
}

TEST_F(ComputerMoveTest, BookMoveShowsTheBookLabelInTheLanguage) {
    for (int language : {1, 0}) {
        settings.language = language;
        game->newGame();
        useBook(entryHere("e2e4"));
        std::strcpy(statusText, "thinking...");
        game->computerMove(white);
        const std::string label = language == 1 ? "Book." : "Libro.";
        EXPECT_EQ(std::string(statusText), label + std::string(statusTextLength - label.size(), ' '));
        EXPECT_EQ(game->result->status, 0);
        EXPECT_EQ(lastMove(), (Move{25, 45}));
    }
}

// The book is outside data: whatever its entry for the position names, the
// engine plays a legal move, from the book only when the book's move is legal.
TEST_F(ComputerMoveTest, HostileBookNeverPutsAnIllegalMoveOnTheBoard) {
    setDepthLimit(1);
    struct Case {
        const char* moves;
        int side;
    };
    const Case cases[] = {
        {"e2e5", white},  {"e7e5", white},  {"i2i4", white},         {"e0e4", white},
        {"e2e9", white},  {"a1a1", white},  {"e1g1", white},         {"d1d3", white},
        {"b1d2", white},  {"e2e4", black},  {"e8g8", black},         {"e2e5 50/e7e5 50", white},
        {"e7e5", black},  {"zzzz", white},  {"e2e5 99/d2d4 1", white},
    };
    for (const Case& c : cases) {
        for (int r : {0, 50, 99}) {
            SCOPED_TRACE(std::string(c.moves) + " r " + std::to_string(r));
            game->newGame();
            if (c.side == black) play(white, {"d2d4"});
            useBook(entryHere(c.moves), r);
            const std::vector<Move> legal = legalMoves(c.side);
            const int before = gameHistory.moveCount;
            game->computerMove(c.side);
            ASSERT_EQ(gameHistory.moveCount, before + 1);
            EXPECT_TRUE(contains(legal, lastMove())) << lastMove().from << "-" << lastMove().to;
            EXPECT_TRUE(test::viewsConsistent(game->board, 1 - c.side));
        }
    }
}

// A pawn move onto the last rank in the book is played as a queen, the
// only piece the book's four characters can mean.
TEST_F(ComputerMoveTest, BookPawnMoveOntoTheLastRankPromotesToAQueen) {
    setPosition("3r3k/4P3/8/8/8/8/8/K7 w - - 0 1");
    useBook(entryHere("e7d8"));
    nodeCount = noSearch;
    game->computerMove(white);
    EXPECT_EQ(nodeCount, noSearch);
    EXPECT_EQ(lastMove(), (Move{75, 5}));
    EXPECT_EQ(game->board.squares[84], pieceCode(white, queen));
}

// The user's move repeats a position a third time: the game ends before
// the engine thinks, and the engine makes no move.
TEST_F(ComputerMoveTest, RepetitionByTheUserEndsTheGameBeforeTheEngineThinks) {
    setDepthLimit(1);
    knightDance(4);
    play(white, {"g1f3"});
    EXPECT_EQ(respondTo(white), Ending::none);  // second time only
    EXPECT_EQ(gameHistory.moveCount, 6);
    game->newGame();
    knightDance(8);
    play(white, {"g1f3"});
    nodeCount = noSearch;
    EXPECT_EQ(respondTo(white), Ending::repetitionDraw);
    EXPECT_EQ(gameHistory.moveCount, 9);
    EXPECT_EQ(nodeCount, noSearch);
}

// Both the repetition and the fifty-move rule hold: only the repetition is
// reported, after the user's move as after the engine's.
TEST_F(ComputerMoveTest, RepetitionOutranksTheFiftyMoveRule) {
    const char* fen = "rn2k3/8/8/8/8/8/8/RN2K3 w - - 91 80";
    const std::vector<std::string> dance = {"b1c3", "b8c6", "c3b1", "c6b8", "b1c3", "b8c6", "c3b1", "c6b8"};
    setPosition(fen);
    play(white, dance);
    play(white, {"b1c3"});
    EXPECT_EQ(game->board.halfmoveClock, 100);
    EXPECT_EQ(game->endingBeforeReply(), Ending::repetitionDraw);
    // Without the repetition the same clock ends the game by the rule.
    setPosition(fen);
    play(white, dance);
    play(white, {"b1a3"});
    EXPECT_EQ(game->endingBeforeReply(), Ending::fiftyMoveDraw);

    // The engine, white, completes both with its book move.
    setPosition(fen);
    play(white, dance);
    useBook(entryHere("b1c3"));
    game->computerMove(white);
    EXPECT_EQ(game->board.halfmoveClock, 100);
    EXPECT_EQ(game->endingAfterReply(black), Ending::repetitionDraw);
}

// A hopeless engine resigns with its move on the board.
TEST_F(ComputerMoveTest, ResignationComesAfterTheEnginesMove) {
    settings.canResign = 1;
    setDepthLimit(2);
    const int side = setPosition("k7/8/8/8/8/8/8/4K1QR b - - 0 1");
    const GameSnapshot before = snapshot();
    game->computerMove(side);
    EXPECT_EQ(game->searcher->resignRequest, 1);
    EXPECT_EQ(gameHistory.moveCount, 1);
    EXPECT_NE(game->board.kingSquare[black], 81);
    EXPECT_NE(snapshot(), before);
    EXPECT_EQ(game->endingAfterReply(white), Ending::engineResigns);
    EXPECT_EQ(game->searcher->resignRequest, 0);

    // Not while resigning is off.
    settings.canResign = 0;
    setPosition("k7/8/8/8/8/8/8/4K1QR b - - 0 1");
    game->computerMove(side);
    EXPECT_EQ(game->endingAfterReply(white), Ending::none);
}

// After switching sides the engine's search may ask to resign with no
// end-of-game test to announce it; a book move that follows is not a
// resignation.
TEST_F(ComputerMoveTest, BookMoveIsNeverAResignation) {
    game->searcher->resignRequest = 1;
    useBook(entryHere("e2e4"));
    game->computerMove(white);
    EXPECT_EQ(lastMove(), (Move{25, 45}));
    EXPECT_EQ(game->endingAfterReply(black), Ending::none);
}

// The user's move leaves the engine without a legal move: mate (-1) or
// stalemate (2), with the board and the history as the user left them.
TEST_F(ComputerMoveTest, UserMoveThatMatesOrStalematesTheEngine) {
    setDepthLimit(2);
    play(white, {"e2e4", "e7e5", "f1c4", "b8c6", "d1h5", "g8f6", "h5f7"});
    GameSnapshot afterUser = snapshot();
    EXPECT_EQ(respondTo(white), Ending::userWins);
    EXPECT_EQ(game->result->status, -1);
    EXPECT_EQ(snapshot(), afterUser);

    setPosition("k7/8/8/1Q6/8/8/8/7K w - - 0 1");
    play(white, {"b5b6"});
    afterUser = snapshot();
    EXPECT_EQ(respondTo(white), Ending::engineDeclaresDraw);
    EXPECT_EQ(game->result->status, 2);
    EXPECT_EQ(snapshot(), afterUser);
}

// No pawns and under four units of pieces in all: a draw, found when the
// engine is to move, which then makes no move.
TEST_F(ComputerMoveTest, LoneMinorPieceIsADrawOnTheEnginesTurn) {
    setDepthLimit(2);
    for (const char* fen : {"8/8/8/4k3/8/8/8/K5N1 b - - 0 1", "8/8/8/4k3/8/8/8/K5B1 b - - 0 1",
                            "8/8/8/4k3/8/8/8/K7 b - - 0 1", "8/8/8/4k3/8/8/8/K5N1 w - - 0 1"}) {
        SCOPED_TRACE(fen);
        const int side = setPosition(fen);
        const GameSnapshot before = snapshot();
        game->computerMove(side);
        EXPECT_EQ(game->result->status, 2);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(game->endingAfterReply(1 - side), Ending::engineDeclaresDraw);
    }
    // The user takes the last pawn: only the engine's turn finds the draw.
    setPosition("8/8/8/4k3/8/2p5/8/KN6 w - - 0 1");
    play(white, {"b1c3"});
    EXPECT_EQ(game->endingBeforeReply(), Ending::none);
    EXPECT_EQ(respondTo(white), Ending::engineDeclaresDraw);
    EXPECT_EQ(gameHistory.moveCount, 1);
    // A pawn, a rook, or two minor pieces leave something to play for.
    for (const char* fen : {"8/8/8/4k3/8/8/P7/K5N1 b - - 0 1", "8/8/8/4k3/8/8/8/K5R1 b - - 0 1",
                            "8/8/8/4k3/8/8/8/K4BN1 b - - 0 1"}) {
        SCOPED_TRACE(fen);
        const int side = setPosition(fen);
        game->computerMove(side);
        EXPECT_EQ(game->result->status, 0);
        EXPECT_EQ(gameHistory.moveCount, 1);
    }
}

// The engine's move leaves the user without a legal move: a stalemate is
// the draw, a mate the engine's win, though the engine announced neither
// (here the moves come from the book).
TEST_F(ComputerMoveTest, EngineMoveThatStalematesOrMatesTheUser) {
    setPosition("k7/8/8/4n3/8/7p/7P/7K b - - 0 1");
    useBook(entryHere("e5f3"));
    game->computerMove(black);
    EXPECT_EQ(lastMove(), (Move{55, 36}));
    EXPECT_TRUE(legalMoves(white).empty());
    EXPECT_FALSE(inCheck(white));
    EXPECT_EQ(game->endingAfterReply(white), Ending::engineDeclaresDraw);

    game->newGame();
    play(white, {"f2f3", "e7e5", "g2g4"});
    useBook(entryHere("d8h4"));
    game->computerMove(black);
    EXPECT_EQ(game->result->status, 0);
    EXPECT_EQ(game->endingAfterReply(white), Ending::engineWins);
}

// The history holds 999 plies. The engine searches at ply 999 without
// writing past the keys the search may use, and then the game can take
// no move from either side.
TEST_F(ComputerMoveTest, FullHistoryEndsTheGameInsteadOfOverrunningIt) {
    setDepthLimit(3);
    knightDance(historyCapacity - 1);
    game->computerMove(white);
    ASSERT_EQ(game->result->status, 0);
    EXPECT_EQ(gameHistory.moveCount, historyCapacity);
    const GameSnapshot full = snapshot();
    const std::vector<Move> legal = legalMoves(black);
    ASSERT_FALSE(legal.empty());
    EXPECT_EQ(game->enterUserMove(black, legal[0].from, legal[0].to), 0);
    EXPECT_EQ(snapshot(), full);
    game->computerMove(black);
    EXPECT_EQ(game->result->status, 2);
    EXPECT_EQ(snapshot(), full);
    EXPECT_NE(game->endingAfterReply(white), Ending::none);
}

// Where neither repetition nor the fifty-move rule ends the game, the full
// history does, as a draw, after the user's move and after the engine's.
// The keys stand for a game of 998 plies through other positions.
TEST_F(ComputerMoveTest, FullHistoryIsADrawOfItsOwn) {
    setDepthLimit(2);
    for (int userSide : {white, black}) {
        SCOPED_TRACE(userSide == white ? "user white" : "user black");
        setPosition("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
        const uint32_t other = game->board.key2 + 1;
        for (int i = 1; i <= historyCapacity - 1; ++i) gameHistory.historyKey1[i] = other;
        gameHistory.moveCount = historyCapacity - 1;
        if (userSide == white) {
            play(white, {"a1a2"});
            EXPECT_EQ(game->endingBeforeReply(), Ending::engineDeclaresDraw);
        } else {
            game->computerMove(white);
            EXPECT_EQ(gameHistory.moveCount, historyCapacity);
            EXPECT_EQ(game->endingAfterReply(black), Ending::engineDeclaresDraw);
        }
    }
}

}  // namespace
}  // namespace zarvi
