// Building the book: standard algebraic notation read by the rules, and
// the book the program ships, built from the shipped list of lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "board/makemove.h"
#include "book/bookbuilder.h"
#include "book/bookentry.h"
#include "book/librito.h"
#include "book/san.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

// A reading holds only when the rules agree with every part of the text;
// a refusal says why and leaves the board as it was.
TEST(San, ReadsWhatTheRulesAgreeWith) {
    const char* const knights = "rnbqkbnr/ppp1pppp/8/3p4/8/3P1N2/PPP1PPPP/RNBQKB1R w KQkq - 0 3";  // b1, f3 reach d2
    const char* const queens = "4k3/8/8/8/8/Q7/8/Q1Q1K3 w - - 0 1";                                   // a1, a3, c1 reach b2
    const char* const centre = "r1bqkb1r/pppp1ppp/2n2n2/4p3/4P3/2N2N2/PPPP1PPP/R1BQKB1R w KQkq - 4 4";
    const char* const passant = "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";
    const char* const open = "rnbqkbnr/ppp2ppp/3p4/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 3";
    const char* const fool = "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2";
    const char* const rooksHome = "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
    const char* const seventh = "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1";
    // The move read, or 0 for a refusal, and part of the refusal.
    struct Case { const char* fen; const char* text; int from, to; const char* why = ""; };
    const Case cases[] = {
        {startFen, "e4", 25, 45}, {startFen, "Ngf3", 17, 36},  // more than needed, still one move
        {"4k3/8/8/8/8/4P3/4P3/4K3 w - - 0 1", "e4", 35, 45},     // the front pawn
        {knights, "Nbd2", 12, 24}, {knights, "Nd2", 0, 0, "ambiguous"}, {knights, "Ncd2", 0, 0},
        {queens, "Qa3b2", 31, 22}, {queens, "Qcb2", 13, 22}, {queens, "Qab2", 0, 0, "ambiguous"},
        {queens, "Q1b2", 0, 0, "ambiguous"}, {"4k3/4r3/8/1N6/8/8/4N3/4K3 w - - 0 1", "Nd4", 52, 44},  // one is pinned
        {centre, "Nxe5", 36, 55}, {centre, "Ne5", 0, 0, "capture mark"}, {centre, "Nxd4", 0, 0, "takes nothing"},
        {centre, "e4xd5", 0, 0}, {passant, "exd6", 55, 64}, {passant, "exf6", 0, 0}, {passant, "ed6", 0, 0},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "dxe3", 44, 35}, {open, "Bb5+", 16, 52}, {open, "Bb5", 0, 0, "lacks '+'"},
        {open, "Bc4+", 0, 0, "gives no check"}, {fool, "Qh4#", 84, 48}, {fool, "Qh4+", 0, 0, "deserves '#'"},
        {fool, "Qh4", 0, 0, "lacks '#'"}, {rooksHome, "O-O", 15, 17}, {rooksHome, "O-O-O", 15, 13},
        {"r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1", "O-O-O", 85, 83}, {rooksHome, "Kg1", 0, 0},
        {"r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w Qkq - 0 1", "O-O", 0, 0},
        {"r3k2r/ppppp1pp/5r2/8/8/8/PPPPP1PP/R3K2R w KQkq - 0 1", "O-O", 0, 0},  // through an attacked square
        {startFen, "O-O", 0, 0}, {startFen, "e5", 0, 0}, {"4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1", "Nc3", 0, 0},
        {seventh, "e8=Q", 0, 0, "promotion"}, {seventh, "exd8", 0, 0, "promotion"},
        {"4k3/8/8/8/8/8/3p4/K7 b - - 0 1", "d1=Q+", 0, 0, "promotion"},
        {startFen, "", 0, 0}, {startFen, "Zf3", 0, 0}, {startFen, "nf3", 0, 0}, {startFen, "0-0", 0, 0},
        {startFen, "e2e4", 0, 0}, {startFen, "Nf3++", 0, 0}, {startFen, "O-O-O-O", 0, 0},
    };
    for (const Case& c : cases) {
        int side = white;
        posicion board = test::positionFromFen(c.fen, &side);
        const std::string before = test::positionSignature(board);
        Move move{0, 0};
        const std::string fault = readSanMove(board, side, c.text, move);
        EXPECT_TRUE(c.from ? fault.empty() && move == (Move{c.from, c.to})
                           : !fault.empty() && fault.find(c.why) != std::string::npos) << c.text << " in " << c.fen;
        EXPECT_EQ(test::positionSignature(board), before) << c.text;
    }
}

