// The game: take-back, the engine's move from the book or the search, and
// the endings (its own threefold repetition test among them) as the game's
// end-of-game sequence finds them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "search/history.h"
#include "support/engine.h"
#include "support/positions.h"
#include "support/referee.h"

namespace zarvi {
namespace {

// A whole game (EngineTest) that describes everything the game is for
// comparison and reads its book from a text written for the test.
class GameTest : public test::EngineTest {
protected:
    // The first plies of 1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 ... from the start.
    int knightDance(int plies) {
        std::string moves;
        for (int ply = 0; ply < plies; ++ply) moves += std::string(" g1f3 g8f6 f3g1 f6g8").substr(5 * (ply % 4), 5);
        return play(white, moves);
    }

    // The board with all its views, and the history's moves and keys.
    std::string snapshot() const {
        std::ostringstream out;
        out << test::positionSignature(game->board) << "moves " << gameHistory.moveCount << ':';
        for (int i = 0; i <= gameHistory.moveCount; ++i)
            out << ' ' << gameHistory.historyMoves[i].from * (i > 0) << '-' << gameHistory.historyMoves[i].to * (i > 0)
                << '/' << gameHistory.historyKey1[i] << '/' << gameHistory.historyKey2[i];
        return out.str();
    }

    // The game reads a book holding the moves for its current position, the
    // book on and the draw fixed at 0: started from 0, the generator's first
    // number is 0, and so is the clock.
    void useBook(const std::string& moves) {
        std::stringstream text;
        text << game->board.key2 << ',' << game->board.key3 << '(' << moves << ')';
        game->book = std::make_unique<librito>("");
        game->book->load(text);
        game->book->startRandom(0);
        game->book->setClock([] { return 0u; });
        settings.useBook = 1;
    }

    // The window's sequence after an accepted user move: the endings before
    // the reply, the engine's move, the endings after it.
    Ending respondTo(int userSide) {
        const Ending before = game->endingBeforeReply();
        if (before != Ending::none) return before;
        game->computerMove(1 - userSide);
        return game->endingAfterReply(userSide);
    }

