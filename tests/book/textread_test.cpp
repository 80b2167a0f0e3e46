#include <gtest/gtest.h>

#include <cstring>

#include "book/textread.h"

namespace zarvi {
namespace {

int squareIn(const char* text, int p = 0) { return parseSquare(text, int(std::strlen(text)), p); }

uint32_t numberIn(const char* text, int* digits = nullptr) {
    return parseNumber(text, int(std::strlen(text)), 0, digits);
}

TEST(TextRead, DigitValues) {
    EXPECT_EQ(digitValue('0'), 0);
    EXPECT_EQ(digitValue('7'), 7);
    EXPECT_EQ(digitValue('9'), 9);
    const int others[] = {'/', ':', 'a', ' ', 0, 255, noCharacter};
    for (int c : others) EXPECT_EQ(digitValue(c), -1) << c;
}

TEST(TextRead, CharactersOutsideTheTextAreNone) {
    const char text[] = "ab\xff";
    EXPECT_EQ(characterAt(text, 3, 0), 'a');
    EXPECT_EQ(characterAt(text, 3, 2), 255);
    EXPECT_EQ(characterAt(text, 3, 3), noCharacter);
    EXPECT_EQ(characterAt(text, 3, -1), noCharacter);
    EXPECT_EQ(characterAt(nullptr, 0, 0), noCharacter);
}

TEST(TextRead, SquaresOnTheBoard) {
    EXPECT_EQ(squareIn("a1"), 11);
    EXPECT_EQ(squareIn("h1"), 18);
    EXPECT_EQ(squareIn("e2"), 25);
    EXPECT_EQ(squareIn("a8"), 81);
    EXPECT_EQ(squareIn("h8"), 88);
    EXPECT_EQ(squareIn("e2e4", 2), 45);
}

TEST(TextRead, SquaresOffTheBoardAreNone) {
    for (const char* text : {"i1", "`1", "A1", "a0", "a9", "h:", "11", "e ", "", "e"}) {
        EXPECT_EQ(squareIn(text), 0) << '"' << text << '"';
    }
    // The rank digit lies beyond the given length, though the memory holds one.
    EXPECT_EQ(parseSquare("e2", 1, 0), 0);
    EXPECT_EQ(parseSquare("e2", 2, -1), 0);
    EXPECT_EQ(parseSquare("e2", 2, 5), 0);
}

TEST(TextRead, NumbersSkipOneLeadingNonDigit) {
    int digits = -1;
    EXPECT_EQ(numberIn("123,", &digits), 123u);
    EXPECT_EQ(digits, 3);
    EXPECT_EQ(numberIn(" 45x"), 45u);
    EXPECT_EQ(numberIn(")0"), 0u);
    EXPECT_EQ(numberIn("x", &digits), 0u);
    EXPECT_EQ(digits, 0);
    // Two non-digits: no number at all.
    EXPECT_EQ(numberIn("  7", &digits), 0u);
    EXPECT_EQ(digits, 0);
}

TEST(TextRead, NumbersWrapModulo2To32) {
    EXPECT_EQ(numberIn("4294967295"), 4294967295u);
    EXPECT_EQ(numberIn("4294967296"), 0u);
    EXPECT_EQ(numberIn("4294967297"), 1u);
    // 10^20 mod 2^32 = 1661992960
    EXPECT_EQ(numberIn("100000000000000000000"), 1661992960u);
}

TEST(TextRead, NumbersStopAtTheEndOfTheText) {
    int digits = 0;
    EXPECT_EQ(parseNumber("12345", 3, 0, &digits), 123u);
    EXPECT_EQ(digits, 3);
    EXPECT_EQ(parseNumber("x9", 1, 0, &digits), 0u);
    EXPECT_EQ(digits, 0);
    EXPECT_EQ(parseNumber("", 0, 0), 0u);
}

}  // namespace
}  // namespace zarvi
