#include "support/searcher.h"

#include <memory>

#include "board/notation.h"
#include "eval/movegen.h"
#include "eval/settings.h"

namespace zarvi::test {

buscador& sharedSearcher() {
    static std::unique_ptr<buscador> searcher = [] {
        const int saved = settings.hashSizeFactor;
        settings.hashSizeFactor = minHashSizeFactor;
        auto created = std::make_unique<buscador>();
        settings.hashSizeFactor = saved;
        return created;
    }();
    return *searcher;
}

MoveList listed(const int* from, const int* to, const int* kind, int n) {
    MoveList moves;
    for (int i = 0; i < n; ++i) moves.push_back({from[i], to[i], kind ? kind[i] : 0});
    return moves;
}

MoveList legalMoves(buscador& searcher, posicion& board, int side, int ply) {
    return listed(searcher.fullFrom[ply], searcher.fullTo[ply], nullptr, listLegalMoves(searcher, board, side, ply));
}

std::string movesText(const posicion& board, const MoveList& moves) {
    std::string text;
    for (const ListedMove& m : moves) text += moveText(board, m.from, m.to) + " ";
    return text;
}

}  // namespace zarvi::test
