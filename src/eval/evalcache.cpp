#include "eval/evalcache.h"

#include <cstddef>
#include <new>

namespace zarvi {

EvaluationCache evaluationCache;

bool allocateEvaluationCache(int factor) {
    freeEvaluationCache();
    EvaluationCache& c = evaluationCache;
    const int size = evalEntriesPerFactor * factor;
    c.entries = new (std::nothrow) EvalCacheEntry[size];
    if (!c.entries) return false;
    c.size = size;
    c.remainder = FastRemainder(uint32_t(size));
    clearEvaluationCache();
    return true;
}

void clearEvaluationCache() {
    EvaluationCache& c = evaluationCache;
    const EvalCacheEntry empty{0xFFFFFFFFu, absentValue, {absentValue, absentValue}};
    for (int i = 0; i < c.size; ++i) c.entries[i] = empty;
}

EvaluationCache cacheShare(const EvaluationCache& whole, int share, int shares) {
    EvaluationCache part;
    part.size = whole.size / shares;
    part.entries = whole.entries + std::size_t(share) * std::size_t(part.size);
    part.remainder = FastRemainder(uint32_t(part.size));
    return part;
}

void freeEvaluationCache() {
    EvaluationCache& c = evaluationCache;
    delete[] c.entries;
    c = EvaluationCache{};
}

}  // namespace zarvi
