// Reading moves in standard algebraic notation, checked against the rules.
#include "book/san.h"

#include <cstdlib>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "board/vju.h"

namespace zarvi {

namespace {

constexpr int noPart = 0;
constexpr int firstSquare = 11;  // a1
constexpr int lastSquare = 88;   // h8

// The parts of a move's text before the rules look at it.
struct SanParts {
    int type = pawn;
    int fromFile = noPart;
    int fromRank = noPart;
    bool capture = false;
    int to = 0;
    int castling = 0;  // +1 short, -1 long
    char mark = 0;     // '+', '#' or none
};

int typeOfLetter(char c) {
    switch (c) {
        case 'N': return knight;
        case 'B': return bishop;
        case 'R': return rook;
        case 'Q': return queen;
        case 'K': return king;
        default: return 0;
    }
}

bool isFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool isRankDigit(char c) { return c >= '1' && c <= '8'; }

const char* const notNotation = "not a move in algebraic notation";
const char* const promotionRefused = "a promotion, which a book entry cannot write";

// Piece letter, from-file, from-rank, capture mark, destination, in that
// order, each but the destination optional; or castling. Pawns name their
// file exactly when they capture.
std::string splitSan(std::string text, SanParts& parts) {
    if (!text.empty() && (text.back() == '+' || text.back() == '#')) {
        parts.mark = text.back();
        text.pop_back();
    }
    if (text == "O-O" || text == "O-O-O") {
        parts.castling = text == "O-O" ? 1 : -1;
        return "";
    }
    if (text.find('=') != std::string::npos) return promotionRefused;
    std::size_t p = 0;
    if (!text.empty() && typeOfLetter(text[0]) != 0) {
        parts.type = typeOfLetter(text[0]);
        p = 1;
    }
    if (text.size() < p + 2) return notNotation;
    const std::size_t destination = text.size() - 2;
    if (!isFileLetter(text[destination]) || !isRankDigit(text[destination + 1])) return notNotation;
    parts.to = 10 * (text[destination + 1] - '0') + (text[destination] - 'a' + 1);

    std::size_t end = destination;
    if (end > p && text[end - 1] == 'x') {
        parts.capture = true;
        --end;
    }
    if (p < end && isFileLetter(text[p])) parts.fromFile = text[p++] - 'a' + 1;
    if (p < end && isRankDigit(text[p])) parts.fromRank = text[p++] - '0';
    if (p != end) return notNotation;

    if (parts.type == pawn) {
        const bool namesFile = parts.fromFile != noPart;
        if (parts.fromRank != noPart || namesFile != parts.capture) return notNotation;
        if (parts.capture && std::abs(parts.fromFile - fileOf(parts.to)) != 1) return notNotation;
        if (!parts.capture) parts.fromFile = fileOf(parts.to);
    }
    return "";
}

bool isLegal(posicion& board, int side, int from, int to, bool& promotes) {
    vju checker;
    const int legal = checkUserMove(checker, board, from, to, side);
    promotes = legal && checker.promotion;
    return legal != 0;
}

std::string squareList(const Move* moves, int count) {
    std::string names;
    for (int i = 0; i < count; ++i) names += (i > 0 ? " and " : "") + squareName(moves[i].from);
    return names;
}

// The one legal move that the parts name, or why there is none.
std::string findMove(posicion& board, int side, const SanParts& parts, Move& move) {
    bool promotes = false;
    if (parts.castling != 0) {
        const int home = side == white ? 15 : 85;
        const int k = board.kingSquare[side];
        const int to = k + 2 * parts.castling;
        if (k != home || !isLegal(board, side, k, to, promotes)) return "castling is not legal here";
        move = {k, to};
        return "";
    }

    Move found[2];
    int count = 0;
    const int piece = pieceCode(side, parts.type);
    for (int from = firstSquare; from <= lastSquare; ++from) {
        if (!onBoard[from] || board.squares[from] != piece) continue;
        if (parts.fromFile != noPart && fileOf(from) != parts.fromFile) continue;
        if (parts.fromRank != noPart && rankOf(from) != parts.fromRank) continue;
        // A king's two-square step is castling, written O-O or O-O-O.
        if (parts.type == king && std::abs(parts.to - from) == 2) continue;
        bool thisPromotes = false;
        if (!isLegal(board, side, from, parts.to, thisPromotes)) continue;
        if (count < 2) found[count] = {from, parts.to};
        ++count;
        promotes = promotes || thisPromotes;
    }
    if (count == 0) return "no legal move fits";
    if (count > 1) return "ambiguous: the pieces on " + squareList(found, 2) + " can both go there";
    if (promotes) return promotionRefused;
    move = found[0];

    const bool takes = board.squares[move.to] != 0 || (parts.type == pawn && fileOf(move.from) != fileOf(move.to));
    if (takes && !parts.capture) return "takes a piece but lacks the capture mark x";
    if (!takes && parts.capture) return "marked as a capture but takes nothing";
    return "";
}

}  // namespace

bool hasLegalMove(posicion& board, int side) {
    bool promotes = false;
    for (int from = firstSquare; from <= lastSquare; ++from) {
        const int piece = board.squares[from];
        if (!onBoard[from] || piece == 0 || sideOf(piece) != side) continue;
        for (int to = firstSquare; to <= lastSquare; ++to)
            if (onBoard[to] && to != from && isLegal(board, side, from, to, promotes)) return true;
    }
    return false;
}

std::string readSanMove(posicion& board, int side, const std::string& text, Move& move) {
    SanParts parts;
    std::string fault = splitSan(text, parts);
    if (fault.empty()) fault = findMove(board, side, parts, move);
    if (!fault.empty()) return fault;

    // The check mark must tell the truth about the position after the move.
    posicion after = board;
    makeMove(after, move.from, move.to, side);
    const int opponent = 1 - side;
    const bool check = isAttacked(after, after.kingSquare[opponent], side) != 0;
    const char deserved = !check ? 0 : hasLegalMove(after, opponent) ? '+' : '#';
    if (parts.mark == deserved) return "";
    if (deserved == 0) return std::string("marked '") + parts.mark + "' but gives no check";
    if (parts.mark == 0) {
        return std::string("gives ") + (deserved == '#' ? "mate" : "check") + " but lacks '" + deserved + "'";
    }
    return std::string("marked '") + parts.mark + "' but deserves '" + deserved + "'";
}

}  // namespace zarvi
