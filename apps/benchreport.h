// The bench as the engine binary prints it: the figures of a fixed-depth
// search of the built-in positions, the last of them the signature. The
// bench command and the UCI bench command print the same.
#pragma once

#include <ostream>
#include <string>

namespace zarvi {

// A depth from 1 to the deepest iteration, written in digits only.
bool readBenchDepth(const std::string& text, int& depth);

// Runs the bench at depth and prints its figures; returns "" or what went
// wrong (then nothing is printed).
std::string printBench(int depth, std::ostream& out);

}  // namespace zarvi
