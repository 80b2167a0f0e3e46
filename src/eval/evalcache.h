// The evaluation cache: the positional score of both sides of recently
// evaluated positions, as parallel arrays. The node search computes the
// slot (key1 modulo the size) before it calls the evaluation, which alone
// reads and writes the cache.
#pragma once

#include <cstdint>

namespace zarvi {

constexpr int evalEntriesPerFactor = 61957;
constexpr uint16_t absentValue = 65535;  // a side's value not stored

struct EvaluationCache {
    int size = 0;
    uint32_t* checkWord = nullptr;  // key2; all bits set when empty
    uint16_t* checkHalf = nullptr;  // key3
    uint16_t* value[2] = {};        // white's and black's, as signed 16 bits
};

extern EvaluationCache evaluationCache;

// false if the memory is not there (nothing is then allocated).
bool allocateEvaluationCache(int factor);
void freeEvaluationCache();

}  // namespace zarvi
