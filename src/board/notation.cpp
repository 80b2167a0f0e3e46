#include "board/notation.h"

#include "board/fen.h"
#include "board/tables.h"

namespace zarvi {

namespace {

bool isPromotion(const posicion& board, int from) {
    const int piece = board.squares[from];
    return typeOf(piece) == pawn && promotionRank[sideOf(piece)][from];
}

int readSquare(const std::string& text, size_t at) {
    const char file = text[at], rank = text[at + 1];
    if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return 0;
    return 10 * (rank - '0') + (file - 'a' + 1);
}

}  // namespace

std::string moveText(const posicion& board, int from, int to) {
    if (!isPromotion(board, from)) return squareName(from) + squareName(to);
    const int side = sideOf(board.squares[from]);
    static const char letters[8] = {'n', 'n', 'n', 'b', 'r', 'q', 'n', 'n'};
    return squareName(from) + squareName(promotionDestination(from, to, side)) + letters[to & 7];
}

bool parseMoveText(const posicion& board, int side, const std::string& text, int& from, int& to) {
    if (text.size() != 4 && text.size() != 5) return false;
    from = readSquare(text, 0);
    to = readSquare(text, 2);
    if (from == 0 || to == 0 || board.squares[from] == 0 || sideOf(board.squares[from]) != side) return false;
    if (!isPromotion(board, from)) return text.size() == 4;
    if (text.size() != 5) return false;
    const int direction = to - from - pawnStep[side] + 1;
    if (direction < 0 || direction > 2) return false;
    int type = 0;
    switch (text[4]) {
        case 'q': type = queen; break;
        case 'r': type = rook; break;
        case 'b': type = bishop; break;
        case 'n': type = knight; break;
        default: return false;
    }
    to = promotionCode(direction, type);
    return true;
}

}  // namespace zarvi
