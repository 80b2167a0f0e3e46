// The bench command: the fixed-depth search of the shipped positions whose
// node count is the engine's signature.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_positions.h"
#include "commands.h"
#include "search/bench.h"

namespace zarvi {

int runBenchCommand(int argc, char** argv) {
    int depth = benchDepth;
    if (argc >= 1) {
        depth = std::atoi(argv[0]);
        if (depth < 1 || depth > 24) {
            std::fprintf(stderr, "bench: depth must be a number from 1 to 24\n");
            return 2;
        }
    }
    BenchResult result;
    const std::string error = runBench(benchPositions, depth, result);
    if (!error.empty()) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    const double seconds = result.seconds > 0 ? result.seconds : 1e-9;
    std::printf("Positions: %d\nDepth: %d\nTime (s): %.2f\nNodes searched: %lld\nNodes/second: %.0f\n",
                result.positions, depth, result.seconds, static_cast<long long>(result.nodes),
                double(result.nodes) / seconds);
    return 0;
}

}  // namespace zarvi
