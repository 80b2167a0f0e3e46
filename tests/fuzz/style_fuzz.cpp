// The style file over arbitrary text, read from a file as at start-up and
// applied straight from memory: every setting it reaches lands inside the
// range its rule gives, and the settings it never touches keep their values.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "eval/settings.h"
#include "fuzzcheck.h"
#include "game/stylefile.h"

using namespace zarvi;

void checkSettings(const std::string& text) {
    const Settings& s = settings;
    const Settings d;
    const bool depthFree = s.fixedDepth == 0 && s.maxDepth == 24 && s.minStopDepth == 4 && s.depthFromStyle == 0;
    const bool depthFixed = s.fixedDepth == 1 && s.maxDepth >= 1 && s.maxDepth <= 24 &&
                            s.minStopDepth == s.maxDepth + 1 && s.depthFromStyle == 1;
    bool weights = s.evalWeights[0] == 0;
    for (int j = 1; j <= 14; ++j) weights = weights && s.evalWeights[j] >= 0 && s.evalWeights[j] <= 100;
    fuzz::require(s.hashSizeFactor >= 1 && s.hashSizeFactor <= 8000 && (s.useBook == 0 || s.useBook == 1) &&
                      (s.canResign == 0 || s.canResign == 1) && s.resignThreshold <= 0 && s.resignThreshold % 250 == 0 &&
                      (depthFree || depthFixed) && weights,
                  "a setting out of the range its rule gives", text);
    fuzz::require(s.language == d.language && s.positionalKnowledge == d.positionalKnowledge &&
                      s.selectivity == d.selectivity && s.showThinking == d.showThinking && s.showGrid == d.showGrid &&
                      s.levelSeconds == d.levelSeconds,
                  "a setting the style file does not hold changed", text);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("zarvi-style-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    fuzz::require(file != nullptr, "cannot write the style file", path);
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    settings = Settings{};
    fuzz::require(readStyleFile(path.c_str()), "the style file written cannot be read", path);
    checkSettings(text);
    settings = Settings{};
    applyStyleText(text.data(), int(text.size()));
    checkSettings(text);
    std::remove(path.c_str());
    return 0;
}
