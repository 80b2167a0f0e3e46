// Building the book tree from the opening lines and writing its entries.
#include "book/bookbuilder.h"

#include <cstring>

#include "board/makemove.h"
#include "board/posicion.h"
#include "board/tables.h"
#include "book/bookentry.h"
#include "book/san.h"

namespace zarvi {

namespace {

// One step of a replayed line: the position before the move, and the move
// (none at the line's end).
struct LineStep {
    uint32_t key2;
    uint16_t key3;
    PositionSetup setup;
    Move move;
};

// The move as the list writes it with its number: "5. O-O" or "5...Nxe4".
std::string numbered(int ply, const std::string& san) {
    const std::string number = std::to_string(ply / 2 + 1);
    return ply % 2 == 0 ? number + ". " + san : number + "..." + san;
}

// The position as a transposition must match it: the move counters differ
// between move orders and do not matter to the book.
PositionSetup comparableSetup(const posicion& board, int side) {
    PositionSetup setup = describePosition(board, side);
    setup.halfmoveClock = 0;
    return setup;
}

bool sameSetup(const PositionSetup& a, const PositionSetup& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

std::string BookTree::addLine(const OpeningLine& line) {
    buildTables();
    posicion board;
    posicionador().setStartPosition(board);
    std::vector<LineStep> steps;
    int side = white;
    // One step per move, and one for the position the line ends in.
    for (std::size_t ply = 0; ply <= line.moves.size(); ++ply) {
        const bool last = ply == line.moves.size();
        const std::string move = last ? "the end of the line" : numbered(int(ply), line.moves[ply]);
        LineStep step{board.key2, board.key3, comparableSetup(board, side), Move{0, 0}};
        const BookPosition* known = find(step.key2, step.key3);
        if (known && !sameSetup(known->setup, step.setup)) {
            return move + ": the position there shares its key words " + std::to_string(step.key2) + "," +
                   std::to_string(step.key3) + " with another position";
        }
        if (!last) {
            const std::string fault = readSanMove(board, side, line.moves[ply], step.move);
            if (!fault.empty()) return move + ": " + fault;
        }
        steps.push_back(step);
        if (!last) makeMove(board, step.move.from, step.move.to, side);
        side = 1 - side;
    }

    for (const LineStep& step : steps) {
        auto [at, added] = index.try_emplace({step.key2, step.key3}, nodes.size());
        if (added) nodes.push_back(BookPosition{step.key2, step.key3, step.setup, {}});
        if (step.move.from == 0) continue;
        std::vector<BookContinuation>& continuations = nodes[at->second].continuations;
        bool counted = false;
        for (BookContinuation& c : continuations) {
            if (c.move == step.move) {
                c.weight += line.weight;
                counted = true;
            }
        }
        if (!counted) continuations.push_back({step.move, line.weight});
    }
    return "";
}

const BookPosition* BookTree::find(uint32_t key2, uint16_t key3) const {
    auto at = index.find({key2, key3});
    return at == index.end() ? nullptr : &nodes[at->second];
}

int BookTree::entryCount() const {
    int count = 0;
    for (const BookPosition& node : nodes) count += node.continuations.empty() ? 0 : 1;
    return count;
}

std::string BookTree::text() const {
    std::string book;
    for (const BookPosition& node : nodes) {
        if (node.continuations.empty()) continue;
        std::vector<Move> moves;
        std::vector<int> weights;
        for (const BookContinuation& c : node.continuations) {
            moves.push_back(c.move);
            weights.push_back(c.weight);
        }
        book += bookEntry(node.key2, node.key3, moves.data(), weights.data(), int(moves.size())) + "\n";
    }
    return book;
}

std::string buildBook(const std::vector<OpeningLine>& lines, BookTree& tree) {
    tree = BookTree();
    for (const OpeningLine& line : lines) {
        const std::string fault = tree.addLine(line);
        if (!fault.empty()) {
            tree = BookTree();
            return std::to_string(line.lineNumber) + ": " + fault;
        }
    }
    return "";
}

}  // namespace zarvi
