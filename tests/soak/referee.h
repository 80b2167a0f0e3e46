// The soak test's judge: its own copy of the game, played from the moves it
// accepts, which decides whether a move is legal and whether the game is
// over without trusting the position of the game or engine it watches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/posicion.h"
#include "board/types.h"
#include "search/buscador.h"

namespace zarvi::soak {

// The rules that end a game by themselves, as the referee sees them.
enum class Rule { none, mate, stalemate, repetition, fiftyMoves, insufficientMaterial };

class Referee {
public:
    // lists: a searcher whose ply 0 and 1 move lists the referee may fill
    // between searches.
    explicit Referee(buscador& searcher) : lists(searcher) { reset(); }

    // The initial position, no moves.
    void reset();
    // Every legal move of the side to move, by the engine's generator.
    const std::vector<Move>& legalMoves();
    // The move is in the generated list and the user-move checker, written
    // separately piece by piece, accepts it too, promotion included.
    bool isLegal(const Move& move);
    void play(const Move& move);

    // Would the move leave the opponent a legal move, and enough material
    // to mate? The long games use it to keep going.
    bool keepsGameOpen(const Move& move);
    // Would the move reach a position that has stood before in this game?
    bool repeatsPosition(const Move& move) const;

    // The rule that ends the game here. countStart false leaves the
    // initial position out of repetitions, as the game object does.
    Rule rule(bool countStart);
    int repetitions(bool countStart) const;
    bool inCheck() const;
    bool insufficientMaterial() const;

    // A pawn leaving its seventh rank carries a promotion code (8 * d + type)
    // in place of its destination square.
    bool promotes(const Move& move) const;
    int destination(const Move& move) const;
    bool captures(const Move& move) const;

    std::string text(const Move& move) const;
    // The move of a long algebraic text, {0, 0} if it names none.
    Move parse(const std::string& text) const;
    // The moves so far, as a UCI position command lists them.
    std::string movesText() const;
    std::string fen() const;

    posicion board;
    int side = white;
    int fullmove = 1;
    int plies = 0;

private:
    static uint64_t keyOf(const posicion& p) { return (uint64_t(p.key2) << 16) | p.key3; }

    buscador& lists;
    std::vector<uint64_t> keys;  // entry i: the position after ply i
    std::vector<std::string> texts;
    std::vector<Move> legal;
    bool legalKnown = false;
};

const char* ruleName(Rule rule);

}  // namespace zarvi::soak
