// The opening book built from the list of opening lines: every line is
// replayed from the initial position by the rules of the game, and the
// positions it passes through are merged with those of the other lines by
// their key words, so that transpositions share their moves. The makebook
// command writes the result as librito.txt; the tests walk it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "board/fen.h"
#include "board/types.h"
#include "book/openinglist.h"

namespace zarvi {

// A move played from a position, weighted by the summed weights of the
// lines that play it there.
struct BookContinuation {
    Move move;
    int weight;
};

struct BookPosition {
    uint32_t key2;
    uint16_t key3;
    PositionSetup setup;  // tells a transposition from two positions whose keys clash
    std::vector<BookContinuation> continuations;  // in the order the lines first play them
};

class BookTree {
public:
    // Replays line and adds its moves, all or none. Returns an empty
    // string, or the first fault as "5...Nxe4: what is wrong".
    std::string addLine(const OpeningLine& line);

    // Positions in the order the lines first reach them.
    const std::vector<BookPosition>& positions() const { return nodes; }
    // The position with these key words, or null.
    const BookPosition* find(uint32_t key2, uint16_t key3) const;
    // Positions that have a continuation, one book entry each.
    int entryCount() const;
    // The text of librito.txt: one entry per line, in the order of positions().
    std::string text() const;

private:
    std::vector<BookPosition> nodes;
    std::map<std::pair<uint32_t, uint16_t>, std::size_t> index;
};

// The tree of all lines. Returns an empty string, or the first fault as
// "LINE: 5...Nxe4: what is wrong", LINE being the line's number in its
// file, with the tree left empty.
std::string buildBook(const std::vector<OpeningLine>& lines, BookTree& tree);

}  // namespace zarvi
