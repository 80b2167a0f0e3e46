// The search's tuned numbers in one place: margins of the pruning and
// extension rules, aspiration windows and the clock's stop rules.
#pragma once

namespace zarvi {

// Piece class by type, for capture ordering: queen and king 0, rook 1,
// knight and bishop 2, pawn and empty 3.
inline constexpr int pieceClass[8] = {3, 3, 2, 2, 1, 0, 0, 3};

// By remaining depth 0..4: the estimate must beat beta by the margin for
// the threat test to run, and by the allowance plus the largest threat for
// the node to be cut without searching.
inline constexpr int threatMargin[5] = {0, -7, 25, 25, 140};
inline constexpr int threatAllowance[5] = {0, 125, 165, 360, 400};
// A quiet move cannot lift a node whose estimate trails best by this much.
inline constexpr int quietFutilityMargin[5] = {0, 180, 1100, 2180, 3180};
constexpr int futilityDepthLimit = 5;          // futility nodes have r below it
constexpr int nullMoveShallowMargin = 25;      // r of 2 or 3 needs e >= beta + 25
constexpr int zeroWindowHashMargin = 60;       // exact hash one ply short, wide window
constexpr int zeroWindowEstimateMargin = 100;  // best already 100 above the estimate
constexpr int captureFutilityBase = 555;
constexpr int captureFutilityMargin = 780;
constexpr int depthFutilityUnit = 1000;
constexpr int postponedFutilityMargin = 50;
constexpr int markedNodeHopeless = 1000;       // a mark is dropped when m + this <= alpha

// Quiescence: how far beyond the depth limit captures are searched, and
// the margins of stand-pat and delta pruning.
constexpr int quiescencePlies = 8;
constexpr int deepestPly = 31;
constexpr int hopelessMargin = 1000;
constexpr int deltaMargin = 200;

// Root: aspiration windows and the widening steps after a fail.
constexpr int aspirationMiddlegame = 63;       // first move, both sides >= 19 units
constexpr int aspirationOthersMiddlegame = 65;
constexpr int aspirationEndgame = 55;
constexpr int middlegameUnits = 19;
constexpr int widenStep = 74;
constexpr int widenFar = 350;
constexpr int widenOthersFar = 300;
constexpr int fullWindow = 30000;
// The clock may end an iteration only while the score has not dropped by
// more than this from the previous iteration.
constexpr int scoreDropAllowance = 87;
// A new iteration starts only while less than 69 % of the budget is used.
constexpr int newIterationPercent = 69;

// The message poll: every this many nodes until the first measurement.
constexpr int initialPollInterval = 5000;
// A helper thread looks at its stop flag every this many nodes, well under
// a millisecond's worth.
constexpr int helperPollInterval = 1024;

}  // namespace zarvi
