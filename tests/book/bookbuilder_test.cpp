#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "board/makemove.h"
#include "book/bookbuilder.h"
#include "book/san.h"

namespace zarvi {
namespace {

OpeningLine lineOf(int weight, const std::string& text, int lineNumber = 1) {
    OpeningLine line;
    EXPECT_EQ(readOpeningLine(std::to_string(weight) + " | test | " + text, line), "") << text;
    line.lineNumber = lineNumber;
    return line;
}

// The position reached by playing the moves from the initial position.
posicion positionAfter(const std::vector<std::string>& moves) {
    posicion board;
    posicionador().setStartPosition(board);
    int side = white;
    for (const std::string& text : moves) {
        Move move{0, 0};
        EXPECT_EQ(readSanMove(board, side, text, move), "") << text;
        makeMove(board, move.from, move.to, side);
        side = 1 - side;
    }
    return board;
}

// The continuations of a position as move -> weight.
std::map<std::pair<int, int>, int> continuationsAt(const BookTree& tree, const std::vector<std::string>& moves) {
    const posicion board = positionAfter(moves);
    const BookPosition* node = tree.find(board.key2, board.key3);
    std::map<std::pair<int, int>, int> found;
    if (!node) return found;
    for (const BookContinuation& c : node->continuations) found[{c.move.from, c.move.to}] += c.weight;
    return found;
}

TEST(BookBuilder, WeightsAddUpOverTheLinesThroughEachMove) {
    BookTree tree;
    const std::vector<OpeningLine> lines = {
        lineOf(10, "1. e4 e5 2. Nf3 Nc6"),
        lineOf(30, "1. e4 c5 2. Nf3 d6"),
        lineOf(5, "1. e4 c5 2. Nc3 Nc6"),
        lineOf(7, "1. d4 d5"),
    };
    ASSERT_EQ(buildBook(lines, tree), "");
    using Moves = std::map<std::pair<int, int>, int>;
    EXPECT_EQ(continuationsAt(tree, {}), (Moves{{{25, 45}, 45}, {{24, 44}, 7}}));
    EXPECT_EQ(continuationsAt(tree, {"e4"}), (Moves{{{75, 55}, 10}, {{73, 53}, 35}}));
    EXPECT_EQ(continuationsAt(tree, {"e4", "c5"}), (Moves{{{17, 36}, 30}, {{12, 33}, 5}}));
    EXPECT_EQ(continuationsAt(tree, {"e4", "c5", "Nf3"}), (Moves{{{74, 64}, 30}}));
    // Ends of lines are positions without continuations, and not entries.
    const posicion end = positionAfter({"d4", "d5"});
    ASSERT_NE(tree.find(end.key2, end.key3), nullptr);
    EXPECT_TRUE(tree.find(end.key2, end.key3)->continuations.empty());
    EXPECT_EQ(tree.positions().size(), 12u);
    EXPECT_EQ(tree.entryCount(), 8);
}

// Two move orders into one position share it and its moves; the lines'
// first moves stay apart.
TEST(BookBuilder, TranspositionsShareTheirPosition) {
    BookTree tree;
    ASSERT_EQ(buildBook({lineOf(3, "1. d4 Nf6 2. c4 e6 3. Nc3"), lineOf(2, "1. c4 e6 2. d4 Nf6 3. Nf3")}, tree), "");
    using Moves = std::map<std::pair<int, int>, int>;
    EXPECT_EQ(continuationsAt(tree, {}), (Moves{{{24, 44}, 3}, {{23, 43}, 2}}));
    EXPECT_EQ(continuationsAt(tree, {"d4", "Nf6", "c4", "e6"}), (Moves{{{12, 33}, 3}, {{17, 36}, 2}}));
    EXPECT_EQ(continuationsAt(tree, {"c4", "e6", "d4", "Nf6"}), continuationsAt(tree, {"d4", "Nf6", "c4", "e6"}));
    // Six positions along each line, two of them shared: the start and the
    // one after four plies.
    EXPECT_EQ(tree.positions().size(), 10u);
}

// A position reached with and without the right to take en passant is
// two positions: a move that is legal in one must not be offered in the
// other. Both lines reach the same squares with white to move, black's
// d-pawn arriving in one step or in two.
TEST(BookBuilder, EnPassantRightKeepsPositionsApart) {
    BookTree tree;
    const std::vector<OpeningLine> lines = {lineOf(1, "1. c4 Nf6 2. e4 a6 3. e5 d5 4. exd6"),
                                            lineOf(1, "1. c3 Nf6 2. c4 a6 3. e4 d6 4. e5 d5 5. Nf3")};
    ASSERT_EQ(buildBook(lines, tree), "");
    const posicion withRight = positionAfter({"c4", "Nf6", "e4", "a6", "e5", "d5"});
    const posicion withoutRight = positionAfter({"c3", "Nf6", "c4", "a6", "e4", "d6", "e5", "d5"});
    for (int s = 11; s <= 88; ++s) ASSERT_EQ(withRight.squares[s], withoutRight.squares[s]) << s;
    using Moves = std::map<std::pair<int, int>, int>;
    EXPECT_EQ(continuationsAt(tree, {"c4", "Nf6", "e4", "a6", "e5", "d5"}), (Moves{{{55, 64}, 1}}));
    EXPECT_EQ(continuationsAt(tree, {"c3", "Nf6", "c4", "a6", "e4", "d6", "e5", "d5"}), (Moves{{{17, 36}, 1}}));
}

TEST(BookBuilder, TextIsOneEntryPerPositionWithAMove) {
    BookTree tree;
    ASSERT_EQ(buildBook({lineOf(10, "1. e4 e5 2. Nf3"), lineOf(30, "1. e4 c5 2. Nf3")}, tree), "");
    const posicion start = positionAfter({});
    const posicion afterE4 = positionAfter({"e4"});
    const std::string text = tree.text();
    // Entries follow the order in which the lines first reach their positions.
    const std::string expectedStart = std::to_string(start.key2) + "," + std::to_string(start.key3) + "(e2e4)\n" +
                                      std::to_string(afterE4.key2) + "," + std::to_string(afterE4.key3) +
                                      "(c7c5 75/e7e5 25)\n";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    int entries = 0;
    for (char c : text) entries += c == '\n';
    EXPECT_EQ(entries, 4);
    EXPECT_EQ(tree.entryCount(), 4);
}

TEST(BookBuilder, RefusesALineWithItsNumberAndMove) {
    struct Case {
        const char* moves;
        const char* fault;
    };
    const Case cases[] = {
        {"1. e4 e5 2. Ke3 Nc6", "12: 2. Ke3: no legal move fits"},
        {"1. Nf3 d5 2. d3 e5 3. Nd2 Nc6", "12: 3. Nd2: ambiguous: the pieces on b1 and f3 can both go there"},
        {"1. e4 e5 2. Nf3 Nc6 3. Bb5 Nf6 4. Bc6 bxc6", "12: 4. Bc6: takes a piece but lacks the capture mark x"},
        {"1. e4 e5 2. Nf3 Nc6 3. Bb5 Nf6 4. O-O Nxe5", "12: 4...Nxe5: no legal move fits"},
        {"1. e4 e5 2. Nf3 Nc6 3. Bb5 Nf6 4. O-O Nxd4", "12: 4...Nxd4: marked as a capture but takes nothing"},
        {"1. e4 d6 2. Bb5 c6", "12: 2. Bb5: gives check but lacks '+'"},
        {"1. a4 b5 2. axb5 a6 3. bxa6 Bb7 4. axb7 Nc6 5. bxa8=Q", "12: 5. bxa8=Q: a promotion"},
        {"1. a4 b5 2. axb5 a6 3. bxa6 Bb7 4. axb7 Nc6 5. bxa8", "12: 5. bxa8: a promotion"},
        {"1. a4 b5 2. axb5 a6 3. bxa6 Bb7 4. axb7 Nc6 5. bxc8", "12: 5. bxc8: no legal move fits"},
    };
    for (const Case& c : cases) {
        BookTree tree;
        const std::vector<OpeningLine> lines = {lineOf(5, "1. e4 e5 2. Nf3", 3), lineOf(5, c.moves, 12)};
        const std::string fault = buildBook(lines, tree);
        EXPECT_EQ(fault.substr(0, std::string(c.fault).size()), c.fault) << c.moves;
        EXPECT_TRUE(tree.positions().empty()) << c.moves;
    }
}

// A refused line adds nothing, not even the moves before its fault.
TEST(BookBuilder, RefusedLineLeavesTheTreeAsItWas) {
    BookTree tree;
    ASSERT_EQ(tree.addLine(lineOf(5, "1. e4 e5 2. Nf3")), "");
    EXPECT_NE(tree.addLine(lineOf(5, "1. d4 d5 2. c4 e6 3. Nxe6")), "");
    EXPECT_EQ(tree.positions().size(), 4u);
    const posicion afterD4 = positionAfter({"d4"});
    EXPECT_EQ(tree.find(afterD4.key2, afterD4.key3), nullptr);
}

}  // namespace
}  // namespace zarvi
