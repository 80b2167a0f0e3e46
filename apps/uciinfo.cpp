#include "uciinfo.h"

#include <algorithm>

#include "board/types.h"
#include "search/buscador.h"
#include "ucitext.h"

namespace zarvi {

int mateInMoves(int score, bool lateMates) {
    // A mate at ply p scores mateScore - p; the mating side moves at the
    // odd plies, so the mate is (p + 1) / 2 of its moves away. The
    // threshold itself is a mate at ply 50, not a late mate at the root.
    if (score >= mateThreshold && score <= mateScore) return (mateScore - score + 1) / 2;
    if (lateMates && score > mateThreshold - maxPly && score < mateThreshold) return (mateThreshold - score + 1) / 2;
    if (score <= -mateThreshold && score >= -mateScore) return -((mateScore + score + 1) / 2);
    return 0;
}

std::string uciScore(int score, bool lateMates) {
    const int moves = mateInMoves(score, lateMates);
    // Mated at once (-mateScore) is a mate of distance 0.
    if (moves != 0 || score == -mateScore) return "mate " + std::to_string(moves);
    return "cp " + std::to_string(score * 100 / unitsPerPawn);
}

std::string infoLine(const ThinkingReport& report) {
    std::string line = "info depth " + std::to_string(report.depth) + " seldepth " + std::to_string(report.selDepth);
    if (report.line > 0) line += " multipv " + std::to_string(report.line);
    line += " score " + uciScore(report.score, report.lateMates);
    if (report.lowerBound) line += " lowerbound";
    if (report.upperBound) line += " upperbound";
    line += progressLine(report).substr(4);
    if (!report.variation.empty()) line += " pv " + report.variation;
    return line;
}

std::string progressLine(const ThinkingReport& report) {
    const int64_t nps = report.nodes * 1000 / std::max<int64_t>(report.milliseconds, 1);
    return "info nodes " + std::to_string(report.nodes) + " nps " + std::to_string(nps) + " hashfull " +
           std::to_string(report.hashFull) + " time " + std::to_string(report.milliseconds);
}

std::string variationMoves(const char* text) {
    const std::vector<std::string> words = splitWords(text);
    const size_t end = !words.empty() && words.back() == "." ? words.size() - 1 : words.size();
    return joinWords(words, 0, end);
}

}  // namespace zarvi
