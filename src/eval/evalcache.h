// The evaluation cache: the positional score of both sides of recently
// evaluated positions, one packed entry each. The node search computes the
// slot (key1 modulo the size) before it calls the evaluation, which alone
// reads and writes the cache.
#pragma once

#include <cstdint>

#include "board/remainder.h"

namespace zarvi {

constexpr int evalEntriesPerFactor = 61957;
constexpr uint16_t absentValue = 65535;  // a side's value not stored

// One entry, packed to 10 bytes: a lookup reads one memory line.
#pragma pack(push, 1)
struct EvalCacheEntry {
    uint32_t checkWord;  // key2; all bits set when empty
    uint16_t checkHalf;  // key3
    uint16_t value[2];   // white's and black's, as signed 16 bits
};
#pragma pack(pop)
static_assert(sizeof(EvalCacheEntry) == 10, "an evaluation-cache entry is 10 bytes");

struct EvaluationCache {
    int size = 0;
    EvalCacheEntry* entries = nullptr;
    FastRemainder remainder;

    int indexOf(uint32_t key1) const { return int(remainder.of(key1)); }
};

extern EvaluationCache evaluationCache;

// Starts loading the entry of a position ahead of its use.
inline void prefetchEvalCacheEntry(const EvaluationCache& cache, uint32_t key1) {
    __builtin_prefetch(&cache.entries[cache.indexOf(key1)]);
}

// One entry holds both sides of one position. True, with the value, when
// the entry holds side s of the position with these key words; otherwise
// the entry is about to be taken over by the position, and its value for
// the other side is marked absent unless it is this position's. A value of
// 65535 is absent, so a score of -1 is never served and always recomputed.
inline bool probeEvalCache(EvalCacheEntry& entry, uint32_t key2, uint16_t key3, int s, int& value) {
    if (entry.checkWord == key2 && entry.checkHalf == key3) {
        if (entry.value[s] == absentValue) return false;
        value = int16_t(entry.value[s]);
        return true;
    }
    entry.value[1 - s] = absentValue;
    return false;
}

inline void storeEvalCache(EvalCacheEntry& entry, uint32_t key2, uint16_t key3, int s, int value) {
    entry.checkWord = key2;
    entry.checkHalf = key3;
    entry.value[s] = uint16_t(value);
}

// Share `share` of `shares` equal parts of the cache, a cache of its own
// over its own entries. The threads of one search each evaluate through
// their own share: none writes an entry another reads, and together they
// take the memory of the one cache. (Measured on two threads at depth 9,
// three runs in turn: the bench took 23.1 s with a share each, 26.0 s
// with one cache shared, its entries bouncing between the cores.)
EvaluationCache cacheShare(const EvaluationCache& whole, int share, int shares);

// false if the memory is not there (nothing is then allocated).
bool allocateEvaluationCache(int factor);
void freeEvaluationCache();
// Every entry empty.
void clearEvaluationCache();

}  // namespace zarvi
