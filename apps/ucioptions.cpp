#include "ucioptions.h"

#include <algorithm>

#include "eval/evalcache.h"
#include "eval/settings.h"
#include "search/buscador.h"
#include "search/threads.h"
#include "search/ttable.h"
#include "strength.h"
#include "ucitext.h"

namespace zarvi {

namespace {

constexpr int64_t bytesPerMegabyte = 1024 * 1024;
constexpr int defaultHashMegabytes = 8;

std::string optionLine(const UciOption& o) {
    std::string line = "option name " + std::string(o.name) + " type ";
    switch (o.kind) {
        case OptionKind::spin:
            return line + "spin default " + std::to_string(o.defaultValue) + " min " + std::to_string(o.minimum) +
                   " max " + std::to_string(o.maximum);
        case OptionKind::check: return line + "check default " + (o.defaultValue ? "true" : "false");
        case OptionKind::text: return line + "string default " + o.defaultText;
        case OptionKind::button: return line + "button";
    }
    return line;
}

}  // namespace

const UciOption uciOptions[uciOptionCount] = {
    {"Hash", OptionKind::spin, minHashSizeFactor, maxHashSizeFactor, defaultHashMegabytes, ""},
    {"Clear Hash", OptionKind::button, 0, 0, 0, ""},
    {"Threads", OptionKind::spin, 1, maxThreads, 1, ""},
    {"MultiPV", OptionKind::spin, 1, maxRootLines, 1, ""},
    {"Ponder", OptionKind::check, 0, 1, 0, ""},
    {"Move Overhead", OptionKind::spin, 0, 5000, 10, ""},
    {"UCI_LimitStrength", OptionKind::check, 0, 1, 0, ""},
    {"UCI_Elo", OptionKind::spin, weakestElo, strongestElo, weakestElo, ""},
    {"OwnBook", OptionKind::check, 0, 1, 0, ""},
    {"BookFile", OptionKind::text, 0, 0, 0, "librito.txt"},
    {"Positional Knowledge", OptionKind::check, 0, 1, 1, ""},
    {"Selectivity", OptionKind::check, 0, 1, 1, ""},
    {"Centre Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Passed Pawns Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Pawn Mass Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Pawn Structure Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Knights Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Bishops Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Rooks Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Queens Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"King Safety Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"King Attack Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Misplaced Pieces Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Threats Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Pins Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
    {"Seventh Rank Weight", OptionKind::spin, 0, 100, neutralWeight, ""},
};

int64_t bytesPerHashFactor() { return ttEntriesPerFactor * ttEntryBytes + evalEntriesPerFactor * evalEntryBytes; }

int hashFactorForMegabytes(int64_t megabytes) {
    const int64_t limited = std::clamp<int64_t>(megabytes, 1, maxHashSizeFactor);
    return int(std::clamp<int64_t>(limited * bytesPerMegabyte / bytesPerHashFactor(), minHashSizeFactor,
                                   maxHashSizeFactor));
}

std::vector<std::string> optionLines() {
    std::vector<std::string> lines;
    for (const UciOption& o : uciOptions) lines.push_back(optionLine(o));
    return lines;
}

std::string parseSetOption(const std::vector<std::string>& words, OptionChange& change) {
    if (words.empty() || words[0] != "name") return "setoption needs: name <option> value <value>";
    size_t valueAt = 1;
    while (valueAt < words.size() && words[valueAt] != "value") ++valueAt;
    const std::string name = joinWords(words, 1, valueAt);
    const UciOption* found = std::find_if(std::begin(uciOptions), std::end(uciOptions),
                                          [&](const UciOption& o) { return sameWord(name, o.name); });
    if (found == std::end(uciOptions)) return "unknown option '" + name + "'";
    const UciOption& o = *found;
    if (o.kind == OptionKind::button) {
        change = OptionChange{int(found - std::begin(uciOptions)), 0, ""};
        return "";
    }
    if (valueAt + 1 >= words.size()) return std::string(o.name) + " needs a value";
    const std::string value = joinWords(words, valueAt + 1, words.size());

    OptionChange read;
    read.option = int(found - std::begin(uciOptions));
    switch (o.kind) {
        case OptionKind::spin:
            if (!readInteger(value, read.value) || read.value < o.minimum || read.value > o.maximum)
                return std::string(o.name) + " must be a whole number from " + std::to_string(o.minimum) + " to " +
                       std::to_string(o.maximum) + ", not '" + value + "'";
            break;
        case OptionKind::check:
            if (sameWord(value, "true")) {
                read.value = 1;
            } else if (sameWord(value, "false")) {
                read.value = 0;
            } else {
                return std::string(o.name) + " must be true or false, not '" + value + "'";
            }
            break;
        case OptionKind::text: read.text = value; break;
        case OptionKind::button: break;
    }
    change = read;
    return "";
}

}  // namespace zarvi
