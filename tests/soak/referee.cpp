#include "referee.h"

#include <algorithm>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "board/tables.h"
#include "board/vju.h"
#include "eval/movegen.h"

namespace zarvi::soak {

namespace {

// A pawn leaving its seventh rank carries a promotion code, not a square.
bool leavesSeventhRank(const posicion& board, int from) {
    const int piece = board.squares[from];
    return typeOf(piece) == pawn && promotionRank[sideOf(piece)][from];
}

// Bare kings, or one minor piece: counted from the squares, not from the
// position's own material views.
bool tooLittleMaterial(const posicion& board) {
    int minors = 0;
    for (int square = 11; square <= 88; ++square) {
        const int type = typeOf(board.squares[square]);
        if (type == pawn || type == rook || type == queen) return false;
        minors += type == knight || type == bishop;
    }
    return minors <= 1;
}

}  // namespace

void Referee::reset() {
    FenGame game{};
    readFen(board, startFen, game);
    side = game.sideToMove;
    fullmove = game.fullmoveNumber;
    plies = 0;
    keys.assign(1, keyOf(board));
    texts.clear();
    legalKnown = false;
}

const std::vector<Move>& Referee::legalMoves() {
    if (!legalKnown) {
        const int n = listLegalMoves(lists, board, side, 0);
        legal.clear();
        for (int i = 0; i < n; ++i) legal.push_back({lists.fullFrom[0][i], lists.fullTo[0][i]});
        legalKnown = true;
    }
    return legal;
}

bool Referee::isLegal(const Move& move) {
    const std::vector<Move>& moves = legalMoves();
    if (std::find(moves.begin(), moves.end(), move) == moves.end()) return false;
    vju checker;
    return checkUserMove(checker, board, move.from, destination(move), side) &&
           (checker.promotion != 0) == promotes(move);
}

void Referee::play(const Move& move) {
    texts.push_back(text(move));
    makeMove(board, move.from, move.to, side);
    if (side == black) ++fullmove;
    side = 1 - side;
    ++plies;
    keys.push_back(keyOf(board));
    legalKnown = false;
}

bool Referee::keepsGameOpen(const Move& move) {
    posicion after = board;
    makeMove(after, move.from, move.to, side);
    // Ply 1's list: ply 0 holds the referee's own legal moves.
    return listLegalMoves(lists, after, 1 - side, 1) != 0 && !tooLittleMaterial(after);
}

bool Referee::repeatsPosition(const Move& move) const {
    posicion after = board;
    makeMove(after, move.from, move.to, side);
    return std::find(keys.begin(), keys.end(), keyOf(after)) != keys.end();
}

int Referee::repetitions(bool countStart) const {
    int n = 0;
    for (int i = plies; i >= (countStart ? 0 : 1); i -= 2) n += keys[size_t(i)] == keys[size_t(plies)];
    return n;
}

bool Referee::inCheck() const { return isAttacked(board, board.kingSquare[side], 1 - side) != 0; }

bool Referee::insufficientMaterial() const { return tooLittleMaterial(board); }

Rule Referee::rule(bool countStart) {
    if (legalMoves().empty()) return inCheck() ? Rule::mate : Rule::stalemate;
    if (insufficientMaterial()) return Rule::insufficientMaterial;
    if (repetitions(countStart) >= 3) return Rule::repetition;
    if (board.halfmoveClock >= 100) return Rule::fiftyMoves;
    return Rule::none;
}

bool Referee::promotes(const Move& move) const { return leavesSeventhRank(board, move.from); }

int Referee::destination(const Move& move) const {
    return promotes(move) ? promotionDestination(move.from, move.to, side) : move.to;
}

bool Referee::captures(const Move& move) const {
    // A pawn that changes file captures, en passant included.
    const int to = destination(move);
    return board.squares[to] != 0 || (typeOf(board.squares[move.from]) == pawn && fileOf(to) != fileOf(move.from));
}

std::string Referee::text(const Move& move) const { return moveText(board, move.from, move.to); }

Move Referee::parse(const std::string& text) const {
    Move move{0, 0};
    if (!parseMoveText(board, side, text, move.from, move.to)) return {0, 0};
    return move;
}

std::string Referee::movesText() const {
    std::string line;
    for (const std::string& t : texts) line += (line.empty() ? "" : " ") + t;
    return line;
}

std::string Referee::fen() const { return writeFen(board, FenGame{side, fullmove}); }

const char* ruleName(Rule rule) {
    switch (rule) {
        case Rule::mate: return "mate";
        case Rule::stalemate: return "stalemate";
        case Rule::repetition: return "threefold repetition";
        case Rule::fiftyMoves: return "fifty moves";
        case Rule::insufficientMaterial: return "insufficient material";
        case Rule::none: break;
    }
    return "none";
}

}  // namespace zarvi::soak
