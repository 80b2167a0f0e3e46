// The bench command: the fixed-depth search of the shipped positions whose
// node count is the engine's signature.
#include <cstdio>
#include <iostream>

#include "bench_positions.h"
#include "benchreport.h"
#include "commands.h"
#include "eval/settings.h"
#include "search/bench.h"
#include "search/threads.h"
#include "ucitext.h"

namespace zarvi {

namespace {

// A number from low to high, written in digits only.
bool readFigure(const std::string& text, int low, int high, int& figure) {
    int64_t value = 0;
    if (text.empty() || text[0] < '0' || text[0] > '9' || !readInteger(text, value)) return false;
    if (value < low || value > high) return false;
    figure = int(value);
    return true;
}

}  // namespace

bool readBenchDepth(const std::string& text, int& depth) { return readFigure(text, 1, deepestIteration, depth); }

std::string readBenchArguments(const std::vector<std::string>& words, int& depth, int& threads) {
    depth = benchDepth;
    threads = 1;
    if (words.size() > 2 || (!words.empty() && !readBenchDepth(words[0], depth)) ||
        (words.size() == 2 && !readFigure(words[1], 1, maxThreads, threads)))
        return "write bench [DEPTH [THREADS]], a depth from 1 to " + std::to_string(deepestIteration) +
               " and threads from 1 to " + std::to_string(maxThreads);
    return "";
}

std::string printBench(int depth, int threads, std::ostream& out) {
    BenchResult result;
    const std::string error = runBench(benchPositions, depth, threads, result);
    if (!error.empty()) return error;
    const double seconds = result.seconds > 0 ? result.seconds : 1e-9;
    char figures[256];
    std::snprintf(figures, sizeof figures,
                  "Positions: %d\nDepth: %d\nThreads: %d\nTime (s): %.2f\nNodes searched: %lld\n"
                  "Nodes/second: %.0f\n",
                  result.positions, depth, threads, result.seconds, static_cast<long long>(result.nodes),
                  double(result.nodes) / seconds);
    // Each position's time to depth, so that two runs compare position by
    // position.
    std::string times = "Milliseconds to depth:";
    for (double s : result.secondsByPosition) times += " " + std::to_string(int64_t(s * 1000 + 0.5));
    out << figures << times << '\n' << std::flush;
    return "";
}

int runBenchCommand(int argc, char** argv) {
    int depth = 0, threads = 0;
    const std::string usage = readBenchArguments(std::vector<std::string>(argv, argv + argc), depth, threads);
    if (!usage.empty()) {
        std::fprintf(stderr, "bench: %s\n", usage.c_str());
        return 2;
    }
    const std::string error = printBench(depth, threads, std::cout);
    if (!error.empty()) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace zarvi
