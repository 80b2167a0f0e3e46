// Entry point of the engine binary: picks the command named by the first
// argument from the table below; without one it speaks UCI.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

const Command commands[] = {
    {"perft", zarvi::runPerft, "perft DEPTH [FEN]        count the leaves of the legal move tree"},
    {"bench", zarvi::runBenchCommand,
     "bench [DEPTH [THREADS]]  search the bench positions; prints the signature and the speed"},
    {"evalbench", zarvi::runEvalBenchCommand,
     "evalbench [DEPTH]        time the evaluation over the bench positions' trees"},
    {"makebook", zarvi::runMakebook, "makebook IN OUT          build the opening book OUT from the opening lines IN"},
    {"uci", zarvi::runUci, "uci                      speak UCI on standard input and output (the default)"},
};

int usage() {
    std::fprintf(stderr, "usage: zarvi-engine [COMMAND ...]\ncommands:\n");
    for (const Command& c : commands) std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return zarvi::runUci(0, nullptr);
    for (const Command& c : commands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    std::fprintf(stderr, "zarvi-engine: unknown command '%s'\n", argv[1]);
    return usage();
}
