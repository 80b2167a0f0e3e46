// The transposition table: what earlier searches learnt about positions,
// as parallel arrays of narrow fields (13 bytes an entry). key1 picks the
// slot, key2 and key3 verify it. The node searches probe and store inline
// through the two helpers below; the thinking display only reads.
#pragma once

#include <cstdint>

#include "board/posicion.h"

namespace zarvi {

constexpr int ttEntriesPerFactor = 33000;
constexpr int freeStorePly = 125;      // storePly of an entry free for anyone
constexpr int usableScoreLimit = 19800;  // larger stored scores never cut

enum Bound : int8_t { exactBound = 1, lowerBound = 2, upperBound = 3, emptyBound = 4 };

struct TranspositionTable {
    int size = 0;
    uint32_t* checkWord = nullptr;  // key2; all bits set when empty
    uint16_t* checkHalf = nullptr;  // key3
    int16_t* score = nullptr;       // not adjusted for mate distance
    int8_t* depthLeft = nullptr;    // remaining depth at storage, at least 1
    int8_t* bound = nullptr;
    int8_t* from = nullptr;         // best or refuting move, from 0 for none
    int8_t* to = nullptr;
    int8_t* storePly = nullptr;     // ply of storage, lowered by ageing
};

extern TranspositionTable transpositionTable;

// What a probe found for the node being searched.
struct TableProbe {
    int index;
    bool hit;        // the entry belongs to this position
    int depthDiff;   // depthLeft of the entry minus the node's remaining depth
    int bound;
    int score;
    int hashFrom;    // the entry's move when it hit, else 0
    int hashTo;
    bool mayStore;   // false when the entry is worth more than this node's
};

// Probes for board at a node with remaining depth r (0 or more).
inline TableProbe probeTable(const posicion& board, int ply, int r) {
    const TranspositionTable& t = transpositionTable;
    TableProbe p{};
    p.index = int(board.key1 % uint32_t(t.size));
    p.depthDiff = t.depthLeft[p.index] - r;
    p.mayStore = true;
    p.hit = t.checkWord[p.index] == board.key2 && t.checkHalf[p.index] == board.key3;
    if (p.hit) {
        p.bound = t.bound[p.index];
        p.score = t.score[p.index];
        if (t.from[p.index] != 0) {
            p.hashFrom = t.from[p.index];
            p.hashTo = t.to[p.index];
        }
        if (p.depthDiff > 0) p.mayStore = false;
    } else if (p.depthDiff >= 0 && ply > t.storePly[p.index]) {
        // Another position searched at least as deep nearer the root stays.
        p.mayStore = false;
    }
    return p;
}

// The stored score may decide the node: the entry is this position's, deep
// enough, and not a mate-range score.
inline bool probeScoreUsable(const TableProbe& p) {
    return p.hit && p.depthDiff >= 0 && p.score > -usableScoreLimit && p.score < usableScoreLimit;
}

// Stores a node's result. r is raised to 1; a fail-low result keeps the
// hash move if the node had one, else clears from and leaves to as it was.
inline void storeTable(const TableProbe& p, const posicion& board, int ply, int r, int bound, int score,
                       int from, int to) {
    if (!p.mayStore) return;
    TranspositionTable& t = transpositionTable;
    const int i = p.index;
    t.checkWord[i] = board.key2;
    t.checkHalf[i] = board.key3;
    t.depthLeft[i] = int8_t(r < 1 ? 1 : r);
    t.bound[i] = int8_t(bound);
    t.score[i] = int16_t(score);
    if (bound == upperBound && from == 0) {
        t.from[i] = 0;
    } else {
        t.from[i] = int8_t(from);
        t.to[i] = int8_t(to);
    }
    t.storePly[i] = int8_t(ply);
}

// Allocates the table for a hash size factor; false if the memory is not
// there (nothing is then allocated).
bool allocateTranspositionTable(int factor);
void freeTranspositionTable();
// Every entry empty: no probe can hit a cleared entry.
void clearTranspositionTable();
// Moves every entry's storePly k plies; entries at or before the new root
// become free.
void ageTranspositionTable(int k);

}  // namespace zarvi
