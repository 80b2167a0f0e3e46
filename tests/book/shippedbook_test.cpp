#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/makemove.h"
#include "book/bookbuilder.h"
#include "book/librito.h"
#include "book/san.h"
#include "eval/movegen.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

const std::string sourceDir = ZARVI_SOURCE_DIR;

uint32_t noMilliseconds() { return 0; }

// The shipped list built into a tree once for all tests here.
class ShippedBook : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        lines = new std::vector<OpeningLine>;
        tree = new BookTree;
        ASSERT_EQ(readOpeningList(sourceDir + "/data/openings.txt", *lines), "");
        ASSERT_EQ(buildBook(*lines, *tree), "");
    }
    static void TearDownTestSuite() {
        delete lines;
        delete tree;
    }

    // The legal moves of side by the engine's own generator, which the
    // builder does not use.
    static std::vector<Move> legalMoves(posicion& board, int side) {
        buscador& searcher = test::sharedSearcher();
        const int n = listLegalMoves(searcher, board, side, 0);
        std::vector<Move> moves;
        for (int i = 0; i < n; ++i) moves.push_back({searcher.fullFrom[0][i], searcher.fullTo[0][i]});
        return moves;
    }

    static std::vector<OpeningLine>* lines;
    static BookTree* tree;
};

std::vector<OpeningLine>* ShippedBook::lines = nullptr;
BookTree* ShippedBook::tree = nullptr;

bool contains(const std::vector<Move>& moves, const Move& move) {
    return std::find(moves.begin(), moves.end(), move) != moves.end();
}

// The committed book and the list cannot drift apart: rebuild it after
// editing data/openings.txt with
//   zarvi-engine makebook data/openings.txt data/librito.txt
TEST_F(ShippedBook, CommittedBookIsWhatMakebookWritesNow) {
    std::ifstream in(sourceDir + "/data/librito.txt", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(committed == tree->text()) << "data/librito.txt is out of date";
    EXPECT_EQ(std::count(committed.begin(), committed.end(), '\n'), tree->entryCount());
}

// Along every line, the probe of the book as the engine reads it finds
// each position that the lines continue from, offers exactly the moves the
// lines play there, every one of them legal, and chooses one of them; it
// finds nothing where no line goes on.
TEST_F(ShippedBook, EveryPositionIsFoundWithLegalMovesOnly) {
    librito book((sourceDir + "/data/librito.txt").c_str());
    ASSERT_GT(book.length, 0);
    book.verbose = 0;
    book.setClock(noMilliseconds);
    std::set<std::pair<uint32_t, uint16_t>> found;
    int probes = 0;

    ::testing::internal::CaptureStdout();
    for (const OpeningLine& line : *lines) {
        posicion board;
        posicionador().setStartPosition(board);
        int side = white;
        for (std::size_t ply = 0; ply <= line.moves.size(); ++ply) {
            const std::string where = line.name + " before ply " + std::to_string(ply + 1);
            const BookPosition* node = tree->find(board.key2, board.key3);
            ASSERT_NE(node, nullptr) << where;
            book.probe(board.key2, board.key3);
            ++probes;
            const std::vector<Move> legal = legalMoves(board, side);
            std::vector<Move> offered(book.candidates, book.candidates + book.candidateCount);
            if (node->continuations.empty()) {
                EXPECT_EQ(book.candidateCount, 0) << where;
                EXPECT_EQ(book.chosenFrom, 0) << where;
            } else {
                found.insert({board.key2, board.key3});
                std::vector<Move> played;
                for (const BookContinuation& c : node->continuations) played.push_back(c.move);
                EXPECT_EQ(book.candidateCount, std::min(int(played.size()), maxBookCandidates)) << where;
                for (const Move& m : offered) {
                    EXPECT_TRUE(contains(legal, m)) << where << ": illegal " << m.from << "-" << m.to;
                    EXPECT_TRUE(contains(played, m)) << where << ": unplayed " << m.from << "-" << m.to;
                }
                EXPECT_NE(book.chosenFrom, 0) << where;
                EXPECT_TRUE(contains(offered, Move{book.chosenFrom, book.chosenTo})) << where;
            }
            if (ply == line.moves.size()) break;
            Move move{0, 0};
            ASSERT_EQ(readSanMove(board, side, line.moves[ply], move), "") << where;
            EXPECT_TRUE(contains(offered, move)) << where << ": the line's own move is not offered";
            makeMove(board, move.from, move.to, side);
            side = 1 - side;
        }
    }
    ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(int(found.size()), tree->entryCount());
    EXPECT_GT(probes, int(lines->size()) * 10);
}

// Games differ from the first move on: over many draws every first move
// of the list is played.
TEST_F(ShippedBook, FirstMovesVaryBetweenGames) {
    librito book((sourceDir + "/data/librito.txt").c_str());
    book.verbose = 0;
    book.setClock(noMilliseconds);
    posicion start;
    posicionador().setStartPosition(start);
    const BookPosition* node = tree->find(start.key2, start.key3);
    ASSERT_NE(node, nullptr);
    std::set<std::pair<int, int>> listed, drawn;
    for (const BookContinuation& c : node->continuations) listed.insert({c.move.from, c.move.to});
    ASSERT_GE(listed.size(), 4u);

    ::testing::internal::CaptureStdout();
    for (uint32_t first = 1; first <= 300; ++first) {
        book.startRandom(first);
        book.probe(start.key2, start.key3);
        if (book.chosenFrom != 0) drawn.insert({book.chosenFrom, book.chosenTo});
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(drawn, listed);
}

}  // namespace
}  // namespace zarvi
