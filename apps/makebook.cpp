// The makebook command: turns the list of opening lines into librito.txt.
// Every line is replayed by the engine's own rules, so a slip in the list
// stops the build with its line and move instead of reaching the book.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "book/bookbuilder.h"
#include "book/openinglist.h"
#include "commands.h"

namespace zarvi {

int runMakebook(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarvi-engine makebook IN OUT  (IN a list of opening lines, OUT the book)\n");
        return 2;
    }
    const std::string in = argv[0], out = argv[1];
    if (!std::ifstream(in)) {
        std::fprintf(stderr, "makebook: cannot read %s\n", in.c_str());
        return 1;
    }
    std::vector<OpeningLine> lines;
    BookTree tree;
    std::string fault = readOpeningList(in, lines);
    if (fault.empty()) fault = buildBook(lines, tree);
    if (!fault.empty()) {
        std::fprintf(stderr, "makebook: %s:%s\n", in.c_str(), fault.c_str());
        return 1;
    }

    // Binary, so that the book reads the same bytes on every system.
    const std::string text = tree.text();
    std::FILE* file = std::fopen(out.c_str(), "wb");
    bool written = false;
    if (file) {
        written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        written = std::fclose(file) == 0 && written;
    }
    if (!written) {
        std::fprintf(stderr, "makebook: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%zu lines, %zu positions, %d book entries written to %s\n", lines.size(), tree.positions().size(),
                tree.entryCount(), out.c_str());
    return 0;
}

}  // namespace zarvi