    Move lastMove() const { return gameHistory.historyMoves[gameHistory.moveCount]; }
};


// Take-back replays the game from the start: each lands on exactly the
// game played directly to that point, through en passant, castling on both
// sides and a capture-promotion; with fewer than two plies nothing changes.
TEST_F(GameTest, TakeBackEqualsTheGamePlayedDirectly) {
    const std::string moves =
        "e2e4 g8f6 e4e5 d7d5 e5d6 b8c6 d6c7 e7e6 g1f3 f8e7 f1b5 e8g8 e1g1 a7a6 c7d8 f8d8 b5c6 b7c6";
    std::vector<std::string> direct;
    for (std::size_t plies = 0; plies <= 18; plies += 2) {
        game->newGame();
        play(white, moves.substr(0, 5 * plies));
        direct.push_back(snapshot());
    }
    EXPECT_EQ(gameHistory.historyMoves[15], (Move{73, 21}));
    for (int k = 8; k >= 0; --k) {
        game->takeBack(white);
        EXPECT_EQ(snapshot(), direct[std::size_t(k)]) << "taken back to ply " << 2 * k;
    }
    game->takeBack(white);
    EXPECT_EQ(snapshot(), direct[0]);
    // The engine opened as white: the user, black, has no move to take back.
    play(white, "e2e4");
    const std::string afterOne = snapshot();
    game->takeBack(black);
    EXPECT_EQ(snapshot(), afterOne);
}

// When the user's own move ended the game the engine made no reply, so only
// that move is taken back: the user is to move again.
TEST_F(GameTest, TakeBackAfterTheUsersFinalMoveRemovesOnlyIt) {
    setDepthLimit(1);
    play(white, "e2e4 e7e5 f1c4 b8c6 d1h5 g8f6");
    const std::string beforeMate = snapshot();
    play(white, "h5f7");
    EXPECT_EQ(respondTo(white), Ending::userWins);
    game->takeBack(white);
    EXPECT_EQ(snapshot(), beforeMate);
    play(white, "h5f3 c6d4");
}


// nodeCount is reset by every search, so a value planted before the
// engine's move shows whether it searched.
constexpr int64_t noSearch = -1;

// Plies 0 to 30 of a game take the book's move, with the book's label in
// the status text; from ply 31 on, or with the book off, the engine searches.
TEST_F(GameTest, BookIsAskedDuringTheFirstThirtyPliesOnly) {
    setDepthLimit(1);
    for (const auto& [plies, bookOn] : {std::pair{0, 1}, {1, 1}, {29, 1}, {30, 1}, {31, 1}, {32, 1}, {0, 0}}) {
        SCOPED_TRACE("engine to play ply " + std::to_string(plies + 1) + (bookOn ? "" : ", the book off"));
        game->newGame();
        const int side = knightDance(plies);
        settings.language = plies % 2;
        useBook(side == white ? "b1c3" : "b8c6");
        settings.useBook = bookOn;
        searcher().nodeCount = noSearch;
        std::strcpy(statusText, "thinking...");
        game->computerMove(side);
        ASSERT_EQ(gameHistory.moveCount, plies + 1);
        EXPECT_EQ(searcher().nodeCount == noSearch, bookOn && plies <= 30);
        if (!bookOn || plies > 30) continue;
        EXPECT_EQ(lastMove(), side == white ? (Move{12, 33}) : (Move{82, 63}));
        const std::string label = settings.language == 1 ? "Book." : "Libro.";
        EXPECT_EQ(std::string(statusText), label + std::string(200 - label.size(), ' '));
    }
}

// The book is outside data: the engine plays its move only when it is
// legal (as the user-move checker decides), a pawn onto the last rank as a
// queen, and never as a resignation.
TEST_F(GameTest, BookMovesAreCheckedAndNeverAResignation) {
    setDepthLimit(1);
    useBook("e2e5 99/d2d4 1");
    game->computerMove(white);
    EXPECT_TRUE(gameHistory.moveCount == 1 && test::Referee().isLegal(lastMove()));
    setPosition("3r3k/4P3/8/8/8/8/8/K7 w - - 0 1");
    useBook("e7d8");
    searcher().resignRequest = 1;  // left by a search after switching sides
    game->computerMove(white);
    EXPECT_EQ(lastMove(), (Move{75, 5}));
    EXPECT_EQ(game->board.squares[84], pieceCode(white, queen));
    EXPECT_EQ(game->endingAfterReply(black), Ending::none);
}

// The end-of-game sequence around the engine's reply to the user's last
// move (or its first move): the ending, and the plies played then.
TEST_F(GameTest, EndingsAndTheirPrecedence) {
    const char* const dance = " b1c3 b8c6 c3b1 c6b8 b1c3 b8c6 c3b1 c6b8";
    const std::string fifty = "rn2k3/8/8/8/8/8/8/RN2K3 w - - 91 80";
    // book: the engine's book entry after the moves, or none.
    struct Case { std::string fen, moves; const char* book; int canResign; Ending ending; int plies; };
    const Case cases[] = {
        // The user repeats a position a third time: no engine move. A second
        // time is no repetition, and the engine replies.
        {startFen, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3", nullptr, 0, Ending::repetitionDraw, 9},
        {startFen, "g1f3 g8f6 f3g1 f6g8 g1f3", nullptr, 0, Ending::none, 6},
        // A hundred plies without capture or pawn move: the repetition
        // outranks the fifty-move rule, after the user's move as after the
        // engine's; 99 plies are not enough. Only positions from ply 1 on
        // count: the start standing a third time after the dance's eighth
        // ply is no repetition, and the engine's book move is played.
        {fifty, std::string(dance) + " b1c3", nullptr, 0, Ending::repetitionDraw, 9},
        {fifty, std::string(dance) + " b1a3", nullptr, 0, Ending::fiftyMoveDraw, 9},
        {fifty, dance, "b1c3", 0, Ending::repetitionDraw, 9},
        {"k7/8/8/8/8/8/8/K6R w - - 98 80", "h1h2", nullptr, 0, Ending::fiftyMoveDraw, 2},
        // The user stalemates the engine, which makes no move (the user's
        // mate is in the take-back test).
        {"k7/8/8/1Q6/8/8/8/7K w - - 0 1", "b5b6", nullptr, 0, Ending::engineDeclaresDraw, 1},
        // No pawns and under four units of pieces: a draw found on the
        // engine's turn. A pawn or two minor pieces leave something to play for.
        {"8/8/8/4k3/8/2p5/8/KN6 w - - 0 1", "b1c3", nullptr, 0, Ending::engineDeclaresDraw, 1},
        {"8/8/8/4k3/8/8/8/K5B1 b - - 0 1", "", nullptr, 0, Ending::engineDeclaresDraw, 0},
        {"8/8/8/4k3/8/8/P7/K5N1 b - - 0 1", "", nullptr, 0, Ending::none, 1},
        {"8/8/8/4k3/8/8/8/K4BN1 b - - 0 1", "", nullptr, 0, Ending::none, 1},
        // The engine's own move mates or stalemates the user, though it
        // announced neither (the move is the book's).
        {startFen, "f2f3 e7e5 g2g4", "d8h4", 0, Ending::engineWins, 4},
        {"k7/8/8/4n3/8/7p/7P/7K b - - 0 1", "", "e5f3", 0, Ending::engineDeclaresDraw, 1},
        // A hopeless engine resigns with its move on the board, if it may.
        {"k7/8/8/8/8/8/8/4K1QR b - - 0 1", "", nullptr, 1, Ending::engineResigns, 1},
        {"k7/8/8/8/8/8/8/4K1QR b - - 0 1", "", nullptr, 0, Ending::none, 1},
    };
    setDepthLimit(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen + " moves " + c.moves);
        settings.canResign = c.canResign;
        const int first = setPosition(c.fen.c_str());
        const int engineSide = play(first, c.moves);
        if (c.book) useBook(c.book);
        EXPECT_EQ(respondTo(1 - engineSide), c.ending);
        EXPECT_EQ(gameHistory.moveCount, c.plies);
        EXPECT_EQ(searcher().resignRequest, 0);
        EXPECT_TRUE(test::viewsConsistent(game->board, c.plies % 2 == 0 ? first : 1 - first));
        settings.useBook = 0;
    }
}

// The history holds 999 plies: the engine searches at ply 999 without
// writing past the keys the search may use; then neither side may move, and
// a full history is a draw of its own, after the user's move as after the
// engine's. (The keys of the filled history match no position.)
TEST_F(GameTest, FullHistoryEndsTheGame) {
    setDepthLimit(3);
    knightDance(998);
    game->computerMove(white);
    ASSERT_EQ(gameHistory.moveCount, 999);
    const std::string full = snapshot();
    EXPECT_EQ(game->enterUserMove(black, 82, 63), 0);
    game->computerMove(black);
    EXPECT_EQ(game->result->status, 2);
    EXPECT_EQ(snapshot(), full);

    setDepthLimit(2);
    for (int userSide : {white, black}) {
        setPosition("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
        for (int i = 1; i <= 998; ++i) gameHistory.historyKey1[i] = game->board.key2 + 1;
        gameHistory.moveCount = 998;
        if (userSide == white) play(white, "a1a2");
        EXPECT_EQ(respondTo(userSide), Ending::engineDeclaresDraw) << userSide;
        EXPECT_EQ(gameHistory.moveCount, 999);
    }
}

}  // namespace
}  // namespace zarvi
