#include "rootlines.h"

#include <algorithm>

#include "board/notation.h"

namespace zarvi {

std::vector<Move> namedRootMoves(const posicion& board, int side, const std::vector<Move>& legal,
                                 const std::vector<std::string>& names, std::vector<std::string>& complaints) {
    std::vector<Move> named;
    for (const std::string& name : names) {
        Move move{0, 0};
        if (!parseMoveText(board, side, name, move.from, move.to)) {
            complaints.push_back("searchmoves: '" + name + "' is not a move in long algebraic notation here; left out");
        } else if (std::find(legal.begin(), legal.end(), move) == legal.end()) {
            complaints.push_back("searchmoves: illegal move " + name + " left out");
        } else {
            named.push_back(move);
        }
    }
    if (!named.empty()) return named;
    if (!names.empty()) complaints.push_back("searchmoves: no legal move named; every move is searched");
    return legal;
}

std::vector<std::string> lineReports(const buscador& searcher, ThinkingReport state, int shown) {
    std::vector<std::string> reports;
    for (int i = 0; i < std::min(searcher.lineCount, shown); ++i) {
        const RootLine& line = searcher.lines[i];
        state.line = i + 1;
        state.score = line.score;
        state.variation = variationMoves(line.variation);
        reports.push_back(infoLine(state));
    }
    return reports;
}

}  // namespace zarvi
