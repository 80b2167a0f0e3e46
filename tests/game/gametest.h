// The fixture of the game tests: a whole game (EngineTest) that enters
// moves written as e2e4 for either side, takes a snapshot of everything the
// game is, and reads its book from a file written for the test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/engine.h"

namespace zarvi::test {

// The board, the history and the keys, for comparison of two games.
struct GameSnapshot {
    std::string board;
    int moveCount;
    std::vector<Move> moves;        // plies 1..moveCount
    std::vector<uint32_t> keys2;    // positions 0..moveCount
    std::vector<uint16_t> keys3;
};

bool operator==(const GameSnapshot& a, const GameSnapshot& b);
inline bool operator!=(const GameSnapshot& a, const GameSnapshot& b) { return !(a == b); }
std::ostream& operator<<(std::ostream& out, const GameSnapshot& snapshot);

class GameTest : public EngineTest {
protected:
    void TearDown() override;

    // Enters the moves as user moves, side first and then alternating; a
    // promotion becomes a queen, as the front end makes it. Fails the test
    // on a refusal. Returns the side to move afterwards.
    int play(int side, const std::vector<std::string>& moves);
    // The first plies of 1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 ... from the start;
    // returns the side to move.
    int knightDance(int plies);

    GameSnapshot snapshot() const;
    std::vector<Move> legalMoves(int side);
    bool inCheck(int side) const;

    // The book entry for the game's current position with these moves.
    std::string entryHere(const std::string& moves) const;
    // The game reads its book from text, the book on and the draw fixed at r.
    void useBook(const std::string& text, int r = 0);

    // The front end's sequence after an accepted user move: the endings
    // before the reply, the engine's move, the endings after it.
    Ending respondTo(int userSide);

private:
    std::filesystem::path folder;
    int books = 0;
};

}  // namespace zarvi::test
