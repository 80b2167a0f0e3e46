#include "eval/settings.h"

#include <algorithm>

namespace zarvi {

Settings settings;

void setDepthLimit(int depth) {
    if (depth == 0) {
        settings.fixedDepth = 0;
        settings.minStopDepth = 4;
        settings.maxDepth = deepestIteration;
        return;
    }
    const int d = std::clamp(depth, 1, deepestIteration);
    settings.fixedDepth = 1;
    settings.minStopDepth = d + 1;
    settings.maxDepth = d;
}

}  // namespace zarvi
