#include "search/buscador.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "board/tables.h"
#include "eval/evalcache.h"
#include "eval/settings.h"
#include "search/ttable.h"

namespace zarvi {

char statusText[statusTextLength + 1];

namespace {

// Bytes of both tables for a factor.
constexpr size_t bytesPerFactor =
    size_t(ttEntriesPerFactor) * sizeof(TableEntry) + size_t(evalEntriesPerFactor) * sizeof(EvalCacheEntry);

// Whether one block of the tables' whole size can be had: a cheap test that
// spares filling a table only to find that the other does not fit.
bool tablesFit(int factor) {
    char* block = new (std::nothrow) char[bytesPerFactor * size_t(factor)];
    delete[] block;
    return block != nullptr;
}

bool allocateSearchTables(int factor) {
    if (!tablesFit(factor) || !allocateTranspositionTable(factor)) return false;
    if (allocateEvaluationCache(factor)) return true;
    freeTranspositionTable();
    return false;
}

}  // namespace

buscador::buscador() {
    std::memcpy(statusText, settings.language == 1 ? "Ready!" : "Listo!", 6);

    int factor = settings.hashSizeFactor;
    if (factor < minHashSizeFactor) factor = minHashSizeFactor;
    if (factor > maxHashSizeFactor) factor = maxHashSizeFactor;
    while (!allocateSearchTables(factor)) {
        // Without even the smallest tables there is nothing to search with.
        if (factor == minHashSizeFactor) std::abort();
        factor /= 2;
    }
    hashFactorInUse = factor;

    buildTables();
    setter.setStartPosition(displayBoard);
    setter.setStartPosition(workBoard);
}

buscador::buscador(int index, const std::atomic<bool>& stop) : helperIndex(index), stopSignal(&stop) {
    pollInterval = helperPollInterval;
    setter.setStartPosition(displayBoard);
    setter.setStartPosition(workBoard);
}

void resetSearch(buscador& searcher) {
    searcher.mateMode = 0;
    searcher.resignRequest = 0;
    searcher.searchedHistoryLength = 1;
    clearSearchTables(searcher);
}

void clearSearchTables(buscador& searcher) {
    std::memset(searcher.killers, 0, sizeof searcher.killers);
    clearTranspositionTable();
}

void freeSearchTables() {
    freeTranspositionTable();
    freeEvaluationCache();
}

void noteKiller(buscador& searcher, int from, int to, int ply) {
    Move* slot = searcher.killers[ply];
    const Move move{from, to};
    if (move == slot[2]) {
        slot[2] = slot[1];
        slot[1] = slot[0];
        slot[0] = move;
    } else if (move == slot[1]) {
        slot[1] = slot[0];
        slot[0] = move;
    } else if (!(move == slot[0])) {
        slot[2] = slot[1];
        slot[1] = move;
    }
}

void shiftKillers(buscador& searcher) {
    for (int p = 1; p <= settings.maxDepth - 3; ++p)
        for (int k = 0; k < killerSlots; ++k)
            if (searcher.killers[p + 2][k].from != 0) searcher.killers[p][k] = searcher.killers[p + 2][k];
}

}  // namespace zarvi