// An entry as the writer makes it: the heaviest moves first, in their
// order among equals; whole percentages that add up to 100, the rest going
// to the largest fractions (the earlier on a tie) and no move below 1; a
// lone move bare; of more than 22 moves the lightest left out.
TEST(BookEntry, OrderAndPercentages) {
    Move moves[23];
    for (int i = 0; i < 23; ++i) moves[i] = {31 + i % 8 + 10 * (i / 8), 41 + i % 8 + 10 * (i / 8)};
    const auto entry = [&](std::vector<int> w) { return bookEntry(1, 2, moves, w.data(), int(w.size())); };
    EXPECT_EQ(entry({1, 1, 1}), "1,2(a3a4 34/b3b4 33/c3c4 33)");
    EXPECT_EQ(entry({1, 2, 2}), "1,2(b3b4 40/c3c4 40/a3a4 20)");
    EXPECT_EQ(entry({1000, 1, 1}), "1,2(a3a4 98/b3b4 1/c3c4 1)");
    EXPECT_EQ(entry({7}), "1,2(a3a4)");
    std::vector<int> many(23, 2);
    many[0] = 1;
    EXPECT_EQ(entry(many), "1,2(b3b4 5/c3c4 5/d3d4 5/e3e4 5/f3f4 5/g3g4 5/h3h4 5/a4a5 5/b4b5 5/c4c5 5/d4d5 5/e4e5 5/"
                           "f4f5 4/g4g5 4/h4h5 4/a5a6 4/b5b6 4/c5c6 4/d5d6 4/e5e6 4/f5f6 4/g5g6 4)");
}

const std::string sourceDir = ZARVI_SOURCE_DIR;

template <class List, class Entry> bool contains(const List& moves, const Entry& move) {
    return std::find(moves.begin(), moves.end(), move) != moves.end();
}

// The shipped list: enough mainstream lines of 10 to 16 plies, all
// different, from the four main first moves. The committed book is what
// makebook writes from it now (after editing data/openings.txt, rebuild it
// with: zarvi-engine makebook data/openings.txt data/librito.txt). Along
// every line the book, as the engine reads it, finds each position the
// lines continue from and offers exactly the moves they play there, each
// legal by the engine's own generator (which the builder does not use);
// it finds nothing where no line goes on.
TEST(ShippedBook, IsTheListsAndOffersLegalMovesOnly) {
    std::vector<OpeningLine> lines;
    BookTree tree;
    ASSERT_EQ(readOpeningList(sourceDir + "/data/openings.txt", lines), "");
    ASSERT_EQ(buildBook(lines, tree), "");
    EXPECT_GE(lines.size(), 150u);
    std::set<std::string> firstMoves;
    std::set<std::vector<std::string>> distinct;
    for (const OpeningLine& line : lines) {
        EXPECT_TRUE(line.moves.size() >= 10 && line.moves.size() <= 16) << line.name;
        firstMoves.insert(line.moves[0]);
        EXPECT_TRUE(distinct.insert(line.moves).second) << "repeated: " << line.name;
    }
    EXPECT_EQ(firstMoves, (std::set<std::string>{"e4", "d4", "c4", "Nf3"}));
    std::ifstream in(sourceDir + "/data/librito.txt", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == tree.text()) << "data/librito.txt is out of date";

    librito book((sourceDir + "/data/librito.txt").c_str());
    book.verbose = 0;
    buscador& searcher = test::sharedSearcher();
    std::set<std::pair<uint32_t, uint16_t>> found;
    ::testing::internal::CaptureStdout();
    for (const OpeningLine& line : lines) {
        posicion board;
        posicionador().setStartPosition(board);
        int side = white;
        for (std::size_t ply = 0; ply <= line.moves.size(); ++ply) {
            const std::string where = line.name + " before ply " + std::to_string(ply + 1);
            const BookPosition* node = tree.find(board.key2, board.key3);
            ASSERT_NE(node, nullptr) << where;
            book.probe(board.key2, board.key3);
            const test::MoveList legal = test::legalMoves(searcher, board, side);
            std::vector<Move> played, offered(book.candidates, book.candidates + book.candidateCount);
            for (const BookContinuation& c : node->continuations) played.push_back(c.move);
            EXPECT_EQ(book.candidateCount, std::min(int(played.size()), 22)) << where;
            for (const Move& m : offered)
                EXPECT_TRUE(contains(played, m) && contains(legal, test::ListedMove{m.from, m.to, 0})) << where;
            EXPECT_EQ(book.chosenFrom != 0, !played.empty()) << where;
            if (!played.empty()) found.insert({board.key2, board.key3});
            if (ply == line.moves.size()) break;
            Move move{0, 0};
            ASSERT_EQ(readSanMove(board, side, line.moves[ply], move), "") << where;
            EXPECT_TRUE(contains(offered, move)) << where << ": the line's own move is not offered";
            makeMove(board, move.from, move.to, side);
            side = 1 - side;
        }
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(int(found.size()), tree.entryCount());
}

}  // namespace
}  // namespace zarvi
