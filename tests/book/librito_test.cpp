#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "book/librito.h"

namespace zarvi {
namespace {

// The position the test books are written for; K1 is above 2^31 so that it
// is read as the unsigned word it is.
constexpr uint32_t testKey2 = 3000000000u;
constexpr uint16_t testKey3 = 4464;
const std::string keys = "3000000000,4464";

uint32_t fixedMilliseconds = 0;
uint32_t fixedClock() { return fixedMilliseconds; }

// The book's text, the draw r (0..99), the move chosen (0 for none), what
// the probe prints when it matters, the keys probed and the verbosity.
struct Case { std::string content; int r, from, to; const char* printed = nullptr;
              uint32_t k2 = testKey2; uint16_t k3 = testKey3; int verbose = 1; };

// Probes and returns what went to standard output.
std::string probe(librito& book, uint32_t k2, uint16_t k3) {
    ::testing::internal::CaptureStdout();
    book.probe(k2, k3);
    return ::testing::internal::GetCapturedStdout();
}

// Each case's book read from memory, through the reader a file goes through
// too, with its draw r: started from 0, the generator's first number is 0
// (bits 16..30 of 0 * 22695477 + 1), so the clock alone decides.
void expectChoices(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.content + "\" r " + std::to_string(c.r));
        librito book("");
        std::istringstream text(c.content);
        book.load(text);
        book.startRandom(0);
        fixedMilliseconds = uint32_t(c.r);
        book.setClock(fixedClock);
        book.verbose = c.verbose;
        const std::string printed = probe(book, c.k2, c.k3);
        EXPECT_EQ(book.chosenFrom, c.from);
        EXPECT_EQ(book.chosenTo, c.to);
        EXPECT_TRUE(!c.printed || printed == c.printed) << printed;
        // Every character but the line breaks is kept.
        EXPECT_EQ(book.length, std::count_if(c.content.begin(), c.content.end(),
                                             [](char ch) { return ch != '\n' && ch != '\r'; }));
    }
}

std::string repeated(const std::string& text, int n, const std::string& separator) {
    std::string all;
    for (int i = 0; i < n; ++i) all += (i ? separator : "") + text;
    return all;
}

TEST(Book, ReadsEntriesAndDrawsByThePercentages) {
    const std::string list = keys + "(e2e4 45/d2d4 45)", several =
        "1,2(a2a3)\r\n3000000000,4465(b2b3)\n3000000001,4464(c2c3)\r3000000000,\r\n4464\n(d2\rd4 60/\r\ne2e4 39) 77,88(f2f3)";
    const std::string cap = "0 0 0 0 (" + repeated("a2a3 4%", 22, ",") + ")\n";
    expectChoices({
        // A single move is always played and shown as certain.
        {keys + "(e2e4)", 0, 25, 45, "0 0 0 0 (e2e4 100%)\n"}, {keys + "(e2e4)", 99, 25, 45},
        {keys + "(e1g1)", 0, 15, 17, "", testKey2, testKey3, 0},
        // 45 is not above r = 45, 90 is; from r = 90 on the book declines.
        {list, 0, 25, 45, "0 0 0 0 (e2e4 45%,d2d4 45%)\n"}, {list, 44, 25, 45}, {list, 89, 24, 44},
        {list, 45, 24, 44, ")\n", testKey2, testKey3, 0}, {list, 90, 0, 0}, {list, 99, 0, 0},
        // One-digit percentages make a candidate one character shorter.
        {keys + "(e2e4 5/d2d4 95)", 4, 25, 45, "0 0 0 0 (e2e4 5%,d2d4 95%)\n"}, {keys + "(e2e4 5/d2d4 95)", 5, 24, 44},
        {keys + "(g1f3 7/c2c4 3/b1c3 9)", 10, 12, 33, "0 0 0 0 (g1f3 7%,c2c4 3%,b1c3 9%)\n"},
        // 100 in a list reads as 10 and ends it.
        {keys + "(e2e4 100/d2d4 50)", 9, 25, 45, "0 0 0 0 (e2e4 10%)\n"}, {keys + "(e2e4 100/d2d4 50)", 10, 0, 0},
        // At most 22 candidates: 22 * 4 = 88 <= 95, only a 23rd would cover r.
        {keys + "(" + repeated("a2a3 04", 23, "/") + ")", 95, 0, 0, cap.c_str()},
        // K2 is compared modulo 65536, K1 read modulo 2^32.
        {"3000000000,70000(e2e4)", 0, 25, 45}, {"3000000000,70000(e2e4)", 0, 0, 0, nullptr, testKey2, 4465},
        {"3000000000,70000(e2e4)", 0, 0, 0, nullptr, testKey2 + 1}, {"7294967296,4464(e2e4)", 0, 25, 45},
        {"3000000000,105536(e2e4)", 0, 25, 45, nullptr, testKey2, 40000},
        // Entries among others over line breaks of every kind; one non-digit
        // may stand before K1.
        {several, 59, 24, 44, "0 0 0 0 (d2d4 60%,e2e4 39%)\n"}, {several, 0, 21, 31, nullptr, 1, 2},
        {several, 0, 26, 36, nullptr, 77, 88},
        // Empty books, and keys without digits, which are not the key 0.
        {"", 0, 0, 0, ""}, {"An opening book, one day (not yet).\n", 0, 0, 0, "", 0, 0},
        {"x,y(e2e4)", 0, 0, 0, nullptr, 0, 0}, {"0,(e2e4)", 0, 0, 0, nullptr, 0, 0},
        {"xx0,0(e2e4)", 0, 0, 0, nullptr, 0, 0}, {"0,0(e2e4)", 0, 25, 45, nullptr, 0, 0},
    });
    librito absent("no/such/librito.txt");
    EXPECT_EQ(absent.length, 0);
    EXPECT_EQ(probe(absent, 0, 0), "");
}

