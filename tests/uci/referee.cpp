#include "referee.h"

#include "board/fen.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "board/types.h"
#include "board/vju.h"

namespace zarvi::test {

namespace {

// from -> to (real squares) is legal; promotion tells whether it promotes.
bool checkerAccepts(RefereeGame& game, int from, int to, bool& promotion) {
    vju checker;
    const int legal = checkUserMove(checker, game.board, from, to, game.side);
    promotion = checker.promotion != 0;
    return legal != 0;
}

}  // namespace

bool playMoves(const std::string& fen, const std::vector<std::string>& moves, RefereeGame& game) {
    FenGame fenGame{};
    if (!readFen(game.board, fen == "startpos" ? startFen : fen, fenGame).empty()) return false;
    game.side = fenGame.sideToMove;
    for (const std::string& text : moves) {
        if (!isLegalMove(game, text)) return false;
        int from = 0, to = 0;
        parseMoveText(game.board, game.side, text, from, to);
        makeMove(game.board, from, to, game.side);
        game.side = 1 - game.side;
    }
    return true;
}

bool isLegalMove(RefereeGame& game, const std::string& text) {
    int from = 0, to = 0;
    if (!parseMoveText(game.board, game.side, text, from, to)) return false;
    const bool promotes = text.size() == 5;
    const int destination = promotes ? promotionDestination(from, to, game.side) : to;
    bool promotion = false;
    return checkerAccepts(game, from, destination, promotion) && promotion == promotes;
}

bool hasLegalMove(RefereeGame& game) {
    for (int from = 11; from <= 88; ++from) {
        const int piece = game.board.squares[from];
        if (piece == 0 || sideOf(piece) != game.side) continue;
        for (int to = 11; to <= 88; ++to) {
            bool promotion = false;
            if (to != from && fileOf(to) >= 1 && fileOf(to) <= 8 && checkerAccepts(game, from, to, promotion))
                return true;
        }
    }
    return false;
}

std::string bestMoveOf(const std::string& line) {
    const std::string prefix = "bestmove ";
    if (line.compare(0, prefix.size(), prefix) != 0) return "";
    const std::string rest = line.substr(prefix.size());
    return rest.substr(0, rest.find(' '));
}

}  // namespace zarvi::test
