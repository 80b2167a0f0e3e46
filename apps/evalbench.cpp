// The evalbench command: the speed of the evaluation alone, over the legal
// move trees below the bench positions.
#include <cstdio>

#include "bench_positions.h"
#include "benchreport.h"
#include "commands.h"
#include "eval/evalbench.h"

namespace zarvi {

constexpr int evalBenchDepth = 3;

int runEvalBenchCommand(int argc, char** argv) {
    int depth = evalBenchDepth;
    if (argc > 1 || (argc == 1 && !readBenchDepth(argv[0], depth)) || depth > 5) {
        std::fprintf(stderr, "evalbench: depth must be a number from 1 to 5\n");
        return 2;
    }
    EvalBenchResult result;
    const std::string error = runEvalBench(benchPositions, depth, result);
    if (!error.empty()) {
        std::fprintf(stderr, "evalbench: %s\n", error.c_str());
        return 1;
    }
    const double seconds = result.seconds > 0 ? result.seconds : 1e-9;
    std::printf("Depth: %d\nTime (s): %.2f\nEvaluations: %lld\nEvaluations/second: %.0f\nChecksum: %lld\n", depth,
                result.seconds, static_cast<long long>(result.evaluations), double(result.evaluations) / seconds,
                static_cast<long long>(result.checksum));
    return 0;
}

}  // namespace zarvi
