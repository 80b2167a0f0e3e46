#include "board/consistency.h"

#include <algorithm>

#include "board/fen.h"
#include "board/tables.h"

namespace zarvi {

namespace {

bool sameSquares(const int* a, const int* b, int capacity) {
    if (a[0] != b[0] || a[0] < 0 || a[0] > capacity) return false;
    int count[squareCount] = {};
    for (int i = 1; i <= a[0]; ++i) {
        if (a[i] < 0 || a[i] >= squareCount) return false;
        ++count[a[i]];
        --count[b[i]];
    }
    return std::all_of(count, count + squareCount, [](int c) { return c == 0; });
}

}  // namespace

std::string findInconsistency(const posicion& board, int sideToMove) {
    for (int side = 0; side < 2; ++side)
        if (board.squares[board.kingSquare[side]] != pieceCode(side, king)) return "";

    posicion expected;
    setupPosition(expected, describePosition(board, sideToMove));

    if (board.key1 != expected.key1 || board.key2 != expected.key2 || board.key3 != expected.key3)
        return "hash key";
    if (board.epSquare != expected.epSquare) return "en-passant square";
    for (int s = 11; s <= 88; ++s) {
        if (!onBoard[s]) continue;
        if (board.emptyFlag[s] != expected.emptyFlag[s]) return "emptyFlag on " + squareName(s);
        for (int side = 0; side < 2; ++side)
            if (board.pawnAttacks[side][s] != expected.pawnAttacks[side][s])
                return "pawnAttacks of side " + std::to_string(side) + " on " + squareName(s);
    }
    static const int capacity[7] = {0, 8, 10, 10, 10, 9, 0};
    for (int side = 0; side < 2; ++side) {
        const std::string who = side == white ? "white " : "black ";
        if (board.kingSquare[side] != expected.kingSquare[side]) return who + "kingSquare";
        if (board.material[side] != expected.material[side]) return who + "material";
        if (board.pieceUnits[side] != expected.pieceUnits[side]) return who + "pieceUnits";
        if (board.canCastleShort[side] != expected.canCastleShort[side] ||
            board.canCastleLong[side] != expected.canCastleLong[side])
            return who + "castling rights";
        for (int file = 1; file <= 8; ++file)
            if (board.pawnsOnFile[side][file] != expected.pawnsOnFile[side][file])
                return who + "pawnsOnFile on file " + std::to_string(file);
        for (int type = pawn; type <= queen; ++type)
            if (!sameSquares(board.pieceList(side, type), expected.pieceList(side, type), capacity[type]))
                return who + "list of type " + std::to_string(type);
    }
    return "";
}

}  // namespace zarvi
