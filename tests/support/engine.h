// A fixture with a whole game and its engine for the search and game
// tests: the book off, the smallest tables, settings and the clock
// restored after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "eval/settings.h"
#include "game/cable.h"

namespace zarvi::test {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The game set to a FEN with an empty history; returns the side to move.
    int setPosition(const char* fen);
    // A fixed-depth search from fresh tables for side in the game position.
    void searchAtDepth(int side, int depth);
    // Enters the blank-separated moves (e2e4) as user moves, side first and
    // then alternating; a promotion becomes a queen, as the window makes it.
    // Fails the test on a refusal; returns the side to move afterwards.
    int play(int side, const std::string& moves);

    buscador& searcher() { return *game->searcher; }
    std::unique_ptr<cable> game;

private:
    Settings saved = settings;
};

}  // namespace zarvi::test
