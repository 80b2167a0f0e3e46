#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "book/bookentry.h"
#include "book/librito.h"

namespace zarvi {
namespace {

// The position the test books are written for; K1 is above 2^31 so that it
// is read as the unsigned word it is.
constexpr uint32_t testKey2 = 3000000000u;
constexpr uint16_t testKey3 = 4464;
const std::string testKeys = "3000000000,4464";

uint32_t fixedMilliseconds = 0;
uint32_t fixedClock() { return fixedMilliseconds; }

bool realSquare(int square) {
    return square / 10 >= 1 && square / 10 <= 8 && square % 10 >= 1 && square % 10 <= 8;
}

// Each test writes its books into a folder of its own under the system's
// temporary folder, never into the working directory.
class Book : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("zarvi-book-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string write(const std::string& content) {
        std::filesystem::path path = folder / ("librito" + std::to_string(files++) + ".txt");
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    // A book over content with the draw fixed at r: started from 0 the first
    // number of the generator is 0 (0 * 22695477 + 1 = 1, whose bits 16..30
    // are 0), so the clock alone decides r.
    std::unique_ptr<librito> bookOf(const std::string& content, int r = 0) {
        auto book = std::make_unique<librito>(write(content).c_str());
        book->startRandom(0);
        fixedMilliseconds = uint32_t(r);
        book->setClock(fixedClock);
        return book;
    }

    // Probes and returns what went to standard output.
    static std::string probe(librito& book, uint32_t k2 = testKey2, uint16_t k3 = testKey3) {
        ::testing::internal::CaptureStdout();
        book.probe(k2, k3);
        return ::testing::internal::GetCapturedStdout();
    }

    std::filesystem::path folder;
    int files = 0;
};

TEST_F(Book, SingleMoveIsAlwaysPlayedAndShownAsCertain) {
    for (int r : {0, 99}) {
        auto book = bookOf(testKeys + "(e2e4)", r);
        EXPECT_EQ(probe(*book), "0 0 0 0 (e2e4 100%)\n");
        EXPECT_EQ(book->chosenFrom, 25);
        EXPECT_EQ(book->chosenTo, 45);
        EXPECT_EQ(book->candidateCount, 1);
    }
    auto quiet = bookOf(testKeys + "(e1g1)");
    quiet->verbose = 0;
    EXPECT_EQ(probe(*quiet), "");
    EXPECT_EQ(quiet->chosenFrom, 15);
    EXPECT_EQ(quiet->chosenTo, 17);
}

TEST_F(Book, CumulativeChoiceAndTheShortfallDeclines) {
    const std::string entry = testKeys + "(e2e4 45/d2d4 45)";
    struct Draw { int r, from, to; };
    // 45 is not above r = 45, 90 is; from r = 90 on the book declines.
    for (Draw d : {Draw{0, 25, 45}, Draw{44, 25, 45}, Draw{45, 24, 44}, Draw{89, 24, 44}, Draw{90, 0, 0},
                   Draw{99, 0, 0}}) {
        auto book = bookOf(entry, d.r);
        EXPECT_EQ(probe(*book), "0 0 0 0 (e2e4 45%,d2d4 45%)\n") << d.r;
        EXPECT_EQ(book->chosenFrom, d.from) << d.r;
        EXPECT_EQ(book->chosenTo, d.to) << d.r;
        EXPECT_EQ(book->weights[0], 45);
        EXPECT_EQ(book->weights[1], 45);
    }
    auto quiet = bookOf(entry, 45);
    quiet->verbose = 0;
    EXPECT_EQ(probe(*quiet), ")\n");
    EXPECT_EQ(quiet->chosenFrom, 24);
}

TEST_F(Book, RandomGeneratorIsTheLinearCongruentialOne) {
    // state = state * 22695477 + 1 mod 2^32, number = bits 16..30. From 12345:
    // 12345 * 22695477 + 1 = 280175663566 = 65 * 2^32 + 1002789326, and
    // 1002789326 >> 16 = 15301.
    librito book(write("").c_str());
    book.startRandom(12345);
    for (int expected : {15301, 24996, 10921, 23577, 19316}) EXPECT_EQ(book.nextRandom(), expected);
    book.startRandom(0);
    for (int expected : {0, 346, 130, 10982}) EXPECT_EQ(book.nextRandom(), expected);
    book.startRandom(0xFFFFFFFFu);
    for (int expected : {32421, 561, 22046}) EXPECT_EQ(book.nextRandom(), expected);
}

TEST_F(Book, ManyDrawsDeclineAboutOneInTen) {
    auto book = bookOf(testKeys + "(e2e4 45/d2d4 45)");
    book->verbose = 0;
    book->startRandom(2024);
    fixedMilliseconds = 7;
    const int draws = 10000;
    std::vector<int> chosen;
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < draws; ++i) {
        book->probe(testKey2, testKey3);
        chosen.push_back(book->chosenFrom);
    }
    ::testing::internal::GetCapturedStdout();

