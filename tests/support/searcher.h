// The searcher shared by the tests of one executable (the game creates one
// buscador for the whole run, and a second one would allocate the
// program-wide tables again), and the one way tests read its move lists.
#pragma once

#include <string>
#include <vector>

#include "board/posicion.h"
#include "search/buscador.h"

namespace zarvi::test {

// Created on first use, with the smallest hash size factor.
buscador& sharedSearcher();

// A list entry: from, to (a square or a promotion code) and the kind the
// generator wrote (0 where it writes none).
struct ListedMove {
    int from, to, kind;
    bool operator==(const ListedMove& o) const { return from == o.from && to == o.to; }
    bool operator<(const ListedMove& o) const { return from != o.from ? from < o.from : to < o.to; }
};
using MoveList = std::vector<ListedMove>;

// The first n entries of a generated list; kinds may be nullptr.
MoveList listed(const int* from, const int* to, const int* kind, int n);

// The legal moves of side at ply of the searcher, whether or not it is in
// check (castling only when it is not).
MoveList legalMoves(buscador& searcher, posicion& board, int side, int ply = 0);

// The moves as text, each followed by a space.
std::string movesText(const posicion& board, const MoveList& moves);

}  // namespace zarvi::test
