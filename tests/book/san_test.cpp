#include <gtest/gtest.h>

#include <string>

#include "book/san.h"
#include "support/positions.h"

namespace zarvi {
namespace {

// The move that text names for the side to move of fen; the test fails on
// a refusal.
Move readIn(const char* fen, const char* text) {
    int side = white;
    posicion board = test::positionFromFen(fen, &side);
    Move move{0, 0};
    const std::string fault = readSanMove(board, side, text, move);
    EXPECT_EQ(fault, "") << text << " in " << fen;
    return move;
}

// Why text is refused for the side to move of fen; the board must come
// back as it was.
std::string refusalIn(const char* fen, const char* text) {
    int side = white;
    posicion board = test::positionFromFen(fen, &side);
    const std::string before = test::positionSignature(board);
    Move move{0, 0};
    const std::string fault = readSanMove(board, side, text, move);
    EXPECT_NE(fault, "") << text << " in " << fen << " read as " << move.from << "-" << move.to;
    EXPECT_EQ(test::positionSignature(board), before) << text;
    return fault;
}

TEST(San, PawnAndPieceMoves) {
    EXPECT_EQ(readIn(startFen, "e4"), (Move{25, 45}));
    EXPECT_EQ(readIn(startFen, "e3"), (Move{25, 35}));
    EXPECT_EQ(readIn(startFen, "Nf3"), (Move{17, 36}));
    const char* sicilian = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2";
    EXPECT_EQ(readIn(sicilian, "Ne2"), (Move{17, 25}));
    EXPECT_EQ(readIn(sicilian, "Bb5"), (Move{16, 52}));
    EXPECT_EQ(readIn(sicilian, "Ke2"), (Move{15, 25}));
    // Two pawns on one file: only the front one can step onto the square.
    EXPECT_EQ(readIn("4k3/8/8/8/8/4P3/4P3/4K3 w - - 0 1", "e4"), (Move{35, 45}));
}

TEST(San, DisambiguationByFileRankOrBoth) {
    // Knights on b1 and f3 both reach d2.
    const char* knights = "rnbqkbnr/ppp1pppp/8/3p4/8/3P1N2/PPP1PPPP/RNBQKB1R w KQkq - 0 3";
    EXPECT_EQ(readIn(knights, "Nbd2"), (Move{12, 24}));
    EXPECT_EQ(readIn(knights, "Nfd2"), (Move{36, 24}));
    EXPECT_NE(refusalIn(knights, "Nd2").find("ambiguous"), std::string::npos);
    // A file that names a piece which cannot go there is not another way to
    // name the one that can.
    EXPECT_NE(refusalIn(knights, "Ncd2"), "");

    // Rooks on a1 and a5 both reach a3.
    const char* rooks = "4k3/8/8/R7/8/8/8/R3K3 w - - 0 1";
    EXPECT_EQ(readIn(rooks, "R1a3"), (Move{11, 31}));
    EXPECT_EQ(readIn(rooks, "R5a3"), (Move{51, 31}));
    EXPECT_NE(refusalIn(rooks, "Ra3").find("ambiguous"), std::string::npos);

    // Queens on a1, a3 and c1 all reach b2: only file and rank together name one.
    const char* queens = "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - - 0 1";
    EXPECT_EQ(readIn(queens, "Qa1b2"), (Move{11, 22}));
    EXPECT_EQ(readIn(queens, "Qa3b2"), (Move{31, 22}));
    EXPECT_EQ(readIn(queens, "Qcb2"), (Move{13, 22}));
    EXPECT_NE(refusalIn(queens, "Qab2").find("ambiguous"), std::string::npos);
    EXPECT_NE(refusalIn(queens, "Q1b2").find("ambiguous"), std::string::npos);

    // A pinned knight cannot move, so the other one is named alone.
    const char* pinned = "4k3/4r3/8/1N6/8/8/4N3/4K3 w - - 0 1";
    EXPECT_EQ(readIn(pinned, "Nd4"), (Move{52, 44}));
    // Over-disambiguation that still names one legal move is accepted.
    EXPECT_EQ(readIn(startFen, "Ngf3"), (Move{17, 36}));
}

TEST(San, CapturesAndEnPassant) {
    const char* scandinavian = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2";
    EXPECT_EQ(readIn(scandinavian, "exd5"), (Move{45, 54}));
    EXPECT_NE(refusalIn(scandinavian, "ed5"), "");
    EXPECT_NE(refusalIn(scandinavian, "xd5"), "");
    EXPECT_NE(refusalIn(scandinavian, "d5"), "");
    EXPECT_NE(refusalIn(scandinavian, "e4xd5"), "");
    EXPECT_NE(refusalIn(scandinavian, "exe5"), "");

    const char* fourKnights = "r1bqkb1r/pppp1ppp/2n2n2/4p3/4P3/2N2N2/PPPP1PPP/R1BQKB1R w KQkq - 4 4";
    EXPECT_EQ(readIn(fourKnights, "Nxe5"), (Move{36, 55}));
    EXPECT_NE(refusalIn(fourKnights, "Ne5").find("capture mark"), std::string::npos);
    EXPECT_NE(refusalIn(fourKnights, "Nxd4").find("takes nothing"), std::string::npos);

    // Black's d-pawn has just passed d6, beside white's pawn on e5.
    const char* passant = "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";
    EXPECT_EQ(readIn(passant, "exd6"), (Move{55, 64}));
    EXPECT_NE(refusalIn(passant, "exf6"), "");  // f5 went past f6 earlier
    EXPECT_NE(refusalIn(passant, "ed6"), "");
    // Black to capture en passant on e3.
    EXPECT_EQ(readIn("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "dxe3"), (Move{44, 35}));
}

TEST(San, ChecksAndMatesMustBeMarkedTruly) {
    const char* open = "rnbqkbnr/ppp2ppp/3p4/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 3";
    EXPECT_EQ(readIn(open, "Bb5+"), (Move{16, 52}));
    EXPECT_NE(refusalIn(open, "Bb5").find("lacks '+'"), std::string::npos);
    EXPECT_NE(refusalIn(open, "Bc4+").find("gives no check"), std::string::npos);
    EXPECT_NE(refusalIn(open, "Bb5#"), "");

    // The fool's mate: 1. f3 e5 2. g4 Qh4#.
    const char* fool = "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2";
    EXPECT_EQ(readIn(fool, "Qh4#"), (Move{84, 48}));
    EXPECT_NE(refusalIn(fool, "Qh4+").find("deserves '#'"), std::string::npos);
    EXPECT_NE(refusalIn(fool, "Qh4").find("lacks '#'"), std::string::npos);
}

TEST(San, CastlingBothWaysForBothSides) {
    const char* rooksHome = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
    EXPECT_EQ(readIn(rooksHome, "O-O"), (Move{15, 17}));
    EXPECT_EQ(readIn(rooksHome, "O-O-O"), (Move{15, 13}));
    const char* blackToMove = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1";
    EXPECT_EQ(readIn(blackToMove, "O-O"), (Move{85, 87}));
    EXPECT_EQ(readIn(blackToMove, "O-O-O"), (Move{85, 83}));

    // Castling is written as castling, never as the king's step.
    EXPECT_NE(refusalIn(rooksHome, "Kg1"), "");
    EXPECT_NE(refusalIn(rooksHome, "Kc1"), "");
    // Without the right, through an attacked square, or with pieces between.
    EXPECT_NE(refusalIn("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w Qkq - 0 1", "O-O"), "");
    EXPECT_EQ(readIn("r3k2r/ppppp1pp/8/8/8/8/PPPPP1PP/R3K2R w KQkq - 0 1", "O-O"), (Move{15, 17}));
    EXPECT_NE(refusalIn("r3k2r/ppppp1pp/5r2/8/8/8/PPPPP1PP/R3K2R w KQkq - 0 1", "O-O"), "");
    EXPECT_NE(refusalIn(startFen, "O-O"), "");
    EXPECT_NE(refusalIn(startFen, "O-O-O"), "");
}

TEST(San, RefusesTextThatIsNoMoveHere) {
    const char* notNotation[] = {"",   "+",       "e",   "e9",   "i4",    "Zf3",  "nf3",
                                 "N3", "O-O-O-O", "0-0", "e2e4", "Nf3++", "Nf3x"};
    for (const char* text : notNotation) EXPECT_NE(refusalIn(startFen, text), "") << text;
    // Legal-looking text with no legal move behind it.
    for (const char* text : {"e5", "Nd2", "Bc4", "Ke2", "Qh5", "exd3", "Nc6", "a3a4"})
        EXPECT_NE(refusalIn(startFen, text), "") << text;
    // A pinned piece may not move, nor may the king step into check.
    EXPECT_NE(refusalIn("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1", "Nc3"), "");
    EXPECT_NE(refusalIn("4k3/3r4/8/8/8/8/8/4K3 w - - 0 1", "Kd1"), "");
}

TEST(San, RefusesPromotionsWhichTheBookCannotWrite) {
    const char* seventh = "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1";
    for (const char* text : {"e8=Q", "e8=N", "e8", "exd8=Q+", "exd8"})
        EXPECT_NE(refusalIn(seventh, text).find("promotion"), std::string::npos) << text;
    EXPECT_NE(refusalIn(seventh, "e8Q"), "");
    EXPECT_NE(refusalIn("4k3/8/8/8/8/8/3p4/K7 b - - 0 1", "d1=Q+").find("promotion"), std::string::npos);
}

}  // namespace
}  // namespace zarvi
