// The record of the game: its moves and the key words of every position.
// Program-wide, because the search writes the keys of its current line
// above the game's last position to find repetitions against the game.
#pragma once

#include <cstdint>

#include "board/types.h"

namespace zarvi {

constexpr int historyCapacity = 999;  // plies a game can hold
constexpr int searchLineRoom = 32;    // keys the search may append

struct GameHistory {
    int moveCount;  // plies played; 0 in the starting position
    Move historyMoves[historyCapacity + 1];  // entry i is ply i; to may be a promotion code
    // key2 and key3 after ply i; entry 0 is the starting position.
    uint32_t historyKey1[historyCapacity + searchLineRoom];
    uint16_t historyKey2[historyCapacity + searchLineRoom];
};

extern GameHistory gameHistory;

}  // namespace zarvi
