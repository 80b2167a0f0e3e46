// The bench: a fixed-depth search of a fixed set of positions, each with
// fresh tables and no book. Its total node count on one thread is the
// engine's signature: any change to the search or the evaluation changes
// it. On several threads it measures the time to depth and the speed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvi {

constexpr int benchDepth = 7;

struct BenchResult {
    int positions = 0;
    int64_t nodes = 0;  // of every thread
    double seconds = 0;
    std::vector<double> secondsByPosition;
};

// positions: one FEN a line; blank lines and lines starting with '#' are
// skipped. Searches each on threads threads. Returns "" or what is wrong
// with the positions.
std::string runBench(const std::string& positions, int depth, int threads, BenchResult& result);

}  // namespace zarvi