// Outside data that must neither crash nor offer a square off the board.
TEST(Book, HostileBooksGiveNoMoveOrRealSquares) {
    expectChoices({
        {keys, 0, 0, 0}, {keys + "(", 0, 0, 0}, {keys + "(e2e", 0, 0, 0}, {keys + "(e2e4 ", 0, 0, 0},
        {keys + "(e2e4 5", 0, 25, 45}, {keys + "(e2e4 50/d2", 0, 0, 0}, {keys + "(e2e4 50/d2d4 50", 60, 24, 44},
        {keys + " e2e4 50/d2d4 50)", 0, 0, 0}, {keys + "(i2e4)", 0, 0, 0}, {keys + "(e2e9)", 0, 0, 0},
        {keys + "(e0e4)", 0, 0, 0}, {keys + "(E2E4)", 0, 0, 0}, {keys + "(e2e4 50/z9z9 50)", 60, 0, 0},
        {keys + "(e2e4 50/z9z9 50)", 10, 25, 45}, {keys + "(e2e4 /d2d4 50)", 0, 0, 0},
        {keys + "(e2e4 x5/d2d4 50)", 30, 24, 44}, {keys + "())))", 0, 0, 0}, {keys + "(e2)3000000000,4464(d2d4)", 0, 0, 0},
        {std::string("3000000000,4464(e2e4\00050)", 24), 0, 25, 45}, {std::string("\0\0\0,\0(\0\0\0\0)", 11), 0, 0, 0},
        {"3000000000,", 0, 0, 0}, {",,,,))))((((////", 0, 0, 0}, {"  3000000000,4464(e2e4)", 0, 0, 0},
        {"3000000000;4464(e2e4)", 0, 0, 0},
    });
}

// The linear congruential generator: state * 22695477 + 1 modulo 2^32,
// bits 16..30. From 12345: 12345 * 22695477 + 1 = 65 * 2^32 + 1002789326,
// and 1002789326 >> 16 = 15301.
TEST(Book, RandomNumbersAreTheLinearCongruentialOnes) {
    librito book("");
    book.startRandom(12345);
    for (int expected : {15301, 24996, 10921, 23577}) EXPECT_EQ(book.nextRandom(), expected);
    book.startRandom(0xFFFFFFFFu);
    for (int expected : {32421, 561, 22046}) EXPECT_EQ(book.nextRandom(), expected);
}

}  // namespace
}  // namespace zarvi
