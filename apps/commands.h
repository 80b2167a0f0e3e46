// The commands of the engine binary, one function each, called by main
// with the arguments after the command's name. Each returns the process
// exit code.
#pragma once

namespace zarvi {

// perft DEPTH [FEN]: the leaves per root move, their total and the speed.
int runPerft(int argc, char** argv);
// bench [DEPTH]: the fixed-depth search of the bench positions.
int runBenchCommand(int argc, char** argv);
// evalbench [DEPTH]: evaluations per second over the bench positions' trees.
int runEvalBenchCommand(int argc, char** argv);
// makebook IN OUT: the opening book built from the list of opening lines.
int runMakebook(int argc, char** argv);
// uci: the UCI conversation on standard input and output.
int runUci(int argc, char** argv);

}  // namespace zarvi
