#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "book/bookentry.h"
#include "book/librito.h"

namespace zarvi {
namespace {

std::vector<int> percentagesOf(std::vector<int> weights) {
    std::vector<int> out(weights.size());
    bookPercentages(weights.data(), int(weights.size()), out.data());
    return out;
}

TEST(BookEntry, PercentagesAddUpToAHundred) {
    EXPECT_EQ(percentagesOf({1, 1}), (std::vector<int>{50, 50}));
    EXPECT_EQ(percentagesOf({45, 45, 10}), (std::vector<int>{45, 45, 10}));
    // 66.67 and 33.33: the larger fraction takes the spare point.
    EXPECT_EQ(percentagesOf({2, 1}), (std::vector<int>{67, 33}));
    // Three equal fractions: the first takes it.
    EXPECT_EQ(percentagesOf({1, 1, 1}), (std::vector<int>{34, 33, 33}));
    // 0.1 % would round away; every listed move keeps at least 1.
    EXPECT_EQ(percentagesOf({1, 1000}), (std::vector<int>{1, 99}));
    EXPECT_EQ(percentagesOf({1000, 1, 1}), (std::vector<int>{98, 1, 1}));
}

TEST(BookEntry, PercentagesStayWithinTwoDigitsForAnyWeights) {
    std::mt19937 draw(7);
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<int> weights(2 + draw() % (maxBookCandidates - 1));
        for (int& w : weights) w = 1 + int(draw() % (trial % 2 ? 1000 : 10));
        int sum = 0;
        for (int p : percentagesOf(weights)) {
            EXPECT_GE(p, 1);
            EXPECT_LE(p, 99);
            sum += p;
        }
        EXPECT_EQ(sum, 100);
    }
}

TEST(BookEntry, WritesTheTwoForms) {
    const Move e2e4{25, 45}, d2d4{24, 44}, g1f3{17, 36};
    const Move one[] = {e2e4};
    const int oneWeight[] = {12};
    EXPECT_EQ(bookEntry(3000000000u, 4464, one, oneWeight, 1), "3000000000,4464(e2e4)");
    const Move three[] = {g1f3, e2e4, d2d4};
    const int threeWeights[] = {10, 45, 45};
    EXPECT_EQ(bookEntry(57002932u, 6964, three, threeWeights, 3), "57002932,6964(e2e4 45/d2d4 45/g1f3 10)");
    const Move corners[] = {{11, 88}, {81, 18}};
    const int cornerWeights[] = {1, 1};
    EXPECT_EQ(bookEntry(0, 65535, corners, cornerWeights, 2), "0,65535(a1h8 50/a8h1 50)");
}

TEST(BookEntry, KeepsTheHeaviestCandidatesThatFit) {
    std::vector<Move> moves;
    std::vector<int> weights;
    // Eight light moves from the first rank, then 22 heavy ones from the second.
    for (int i = 0; i < 30; ++i) {
        moves.push_back(i < 8 ? Move{11 + i, 31 + i} : Move{21 + i % 8, 31 + i % 8});
        weights.push_back(i < 8 ? 1 : 10);
    }
    std::string entry = bookEntry(1, 2, moves.data(), weights.data(), 30);
    int listed = 1;
    for (char c : entry) listed += c == '/';
    EXPECT_EQ(listed, maxBookCandidates);
    for (const char* light : {"a1a3", "b1b3", "c1c3", "d1d3", "e1e3", "f1f3", "g1g3", "h1h3"}) {
        EXPECT_EQ(entry.find(light), std::string::npos) << entry;
    }
    // 22 equal shares of 100: twelve of 5 and ten of 4.
    EXPECT_EQ(entry.rfind("1,2(a2a3 5/", 0), 0u) << entry;
    EXPECT_NE(entry.find("/f2f3 4/"), std::string::npos) << entry;
}

}  // namespace
}  // namespace zarvi
