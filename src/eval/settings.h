// Program-wide settings with their defaults. The style file sets some of
// them at start-up, the option dialogs and the level menu others; the
// evaluation, the search and the game read them.
#pragma once

namespace zarvi {

constexpr int evalWeightCount = 14;
constexpr int neutralWeight = 30;
constexpr int deepestIteration = 24;
constexpr int minHashSizeFactor = 1;
constexpr int maxHashSizeFactor = 8000;

struct Settings {
    // 0 Spanish, 1 English: the language of every text the user sees.
    int language = 1;
    int useBook = 1;
    int positionalKnowledge = 1;
    int selectivity = 1;
    int canResign = 1;
    int resignThreshold = -1500;
    int showThinking = 1;
    int showGrid = 1;
    int hashSizeFactor = 8;
    int levelSeconds = 5;
    // Weights of the fourteen evaluation terms, 1-based as the style file
    // counts them; 30 is neutral, range 0..100.
    int evalWeights[evalWeightCount + 1] = {0, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30};
    // The search depth: free (iterations up to maxDepth, the clock may stop
    // from minStopDepth on) or fixed, when the clock never cuts a search.
    int fixedDepth = 0;
    int maxDepth = deepestIteration;
    int minStopDepth = 4;
    int depthFromStyle = 0;
};

extern Settings settings;

// 0 frees the depth; 1..24 fixes it (values outside are clamped).
void setDepthLimit(int depth);

}  // namespace zarvi
