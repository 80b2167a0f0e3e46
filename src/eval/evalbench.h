// The evaluation benchmark: every position of the legal move trees below a
// few fixed positions evaluated for both sides in full (the cache left
// out), to measure the evaluation's own speed.
#pragma once

#include <cstdint>
#include <string>

namespace zarvi {

struct EvalBenchResult {
    int64_t evaluations = 0;
    double seconds = 0;
    int64_t checksum = 0;  // sum of all scores: a run does real work
};

// positions: one FEN a line ('#' lines skipped); every node down to depth
// plies below each is evaluated. Returns "" or what is wrong.
std::string runEvalBench(const std::string& positions, int depth, EvalBenchResult& result);

}  // namespace zarvi
