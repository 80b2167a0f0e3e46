// The uci command, which is also what the engine binary does when it is
// started without a command: the UCI conversation over standard input and
// output, with standard input read on a thread of its own.
#include <cstdio>
#include <iostream>
#include <memory>

#include "commands.h"
#include "inputqueue.h"
#include "ucisession.h"

namespace zarvi {

int runUci(int argc, char**) {
    if (argc > 0) {
        std::fprintf(stderr, "usage: zarvi-engine [uci]  (commands then come on standard input)\n");
        return 2;
    }
    const auto input = std::make_shared<InputQueue>();
    startReader(std::cin, input);
    UciSession session(*input, std::cout);
    session.run();
    return 0;
}

}  // namespace zarvi
