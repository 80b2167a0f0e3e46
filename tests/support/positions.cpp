#include "support/positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "board/consistency.h"
#include "board/tables.h"

namespace zarvi::test {

posicion positionFromFen(const std::string& fen, int* sideToMove) {
    posicion board;
    FenGame game{};
    EXPECT_EQ(readFen(board, fen, game), "") << fen;
    if (sideToMove) *sideToMove = game.sideToMove;
    return board;
}

std::string positionSignature(const posicion& board) {
    std::ostringstream out;
    // Square arrays are read on the board only: the border is no view.
    auto put = [&](const char* name, const int* values, int first, int last, bool squares = false) {
        out << name << ':';
        for (int i = first; i <= last; ++i)
            if (!squares || onBoard[i]) out << ' ' << values[i];
        out << '\n';
    };
    out << "keys " << board.key1 << ' ' << board.key2 << ' ' << board.key3 << " ep " << board.epSquare
        << " halfmove " << board.halfmoveClock << '\n';
    put("squares", board.squares, 11, 88, true);
    put("empty", board.emptyFlag, 11, 88, true);
    for (int side = 0; side < 2; ++side) {
        out << "side " << side << " king " << board.kingSquare[side] << " castle " << board.canCastleShort[side]
            << board.canCastleLong[side] << " material " << board.material[side] << " units "
            << board.pieceUnits[side] << '\n';
        put(" files", board.pawnsOnFile[side], 1, 8);
        put(" attacks", board.pawnAttacks[side], 11, 88, true);
        // Lists as sets: taking a move back need not restore their order.
        for (int type = pawn; type <= queen; ++type) {
            const int* list = board.pieceList(side, type);
            std::vector<int> squares(list, list + 1 + std::max(0, list[0]));
            std::sort(squares.begin() + 1, squares.end());
            put(" list", squares.data(), 0, int(squares.size()) - 1);
        }
    }
    return out.str();
}

::testing::AssertionResult viewsConsistent(const posicion& board, int sideToMove) {
    const std::string mismatch = findInconsistency(board, sideToMove);
    if (mismatch.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "incremental view differs from a recomputation: " << mismatch
                                         << "\n" << positionSignature(board);
}

}  // namespace zarvi::test
