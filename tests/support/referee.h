// The tests' judge of a game: its own copy of the position, played from the
// moves it accepts, that decides by the user-move checker (written against
// the rules piece by piece, not by the engine's generators) which moves are
// legal and whether the game is over, and writes and reads moves itself.
// The game and UCI tests, the uci fuzz target and the soak test judge by it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/vju.h"

namespace zarvi::test {

class Referee {
public:
    Referee() { setUp("startpos"); }
    // A game from start with mover to move and no moves before.
    Referee(const posicion& start, int mover) : board(start), side(mover), keys{keyOf(start)} {}

    // fen ("startpos" for the initial position) and then the moves in long
    // algebraic notation; false if the FEN or a move is refused.
    bool setUp(const std::string& fen, const std::vector<std::string>& moves = {}) {
        FenGame game{};
        if (!readFen(board, fen == "startpos" ? startFen : fen, game).empty()) return false;
        *this = Referee(board, game.sideToMove);
        fullmove = game.fullmoveNumber;
        for (const std::string& t : moves) {
            if (parse(t).from == 0) return false;
            play(parse(t));
        }
        return true;
    }

    // In the engine's encoding: a pawn leaving its seventh rank carries a
    // promotion code (8 * d + type), one for each of the four pieces.
    const std::vector<Move>& legalMoves() {
        for (int from = 11; !legalKnown && from <= 88; ++from) {
            for (int to = 11; to <= 88 && board.squares[from] != 0 && sideOf(board.squares[from]) == side; ++to) {
                vju checker;
                if (fileOf(to) < 1 || fileOf(to) > 8 || !checkUserMove(checker, board, from, to, side)) continue;
                if (!checker.promotion) legal.push_back({from, to});
                for (int type = knight; checker.promotion && type <= queen; ++type)
                    legal.push_back({from, promotionCode(fileOf(to) - fileOf(from) + 1, type)});
            }
        }
        legalKnown = true;
        return legal;
    }
    bool isLegal(const Move& move) {
        return std::find(legalMoves().begin(), legalMoves().end(), move) != legalMoves().end();
    }
    bool isLegal(const std::string& text) { return isLegal(parse(text)); }

    void play(const Move& move) {
        texts.push_back(text(move));
        makeMove(board, move.from, move.to, side);
        fullmove += side;
        side = 1 - side;
        keys.push_back(keyOf(board));
        legal.clear();
        legalKnown = false;
    }

    int plies() const { return int(keys.size()) - 1; }
    bool inCheck() const { return isAttacked(board, board.kingSquare[side], 1 - side) != 0; }
    // Bare kings, or a single knight or bishop.
    bool insufficientMaterial() const {
        int minors = 0;
        for (int type, square = 11; square <= 88; ++square) {
            if ((type = typeOf(board.squares[square])) == pawn || type == rook || type == queen) return false;
            minors += type == knight || type == bishop;
        }
        return minors <= 1;
    }
    // How often the position after the moves so far and then the move has
    // stood with the same side to move, the initial position counted or not.
    int repetitions(bool countStart, Move move = {0, 0}) const {
        posicion after = board;
        if (move.from) makeMove(after, move.from, move.to, side);
        int n = 0;
        for (int i = plies() + (move.from != 0); i >= (countStart ? 0 : 1); i -= 2)
            n += (i > plies() ? keyOf(after) : keys[size_t(i)]) == keyOf(after);
        return n;
    }

    bool promotes(const Move& move) const {
        return typeOf(board.squares[move.from]) == pawn && rankOf(move.from) == (side == white ? 7 : 2);
    }
    int destination(const Move& move) const {
        return promotes(move) ? promotionDestination(move.from, move.to, side) : move.to;
    }
    // Long algebraic text (e2e4, e7e8q); parse gives {0, 0} unless the text
    // names a legal move.
    std::string text(const Move& move) const {
        const int to = destination(move);
        const std::string t{char('a' + fileOf(move.from) - 1), char('0' + rankOf(move.from)),
                            char('a' + fileOf(to) - 1), char('0' + rankOf(to))};
        return promotes(move) ? t + "??nbrq"[move.to & 7] : t;
    }
    Move parse(const std::string& t) {
        for (const Move& move : legalMoves())
            if (text(move) == t) return move;
        return {0, 0};
    }
    // The moves so far, as a UCI position command lists them.
    std::string movesText() const {
        std::string line;
        for (const std::string& t : texts) line += (line.empty() ? "" : " ") + t;
        return line;
    }
    std::string fen() const { return writeFen(board, FenGame{side, fullmove}); }

    posicion board;
    int side = white, fullmove = 1;

private:
    static uint64_t keyOf(const posicion& p) { return (uint64_t(p.key2) << 16) | p.key3; }

    std::vector<uint64_t> keys;  // entry i: the position after ply i
    std::vector<std::string> texts;
    std::vector<Move> legal;
    bool legalKnown = false;
};

// The move of a "bestmove" line, "" when the line is something else.
inline std::string bestMoveOf(const std::string& line) {
    return line.rfind("bestmove ", 0) == 0 ? line.substr(9, line.find(' ', 9) - 9) : "";
}

// The number after " name " in an info line, -1 without one.
inline long long infoField(const std::string& line, const std::string& name) {
    const size_t at = line.find(" " + name + " ");
    return at == std::string::npos ? -1 : std::stoll(line.substr(at + name.size() + 2));
}

// The last of the answers names a best move legal after the moves from fen.
inline bool answersLegally(const std::vector<std::string>& answers, const std::string& fen = "startpos",
                           const std::vector<std::string>& moves = {}) {
    Referee referee;
    return !answers.empty() && referee.setUp(fen, moves) && referee.isLegal(bestMoveOf(answers.back()));
}

}  // namespace zarvi::test
