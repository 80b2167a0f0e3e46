// The style file over arbitrary text, read from a file as at start-up and
// applied straight from memory: every setting it reaches must land inside
// its range, and the settings it never touches keep their values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fuzzcheck.h"
#include "game/settings.h"
#include "game/stylefile.h"

using namespace zarvi;
using fuzz::require;

namespace {

void checkSettings(const std::string& text) {
    const Settings defaults;
    const Settings& s = settings;
    require(s.hashSizeFactor >= minHashSizeFactor && s.hashSizeFactor <= maxHashSizeFactor, "hash size out of range",
            text);
    require(s.useBook == 0 || s.useBook == 1, "book flag out of range", text);
    require(s.canResign == 0 || s.canResign == 1, "resign flag out of range", text);
    require(s.resignThreshold <= 0 && s.resignThreshold % resignFactor == 0 &&
                s.resignThreshold >= -resignFactor * (styleNumberCeiling / resignFactor),
            "resign threshold out of range", text);
    if (s.fixedDepth == 0) {
        require(s.maxDepth == deepestIteration && s.minStopDepth == defaults.minStopDepth, "free depth misset", text);
    } else {
        require(s.fixedDepth == 1 && s.maxDepth >= 1 && s.maxDepth <= deepestIteration &&
                    s.minStopDepth == s.maxDepth + 1 && s.depthFromStyle == 1,
                "fixed depth out of range", text);
    }
    require(s.evalWeights[0] == 0, "weight 0 written", text);
    for (int j = 1; j <= evalWeightCount; ++j)
        require(s.evalWeights[j] >= 0 && s.evalWeights[j] <= maxWeight, "weight out of range", text);
    require(s.language == defaults.language && s.positionalKnowledge == defaults.positionalKnowledge &&
                s.selectivity == defaults.selectivity && s.showThinking == defaults.showThinking &&
                s.showGrid == defaults.showGrid && s.levelSeconds == defaults.levelSeconds,
            "a setting the style file does not hold changed", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("zarvi-style-fuzz-" + std::to_string(::getpid()) + ".ini"))
            .string();
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "cannot write the style file", path);
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    settings = Settings{};
    require(readStyleFile(path.c_str()), "the style file written cannot be read", path);
    checkSettings(text);

    settings = Settings{};
    applyStyleText(text.data(), int(text.size()));
    checkSettings(text);
    std::remove(path.c_str());
    return 0;
}
