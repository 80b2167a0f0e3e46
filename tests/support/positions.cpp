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
    const std::string error = readFen(board, fen, game);
    EXPECT_EQ(error, "") << fen;
    if (sideToMove) *sideToMove = game.sideToMove;
    return board;
}

namespace {

std::vector<int> listSquares(const int* list) {
    std::vector<int> squares(list + 1, list + 1 + std::max(0, list[0]));
    std::sort(squares.begin(), squares.end());
    return squares;
}

void describeViews(std::ostream& out, const posicion& board) {
    out << "keys " << board.key1 << ' ' << board.key2 << ' ' << board.key3 << '\n';
    for (int side = 0; side < 2; ++side) {
        out << "side " << side << " king " << board.kingSquare[side] << " castle "
            << board.canCastleShort[side] << board.canCastleLong[side] << " material "
            << board.material[side] << " units " << board.pieceUnits[side] << '\n';
        for (int type = pawn; type <= queen; ++type) {
            out << " list" << type << ':';
            for (int s : listSquares(board.pieceList(side, type))) out << ' ' << s;
            out << '\n';
        }
        out << " files:";
        for (int f = 1; f <= 8; ++f) out << ' ' << board.pawnsOnFile[side][f];
        out << "\n attacks:";
        for (int s = 11; s <= 88; ++s)
            if (onBoard[s]) out << ' ' << board.pawnAttacks[side][s];
        out << '\n';
    }
    out << "squares/empty:";
    for (int s = 11; s <= 88; ++s)
        if (onBoard[s]) out << ' ' << board.squares[s] << '/' << board.emptyFlag[s];
    out << "\nep " << board.epSquare << '\n';
}

}  // namespace

std::string positionSignature(const posicion& board) {
    std::ostringstream out;
    describeViews(out, board);
    out << "halfmove " << board.halfmoveClock << '\n';
    return out.str();
}

::testing::AssertionResult viewsConsistent(const posicion& board, int sideToMove) {
    const std::string mismatch = findInconsistency(board, sideToMove);
    if (mismatch.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "incremental view differs from a recomputation: " << mismatch
                                         << "\n" << positionSignature(board);
}

}  // namespace zarvi::test