    uint32_t shadow = 2024;  // the same generator, followed by hand
    int declined = 0;
    for (int i = 0; i < draws; ++i) {
        shadow = shadow * 22695477u + 1u;
        int r = int((((shadow >> 16) & 0x7FFF) + 7) % 100);
        ASSERT_EQ(chosen[size_t(i)], r < 45 ? 25 : r < 90 ? 24 : 0) << "draw " << i;
        declined += chosen[size_t(i)] == 0;
    }
    EXPECT_GT(declined, draws / 10 - draws / 50);
    EXPECT_LT(declined, draws / 10 + draws / 50);
}

TEST_F(Book, OneDigitPercentagesShortenTheCandidate) {
    const std::string entry = testKeys + "(e2e4 5/d2d4 95)";
    auto first = bookOf(entry, 4);
    EXPECT_EQ(probe(*first), "0 0 0 0 (e2e4 5%,d2d4 95%)\n");
    EXPECT_EQ(first->candidateCount, 2);
    EXPECT_EQ(first->weights[0], 5);
    EXPECT_EQ(first->weights[1], 95);
    EXPECT_EQ(first->chosenFrom, 25);
    auto second = bookOf(entry, 5);
    probe(*second);
    EXPECT_EQ(second->chosenFrom, 24);
    EXPECT_EQ(second->chosenTo, 44);

    auto three = bookOf(testKeys + "(g1f3 7/c2c4 3/b1c3 9)", 10);
    EXPECT_EQ(probe(*three), "0 0 0 0 (g1f3 7%,c2c4 3%,b1c3 9%)\n");
    EXPECT_EQ(three->chosenFrom, 12);
    EXPECT_EQ(three->chosenTo, 33);
}

TEST_F(Book, HundredInAListReadsAsTenAndEndsIt) {
    auto book = bookOf(testKeys + "(e2e4 100/d2d4 50)", 9);
    EXPECT_EQ(probe(*book), "0 0 0 0 (e2e4 10%)\n");
    EXPECT_EQ(book->candidateCount, 1);
    EXPECT_EQ(book->weights[0], 10);
    EXPECT_EQ(book->chosenFrom, 25);
    auto past = bookOf(testKeys + "(e2e4 100/d2d4 50)", 10);
    probe(*past);
    EXPECT_EQ(past->chosenFrom, 0);
}

TEST_F(Book, AtMost22CandidatesAreRead) {
    std::string entry = testKeys + "(";
    for (int i = 0; i < 23; ++i) entry += std::string(i ? "/" : "") + "a2a3 04";
    entry += ")";
    auto book = bookOf(entry, 95);
    std::string expected = "0 0 0 0 (";
    for (int i = 0; i < 22; ++i) expected += std::string(i ? "," : "") + "a2a3 4%";
    EXPECT_EQ(probe(*book), expected + ")\n");
    EXPECT_EQ(book->candidateCount, maxBookCandidates);
    // 22 * 4 = 88 <= 95: only the 23rd candidate's 4 % would have covered r.
    EXPECT_EQ(book->chosenFrom, 0);
}

TEST_F(Book, SecondKeyWordIsComparedModulo65536) {
    auto book = bookOf("3000000000,70000(e2e4)");
    probe(*book, testKey2, 4464);
    EXPECT_EQ(book->chosenFrom, 25);
    probe(*book, testKey2, 4465);
    EXPECT_EQ(book->chosenFrom, 0);
    probe(*book, testKey2 + 1, 4464);
    EXPECT_EQ(book->chosenFrom, 0);
}

TEST_F(Book, FindsItsEntryAmongOthersOverAnyLineBreaks) {
    const std::string content =
        "1,2(a2a3)\r\n"
        "3000000000,4465(b2b3)\n"
        "3000000001,4464(c2c3)\r"
        "3000000000,\r\n4464\n(d2\rd4 60/\r\ne2e4 39)"
        " 77,88(f2f3)";
    auto book = bookOf(content, 59);
    EXPECT_EQ(book->length, int(content.size()) - 10);
    EXPECT_EQ(probe(*book), "0 0 0 0 (d2d4 60%,e2e4 39%)\n");
    EXPECT_EQ(book->chosenFrom, 24);
    probe(*book, 1, 2);
    EXPECT_EQ(book->chosenFrom, 21);
    EXPECT_EQ(book->chosenTo, 31);
    // One non-digit may stand before K1.
    probe(*book, 77, 88);
    EXPECT_EQ(book->chosenFrom, 26);
}

// A book in memory reads like its file, from where the stream stands, and
// a second load replaces the first.
TEST_F(Book, AStreamReadsLikeTheFileFromWhereItStands) {
    const std::string content = "1,2(a2a3)\r\n" + testKeys + "(d2d4 60/\r\ne2e4 39)\n";
    auto fromFile = bookOf(content);
    std::istringstream text("header line\n" + content);
    std::string header;
    std::getline(text, header);
    librito fromStream("");
    fromStream.load(text);
    ASSERT_EQ(fromStream.length, fromFile->length);
    EXPECT_EQ(std::string(fromStream.text.get(), fromStream.length), "1,2(a2a3)" + testKeys + "(d2d4 60/e2e4 39)");
    std::istringstream shorter("1,2(h2h3)");
    fromStream.load(shorter);
    EXPECT_EQ(std::string(fromStream.text.get(), fromStream.length), "1,2(h2h3)");
}

TEST_F(Book, EmptyOrEntrylessBooksNeverAnswer) {
    const std::string missing = (folder / "absent.txt").string();
    librito absent(missing.c_str());
    librito empty(write("").c_str());
    librito prose(write("An opening book, one day, perhaps (not yet).\n").c_str());
    EXPECT_EQ(absent.length, 0);
    EXPECT_EQ(empty.length, 0);
    for (librito* book : {&absent, &empty, &prose}) {
        for (uint32_t k2 : {0u, 1u, testKey2}) {
            EXPECT_EQ(probe(*book, k2, 0), "");
            EXPECT_EQ(book->chosenFrom, 0);
            EXPECT_EQ(book->candidateCount, 0);
        }
    }
}

TEST_F(Book, ProbeForgetsThePreviousChoice) {
    auto book = bookOf(testKeys + "(e2e4)");
    probe(*book);
    ASSERT_EQ(book->chosenFrom, 25);
    probe(*book, 5, 5);
    EXPECT_EQ(book->chosenFrom, 0);
    EXPECT_EQ(book->chosenTo, 0);
}

// Outside data that must neither crash nor offer a square off the board.
TEST_F(Book, HostileBooksGiveNoMoveOrRealSquares) {
    struct Case {
        std::string content;
        int r;
        int from, to;  // the expected choice; 0 for none
    };
    const Case cases[] = {
        {testKeys, 0, 0, 0},
        {testKeys + "(", 0, 0, 0},
        {testKeys + "(e2e", 0, 0, 0},
        {testKeys + "(e2e4", 0, 0, 0},
        {testKeys + "(e2e4 ", 0, 0, 0},
        {testKeys + "(e2e4 5", 0, 25, 45},
        {testKeys + "(e2e4 50/", 0, 0, 0},
        {testKeys + "(e2e4 50/d2", 0, 0, 0},
        {testKeys + "(e2e4 50/d2d4 50", 60, 24, 44},
        {testKeys + " e2e4 50/d2d4 50)", 0, 0, 0},
        {testKeys + "(i2e4)", 0, 0, 0},
        {testKeys + "(e2e9)", 0, 0, 0},
        {testKeys + "(e0e4)", 0, 0, 0},
        {testKeys + "(E2E4)", 0, 0, 0},
        {testKeys + "(e2e4 50/z9z9 50)", 60, 0, 0},
        {testKeys + "(e2e4 50/z9z9 50)", 10, 25, 45},
        {testKeys + "(e2e4 /d2d4 50)", 0, 0, 0},
        {testKeys + "(e2e4 xx/d2d4 50)", 0, 0, 0},
        {testKeys + "(e2e4 x5/d2d4 50)", 30, 24, 44},
        {testKeys + "()", 0, 0, 0},
        {testKeys + "())))", 0, 0, 0},
        {testKeys + "(e2)3000000000,4464(d2d4)", 0, 0, 0},
        {std::string("3000000000,4464(e2e4\00050)", 24), 0, 25, 45},
        {std::string("\0\0\0,\0(\0\0\0\0)", 11), 0, 0, 0},
        {"3000000000", 0, 0, 0},
        {"3000000000,", 0, 0, 0},
        {",,,,))))((((////", 0, 0, 0},
        {"  3000000000,4464(e2e4)", 0, 0, 0},
        {"3000000000;4464(e2e4)", 0, 0, 0},
        {"x,y(e2e4)", 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto book = bookOf(c.content, c.r);
        probe(*book);
        EXPECT_EQ(book->chosenFrom, c.from) << '"' << c.content << '"';
        EXPECT_EQ(book->chosenTo, c.to) << '"' << c.content << '"';
    }
}

// A key without digits is not the key 0: garbage never matches a position.
TEST_F(Book, KeysWithoutDigitsNeverMatch) {
    for (const char* content : {"x,y(e2e4)", ",(e2e4)", "0,(e2e4)", "xx0,0(e2e4)"}) {
        auto book = bookOf(content);
        probe(*book, 0, 0);
        EXPECT_EQ(book->chosenFrom, 0) << content;
    }
    auto zero = bookOf("0,0(e2e4)");
    probe(*zero, 0, 0);
    EXPECT_EQ(zero->chosenFrom, 25);
}

TEST_F(Book, RandomBytesNeverYieldSquaresOffTheBoard) {
    // Bytes drawn mostly from the book's own alphabet so that the reader
    // takes every path: entries, lists, cut-offs and stray parentheses.
    const std::string alphabet = "0123456789,()/ abcdefghi012345678\r\n";
    std::mt19937 bytes(20020328);
    for (int trial = 0; trial < 40; ++trial) {
        std::string content;
        int size = int(bytes() % 3000);
        for (int i = 0; i < size; ++i) {
            content += bytes() % 4 ? alphabet[bytes() % alphabet.size()] : char(bytes() & 0xFF);
        }
        auto book = bookOf(content, int(bytes() % 100));
        book->verbose = int(bytes() & 1);
        for (uint32_t k2 = 0; k2 < 10; ++k2) {
            probe(*book, k2, uint16_t(bytes() % 10));
            if (book->chosenFrom == 0) continue;
            EXPECT_TRUE(realSquare(book->chosenFrom) && realSquare(book->chosenTo))
                << book->chosenFrom << " " << book->chosenTo << " in trial " << trial;
        }
        for (int i = 0; i < book->candidateCount; ++i) {
            const Move m = book->candidates[i];
            EXPECT_TRUE(m.from == 0 ? m.to == 0 : realSquare(m.from) && realSquare(m.to));
            EXPECT_GE(book->weights[i], 0);
        }
    }
}

TEST_F(Book, ReadsABookOfSeveralMegabytes) {
    // 150000 entries of 31 to 35 characters; the wanted one comes last.
    std::string content;
    const int entries = 150000;
    content.reserve(entries * 36);
    for (int i = 0; i < entries; ++i) {
        content += std::to_string(100000 + i) + "," + std::to_string(i % 65536) + "(e2e4 45/d2d4 45)\r\n";
    }
    content += testKeys + "(g1f3)";
    ASSERT_GT(content.size(), 4u << 20);
    auto book = bookOf(content);
    EXPECT_EQ(book->length, int(content.size()) - 2 * entries);
    EXPECT_EQ(probe(*book), "0 0 0 0 (g1f3 100%)\n");
    EXPECT_EQ(book->chosenFrom, 17);
    EXPECT_EQ(book->chosenTo, 36);
    probe(*book, 100000 + 70000, 70000 % 65536);
    EXPECT_EQ(book->chosenFrom, 25);
    probe(*book, 99, 99);
    EXPECT_EQ(book->chosenFrom, 0);
}

// What the book builder writes, the book reads back: every entry is found,
// with its moves and percentages, and a single move is always played.
TEST_F(Book, ReadsBackTheEntriesItsWriterMakes) {
    std::mt19937 draw(1522);
    struct Written {
        uint32_t key2;
        uint16_t key3;
        std::vector<Move> moves;
        std::vector<int> weights;
    };
    std::vector<Written> entries;
    std::string content;
    for (int e = 0; e < 60; ++e) {
        Written w{uint32_t(draw()), uint16_t(draw()), {}, {}};
        int count = 1 + int(draw() % 25);
        for (int i = 0; i < count; ++i) {
            w.moves.push_back(Move{11 + int(draw() % 8) + 10 * int(draw() % 8), 11 + int(draw() % 8) + 10 * int(draw() % 8)});
            w.weights.push_back(1 + int(draw() % 50));
        }
        content += bookEntry(w.key2, w.key3, w.moves.data(), w.weights.data(), count) + (e % 2 ? "\r\n" : "\n");
        entries.push_back(std::move(w));
    }
    auto book = bookOf(content);
    book->verbose = 0;
    for (const Written& w : entries) {
        book->startRandom(0);
        probe(*book, w.key2, w.key3);
        const int count = int(w.moves.size());
        if (count == 1) {
            EXPECT_EQ(book->chosenFrom, w.moves[0].from);
            EXPECT_EQ(book->chosenTo, w.moves[0].to);
            continue;
        }
        ASSERT_EQ(book->candidateCount, std::min(count, maxBookCandidates));
        int sum = 0;
        for (int i = 0; i < book->candidateCount; ++i) {
            const Move m = book->candidates[i];
            bool written = false;
            for (const Move& x : w.moves) written = written || x == m;
            EXPECT_TRUE(written);
            sum += book->weights[i];
        }
        // The percentages fill the whole hundred, so r = 0 picks the first.
        EXPECT_EQ(sum, 100);
        EXPECT_EQ(book->chosenFrom, book->candidates[0].from);
        EXPECT_NE(book->chosenFrom, 0);
    }
}

}  // namespace
}  // namespace zarvi
