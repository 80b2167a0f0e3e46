// The bench: a fixed-depth search of a fixed set of positions, each with
// fresh tables and no book. Its total node count is the engine's
// signature: any change to the search or the evaluation changes it.
#pragma once

#include <cstdint>
#include <string>

namespace zarvi {

constexpr int benchDepth = 7;

struct BenchResult {
    int positions = 0;
    int64_t nodes = 0;
    double seconds = 0;
};

// positions: one FEN a line; blank lines and lines starting with '#' are
// skipped. Returns "" or what is wrong with the positions.
std::string runBench(const std::string& positions, int depth, BenchResult& result);

}  // namespace zarvi
