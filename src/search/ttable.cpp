#include "search/ttable.h"

#include <new>

namespace zarvi {

TranspositionTable transpositionTable;

namespace {

template <typename T>
bool allocate(T*& array, int size) {
    array = new (std::nothrow) T[size];
    return array != nullptr;
}

template <typename T>
void release(T*& array) {
    delete[] array;
    array = nullptr;
}

}  // namespace

bool allocateTranspositionTable(int factor) {
    freeTranspositionTable();
    TranspositionTable& t = transpositionTable;
    const int size = ttEntriesPerFactor * factor;
    const bool ok = allocate(t.checkWord, size) && allocate(t.checkHalf, size) && allocate(t.score, size) &&
                    allocate(t.depthLeft, size) && allocate(t.bound, size) && allocate(t.from, size) &&
                    allocate(t.to, size) && allocate(t.storePly, size);
    if (!ok) {
        freeTranspositionTable();
        return false;
    }
    t.size = size;
    for (int i = 0; i < size; ++i) {
        t.checkWord[i] = 0xFFFFFFFFu;
        t.checkHalf[i] = 65535;
        t.score[i] = 1;
        t.depthLeft[i] = 0;
        t.bound[i] = emptyBound;
        t.from[i] = 0;
        t.to[i] = 0;
        t.storePly[i] = freeStorePly;
    }
    return true;
}

void freeTranspositionTable() {
    TranspositionTable& t = transpositionTable;
    release(t.checkWord);
    release(t.checkHalf);
    release(t.score);
    release(t.depthLeft);
    release(t.bound);
    release(t.from);
    release(t.to);
    release(t.storePly);
    t.size = 0;
}

void clearTranspositionTable() {
    TranspositionTable& t = transpositionTable;
    for (int i = 0; i < t.size; ++i) {
        t.checkWord[i] = 0xFFFFFFFFu;
        t.storePly[i] = freeStorePly;
    }
}

void ageTranspositionTable(int k) {
    TranspositionTable& t = transpositionTable;
    for (int i = 0; i < t.size; ++i) {
        if (t.storePly[i] == freeStorePly) continue;
        const int8_t aged = int8_t(t.storePly[i] + k);
        t.storePly[i] = aged < 1 ? int8_t(freeStorePly) : aged;
    }
}

}  // namespace zarvi
