#include "search/ttable.h"

#include <algorithm>
#include <new>

namespace zarvi {

TranspositionTable transpositionTable;

bool allocateTranspositionTable(int factor) {
    freeTranspositionTable();
    TranspositionTable& t = transpositionTable;
    const int size = ttEntriesPerFactor * factor;
    t.entries = new (std::nothrow) TableEntry[size];
    if (!t.entries) return false;
    t.size = size;
    t.remainder = FastRemainder(uint32_t(size));
    for (int i = 0; i < size; ++i) t.entries[i] = TableEntry{0xFFFFFFFFu, 65535, 1, 0, emptyBound, 0, 0, freeStorePly};
    return true;
}

void freeTranspositionTable() {
    TranspositionTable& t = transpositionTable;
    delete[] t.entries;
    t.entries = nullptr;
    t.size = 0;
}

void clearTranspositionTable() {
    TranspositionTable& t = transpositionTable;
    for (int i = 0; i < t.size; ++i) {
        t.entries[i].checkWord = 0xFFFFFFFFu;
        t.entries[i].storePly = freeStorePly;
    }
}

void ageTranspositionTable(int k) {
    TranspositionTable& t = transpositionTable;
    for (int i = 0; i < t.size; ++i) {
        int8_t& storePly = t.entries[i].storePly;
        if (storePly == freeStorePly) continue;
        const int8_t aged = int8_t(storePly + k);
        storePly = aged < 1 ? int8_t(freeStorePly) : aged;
    }
}

int tableFullPermille() {
    const TranspositionTable& t = transpositionTable;
    const int sample = std::min(t.size, 1000);
    int used = 0;
    for (int i = 0; i < sample; ++i) used += t.entries[i].storePly != freeStorePly;
    return sample > 0 ? used * 1000 / sample : 0;
}

}  // namespace zarvi
