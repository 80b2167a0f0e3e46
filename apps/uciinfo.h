// The engine's thinking as UCI info lines: the score in centipawns or as
// moves to mate, and the line that reports an iteration or a new best move
// at the root. The session formats them from the thinking reports.
#pragma once

#include <cstdint>
#include <string>

namespace zarvi {

// The evaluation's pawn in the centipawns other programs count in.
constexpr int unitsPerPawn = 225;

// "cp N" (score * 100 / 225, truncated) or "mate N": moves to the mate,
// negative when the engine is the side being mated. While the engine
// carries out a mate it announced (mateMode), its mates that come on or
// after the announced ply score mateThreshold - ply: with lateMates those
// are mates too.
std::string uciScore(int score, bool lateMates = false);
// The moves to the mate that score means, as uciScore counts them:
// positive when the engine mates, negative when it is mated, 0 no mate.
int mateInMoves(int score, bool lateMates);

struct ThinkingReport {
    int depth = 0;
    int selDepth = 0;
    int line = 0;  // its number among several lines (MultiPV), 0 for one line
    int score = 0;
    bool lateMates = false;
    // The score is only a bound: the first move failed low (upper bound)
    // or a move failed high or is a new best move (lower bound).
    bool lowerBound = false;
    bool upperBound = false;
    int64_t nodes = 0;
    int64_t milliseconds = 0;
    int hashFull = 0;       // permille of the transposition table in use
    std::string variation;  // moves in long algebraic notation, blank-separated
};

// "info depth D seldepth S [multipv I] score X [lowerbound|upperbound]
// nodes N nps R hashfull H time T [pv ...]".
std::string infoLine(const ThinkingReport& report);
// "info nodes N nps R hashfull H time T": the search goes on.
std::string progressLine(const ThinkingReport& report);

// The moves of the thinking display's variation text (a leading blank,
// each move followed by a blank, a closing "."), blank-separated.
std::string variationMoves(const char* text);

}  // namespace zarvi
