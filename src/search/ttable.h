// The transposition table: what earlier searches learnt about positions,
// as one array of packed entries of narrow fields (13 bytes each). key1
// picks the slot, key2 and key3 verify it. The node searches probe and
// store inline through the two helpers below; the thinking display only
// reads.
//
// A search on several threads shares the one table without locks: two
// threads may write one entry at once, and a probe may read an entry that
// another thread is writing, so that its fields come from two positions.
// Such a torn entry is harmless by design. Every index comes from the
// probing position's own key, never from the entry. A move read from an
// entry is searched only after isPlausibleMove and the king's safety have
// shown it legal in the probing position (or, in check, only when it is
// one of the listed evasions), and the thinking line replays moves on the
// same terms; the move played always comes from the root's list of legal
// moves. A stored score decides a node only when it lies within
// usableScoreLimit, so a torn score can cost some accuracy but never
// makes a mate: a mate is announced only when the search itself reached
// it. The thread sanitizer's reports on the entries are suppressed for
// these reasons, by the names of the functions below.
#pragma once

#include <cstdint>

#include "board/posicion.h"
#include "board/remainder.h"

namespace zarvi {

constexpr int ttEntriesPerFactor = 33000;
constexpr int freeStorePly = 125;      // storePly of an entry free for anyone
constexpr int usableScoreLimit = 19800;  // larger stored scores never cut

enum Bound : int8_t { exactBound = 1, lowerBound = 2, upperBound = 3, emptyBound = 4 };

// One entry: its fields side by side, packed to 13 bytes, so that a probe
// touches one memory line where parallel arrays touched eight.
#pragma pack(push, 1)
struct TableEntry {
    uint32_t checkWord;  // key2; all bits set when empty
    uint16_t checkHalf;  // key3
    int16_t score;       // not adjusted for mate distance
    int8_t depthLeft;    // remaining depth at storage, at least 1
    int8_t bound;
    int8_t from;         // best or refuting move, from 0 for none
    int8_t to;
    int8_t storePly;     // ply of storage, lowered by ageing
};
#pragma pack(pop)
static_assert(sizeof(TableEntry) == 13, "a table entry is 13 bytes");

struct TranspositionTable {
    int size = 0;
    TableEntry* entries = nullptr;
    FastRemainder remainder;

    int indexOf(const posicion& board) const { return int(remainder.of(board.key1)); }
};

extern TranspositionTable transpositionTable;

// Starts loading the entry of board so that the probe, a few steps later,
// finds it in the processor's cache.
inline void prefetchTableEntry(const posicion& board) {
    __builtin_prefetch(&transpositionTable.entries[transpositionTable.indexOf(board)]);
}

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
    p.index = t.indexOf(board);
    const TableEntry& e = t.entries[p.index];
    p.depthDiff = e.depthLeft - r;
    p.mayStore = true;
    p.hit = e.checkWord == board.key2 && e.checkHalf == board.key3;
    if (p.hit) {
        p.bound = e.bound;
        p.score = e.score;
        if (e.from != 0) {
            p.hashFrom = e.from;
            p.hashTo = e.to;
        }
        if (p.depthDiff > 0) p.mayStore = false;
    } else if (p.depthDiff >= 0 && ply > e.storePly) {
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
    TableEntry& e = transpositionTable.entries[p.index];
    e.checkWord = board.key2;
    e.checkHalf = board.key3;
    e.depthLeft = int8_t(r < 1 ? 1 : r);
    e.bound = int8_t(bound);
    e.score = int16_t(score);
    if (bound == upperBound && from == 0) {
        e.from = 0;
    } else {
        e.from = int8_t(from);
        e.to = int8_t(to);
    }
    e.storePly = int8_t(ply);
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
// Permille of the entries in use (not free), judged by the first thousand
// as other engines judge it; read while helper threads may write them.
int tableFullPermille();

}  // namespace zarvi
