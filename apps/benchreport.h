// The bench as the engine binary prints it: the figures of a fixed-depth
// search of the built-in positions, among them the signature (the nodes
// of a search on one thread) and each position's time to depth. The bench
// command and the UCI bench command print the same.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zarvi {

// A depth from 1 to the deepest iteration, written in digits only.
bool readBenchDepth(const std::string& text, int& depth);

// The bench's words: [DEPTH [THREADS]]. Returns "" or what is wrong.
std::string readBenchArguments(const std::vector<std::string>& words, int& depth, int& threads);

// Runs the bench at depth on threads threads and prints its figures;
// returns "" or what went wrong (then nothing is printed).
std::string printBench(int depth, int threads, std::ostream& out);

}  // namespace zarvi
