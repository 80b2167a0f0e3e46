// Writing book entries with their percentages.
#include "book/bookentry.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "book/librito.h"

namespace zarvi {

namespace {

constexpr int wholeBook = 100;

std::string moveName(const Move& m) {
    return {char('a' + fileOf(m.from) - 1), char('0' + rankOf(m.from)), char('a' + fileOf(m.to) - 1),
            char('0' + rankOf(m.to))};
}

}  // namespace

void bookPercentages(const int* weights, int count, int* percentages) {
    long long total = 0;
    for (int i = 0; i < count; ++i) total += weights[i];
    long long remainder[maxBookCandidates];
    int given = 0;
    for (int i = 0; i < count; ++i) {
        const long long share = (long long)weights[i] * wholeBook;
        percentages[i] = int(share / total);
        remainder[i] = share % total;
        given += percentages[i];
    }
    for (; given < wholeBook; ++given) {
        int best = 0;
        for (int i = 1; i < count; ++i) {
            if (remainder[i] > remainder[best]) best = i;
        }
        ++percentages[best];
        remainder[best] = -1;
    }
    // A listed move must stay playable: lift every 0 to 1 at the expense
    // of the largest share.
    for (int i = 0; i < count; ++i) {
        if (percentages[i] > 0) continue;
        int largest = int(std::max_element(percentages, percentages + count) - percentages);
        --percentages[largest];
        percentages[i] = 1;
    }
}

std::string bookEntry(uint32_t key2, uint16_t key3, const Move* moves, const int* weights, int count) {
    std::string entry = std::to_string(key2) + "," + std::to_string(key3) + "(";
    if (count == 1) return entry + moveName(moves[0]) + ")";

    // The heaviest candidates first, in their given order among equals.
    std::vector<int> order(std::size_t(count), 0);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [weights](int a, int b) { return weights[a] > weights[b]; });
    const int kept = std::min(count, maxBookCandidates);

    int keptWeights[maxBookCandidates] = {};
    int percentages[maxBookCandidates] = {};
    for (int i = 0; i < kept; ++i) keptWeights[i] = weights[order[std::size_t(i)]];
    bookPercentages(keptWeights, kept, percentages);
    for (int i = 0; i < kept; ++i) {
        if (i > 0) entry += "/";
        entry += moveName(moves[order[std::size_t(i)]]) + " " + std::to_string(percentages[i]);
    }
    return entry + ")";
}

}  // namespace zarvi
