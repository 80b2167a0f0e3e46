#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "book/openinglist.h"

namespace zarvi {
namespace {

TEST(OpeningList, ReadsWeightNameAndMoves) {
    OpeningLine line;
    ASSERT_EQ(readOpeningLine("40 | Ruy Lopez, Closed | 1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. O-O", line), "");
    EXPECT_EQ(line.weight, 40);
    EXPECT_EQ(line.name, "Ruy Lopez, Closed");
    EXPECT_EQ(line.moves, (std::vector<std::string>{"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "O-O"}));

    ASSERT_EQ(readOpeningLine("  7|Compact|1.d4 Nf6 2.c4 e6 3.Nc3 Bb4+\r", line), "");
    EXPECT_EQ(line.weight, 7);
    EXPECT_EQ(line.name, "Compact");
    EXPECT_EQ(line.moves, (std::vector<std::string>{"d4", "Nf6", "c4", "e6", "Nc3", "Bb4+"}));
}

TEST(OpeningList, CommentsAndBlankLinesHoldNothing) {
    OpeningLine line;
    for (const char* text : {"", "   ", "\r", "# 1 | not | 1. e4", "  # indented comment"}) {
        EXPECT_EQ(readOpeningLine(text, line), "") << text;
        EXPECT_TRUE(line.moves.empty()) << text;
    }
}

TEST(OpeningList, RefusesMalformedLines) {
    const char* bad[] = {
        "40 Ruy Lopez 1. e4 e5",
        "40 | Ruy Lopez | 1. e4 | e5",
        "0 | Zero | 1. e4 e5",
        "1001 | Heavy | 1. e4 e5",
        "x | Letter | 1. e4 e5",
        "-3 | Negative | 1. e4 e5",
        "5 |  | 1. e4 e5",
        "5 | No moves | ",
        "5 | No moves | 1.",
        "5 | Wrong number | 2. e4 e5",
        "5 | Number before black | 1. e4 1. e5",
        "5 | Black's number | 1. e4 1... e5",
        "5 | Missing number | 1. e4 e5 Nf3",
        "5 | Dangling number | 1. e4 e5 2.",
        "5 | Not notation | 1. e4 e5 2. Zf3",
        "5 | Not notation | 1. e4 e5!",
    };
    for (const char* text : bad) {
        OpeningLine line;
        EXPECT_NE(readOpeningLine(text, line), "") << text;
        EXPECT_TRUE(line.moves.empty()) << text;
    }
}

// The list that ships with the program: enough mainstream lines, each of
// the agreed length, reaching the four main first moves.
TEST(OpeningList, ShippedListIsWellFormed) {
    std::vector<OpeningLine> lines;
    ASSERT_EQ(readOpeningList(std::string(ZARVI_SOURCE_DIR) + "/data/openings.txt", lines), "");
    EXPECT_GE(lines.size(), 150u);
    std::set<std::string> firstMoves;
    std::set<std::vector<std::string>> distinct;
    for (const OpeningLine& line : lines) {
        EXPECT_GE(line.moves.size(), 10u) << line.name;
        EXPECT_LE(line.moves.size(), 16u) << line.name;
        firstMoves.insert(line.moves[0]);
        EXPECT_TRUE(distinct.insert(line.moves).second) << "repeated: " << line.name;
    }
    EXPECT_EQ(firstMoves, (std::set<std::string>{"e4", "d4", "c4", "Nf3"}));
}

TEST(OpeningList, ReadsAFileAndReportsTheLineOfAFault) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto good = folder / "zarvi-openinglist-good.txt";
    const auto bad = folder / "zarvi-openinglist-bad.txt";
    std::ofstream(good) << "# a comment\n\n5 | One | 1. e4 e5\r\n3 | Two | 1. d4 d5\n";
    std::ofstream(bad) << "# a comment\n\n5 | Fine | 1. e4 e5\n5 | Broken | 1. e4 e5 Nf3\n";
    std::vector<OpeningLine> lines;
    EXPECT_EQ(readOpeningList(good.string(), lines), "");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].name, "Two");
    EXPECT_EQ(lines[0].lineNumber, 3);
    EXPECT_EQ(lines[1].lineNumber, 4);
    EXPECT_EQ(readOpeningList(bad.string(), lines).rfind("4: ", 0), 0u);
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(readOpeningList((folder / "zarvi-openinglist-absent.txt").string(), lines), "");
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

}  // namespace
}  // namespace zarvi
