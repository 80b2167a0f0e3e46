#include "eval/evalcache.h"

#include <new>

namespace zarvi {

EvaluationCache evaluationCache;

bool allocateEvaluationCache(int factor) {
    freeEvaluationCache();
    EvaluationCache& c = evaluationCache;
    const int size = evalEntriesPerFactor * factor;
    c.checkWord = new (std::nothrow) uint32_t[size];
    c.checkHalf = new (std::nothrow) uint16_t[size];
    c.value[0] = new (std::nothrow) uint16_t[size];
    c.value[1] = new (std::nothrow) uint16_t[size];
    if (!c.checkWord || !c.checkHalf || !c.value[0] || !c.value[1]) {
        freeEvaluationCache();
        return false;
    }
    c.size = size;
    for (int i = 0; i < size; ++i) {
        c.checkWord[i] = 0xFFFFFFFFu;
        c.checkHalf[i] = absentValue;
        c.value[0][i] = absentValue;
        c.value[1][i] = absentValue;
    }
    return true;
}

void freeEvaluationCache() {
    EvaluationCache& c = evaluationCache;
    delete[] c.checkWord;
    delete[] c.checkHalf;
    delete[] c.value[0];
    delete[] c.value[1];
    c = EvaluationCache{};
}

}  // namespace zarvi
