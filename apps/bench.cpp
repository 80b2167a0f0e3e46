// The bench command: the fixed-depth search of the shipped positions whose
// node count is the engine's signature.
#include <cstdio>
#include <iostream>

#include "bench_positions.h"
#include "benchreport.h"
#include "commands.h"
#include "eval/settings.h"
#include "search/bench.h"
#include "ucitext.h"

namespace zarvi {

bool readBenchDepth(const std::string& text, int& depth) {
    int64_t value = 0;
    if (text.empty() || text[0] < '0' || text[0] > '9' || !readInteger(text, value)) return false;
    if (value < 1 || value > deepestIteration) return false;
    depth = int(value);
    return true;
}

std::string printBench(int depth, std::ostream& out) {
    BenchResult result;
    const std::string error = runBench(benchPositions, depth, result);
    if (!error.empty()) return error;
    const double seconds = result.seconds > 0 ? result.seconds : 1e-9;
    char figures[256];
    std::snprintf(figures, sizeof figures,
                  "Positions: %d\nDepth: %d\nTime (s): %.2f\nNodes searched: %lld\nNodes/second: %.0f\n",
                  result.positions, depth, result.seconds, static_cast<long long>(result.nodes),
                  double(result.nodes) / seconds);
    out << figures << std::flush;
    return "";
}

int runBenchCommand(int argc, char** argv) {
    int depth = benchDepth;
    if (argc > 1 || (argc == 1 && !readBenchDepth(argv[0], depth))) {
        std::fprintf(stderr, "bench: depth must be a number from 1 to %d\n", deepestIteration);
        return 2;
    }
    const std::string error = printBench(depth, std::cout);
    if (!error.empty()) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace zarvi
