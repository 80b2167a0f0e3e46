// Hash key tables. A position's key is the XOR of the keys of its pieces and
// of a few state features, in three words: key1 picks table slots, key2 and
// key3 identify the position. Opening books store key2 and key3 in decimal,
// so the tables must be generated exactly as generateKeys() does.
#pragma once

#include <cstdint>

#include "board/types.h"

namespace zarvi {

// [side][square][slot]: slots 1..6 are piece types; slot 0 and border
// squares carry the state features named below.
extern uint32_t keyTableA[2][squareCount][7];
extern uint32_t keyTableB[2][squareCount][7];
extern uint16_t keyTableC[2][squareCount][7];

struct HashKey {
    uint32_t key1;
    uint32_t key2;
    uint16_t key3;
};

// Black to move.
extern HashKey sideKey;

// Where the state features live in the tables.
constexpr int castlingKeySquare = 80;
constexpr int longCastlingSlot = 0;
constexpr int shortCastlingSlot = 2;
constexpr int sideKeySquare = 50;

void generateKeys();

}  // namespace zarvi
