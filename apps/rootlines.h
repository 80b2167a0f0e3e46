// The root moves of a search and the lines it reports: the moves that go
// searchmoves names, judged in the session's position, and the lines of a
// search for several best moves (MultiPV) as info lines. The session
// calls both on every go.
#pragma once

#include <string>
#include <vector>

#include "board/posicion.h"
#include "board/types.h"
#include "search/buscador.h"
#include "uciinfo.h"

namespace zarvi {

// The legal moves among names, in their order. A name that is no move in
// long algebraic notation here, or no legal one, is left out with a
// complaint; when no legal move is named, every legal move is searched.
std::vector<Move> namedRootMoves(const posicion& board, int side, const std::vector<Move>& legal,
                                 const std::vector<std::string>& names, std::vector<std::string>& complaints);

// An info line for each of the first shown lines of the searcher's last
// finished iteration, numbered from 1, best first; state holds what they
// share (depth, nodes). A limited engine scores more lines than it shows.
std::vector<std::string> lineReports(const buscador& searcher, ThinkingReport state, int shown);

}  // namespace zarvi
