#include "board/attacks.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "eval/endgame.h"
#include "eval/evalcache.h"
#include "eval/evaltables.h"
#include "eval/evaluate.h"
#include "eval/material.h"
#include "eval/movegen.h"
#include "eval/settings.h"
#include "platform/platform.h"
#include "search/search.h"
#include "search/ttable.h"
#include "search/tuning.h"

namespace zarvi {

namespace {

inline int valueOf(int piece) { return materialValue[piece]; }

inline int classOfSquare(const posicion& board, int square) { return pieceClass[typeOf(board.squares[square])]; }

inline bool isPawnPromotion(const posicion& board, int side, int from) {
    return board.squares[from] == pieceCode(side, pawn) && promotionRank[side][from];
}

// The score of a child in the window (lo, hi), from side's point of view.
inline int searchChild(buscador& searcher, posicion& board, int side, int ply, int depth, int from, int to,
                       int lo, int hi, int extensions) {
    makeMove(board, from, to, side);
    const int score = -searchNode(searcher, board, 1 - side, ply + 1, depth, -lo, -hi, extensions);
    unmakeMove(board, to, from, side);
    return score;
}

bool hasPieceOnPawnAttackedSquare(const posicion& board, int side) {
    const int opponent = 1 - side;
    for (int type : {queen, knight, bishop, rook}) {
        const int* list = board.pieceList(side, type);
        for (int i = 1; i <= list[0]; ++i)
            if (board.pawnAttacks[opponent][list[i]]) return true;
    }
    return false;
}

// A rook in its corner with the knight's square filled, facing a queen on
// the long diagonal or a bishop behind it: the classic corner mates.
bool cornerPattern(const posicion& board, int side, int corner, int beside, int diagonalStep) {
    const int opponent = 1 - side;
    if (board.squares[corner] != pieceCode(side, rook) || board.squares[beside] == 0) return false;
    const int first = corner + diagonalStep, second = first + diagonalStep;
    const int guard = board.squares[second];
    if (board.squares[first] == pieceCode(opponent, queen) && guard != pieceCode(side, bishop) &&
        guard != pieceCode(side, queen) && board.pawnsOnFile[side][fileOf(corner)] > 0)
        return true;
    for (int x = first; onBoard[x]; x += diagonalStep)
        if (board.squares[x]) return board.squares[x] == pieceCode(opponent, bishop);
    return false;
}

bool cornerPatterns(const posicion& board, int side) {
    if (side == black) return cornerPattern(board, black, 81, 82, -9) || cornerPattern(board, black, 88, 87, -11);
    return cornerPattern(board, white, 11, 12, 11) || cornerPattern(board, white, 18, 17, 9);
}

bool rookBesideQueen(const posicion& board, int side) {
    if (board.movedType != rook || board.queenList[side][0] == 0) return false;
    const int d = board.lastTo - board.queenList[side][1];
    return d == 1 || d == -1 || d == 10 || d == -10;
}

bool knightFork(const posicion& board, int side) {
    if (board.movedType != knight) return false;
    for (int t : knightTargets[board.lastTo]) {
        if (t == 0) break;
        const int piece = board.squares[t];
        if (piece == pieceCode(side, rook) || piece == pieceCode(side, queen) || piece == pieceCode(side, king))
            return true;
    }
    return false;
}

// Another capture of the list lands on the same square, or a slider of the
// same side stands behind the capturing piece: the exchange goes on.
bool isLinked(const buscador& searcher, const posicion& board, int ply, int n, int i, int side) {
    const int from = searcher.captureFrom[ply][i], to = searcher.captureTo[ply][i];
    for (int j = 0; j < n; ++j)
        if (j != i && searcher.captureTo[ply][j] == to) return true;
    return sliderOnRay(board, from, side, queenDirection[to][from]) != 0;
}

// Step 22: the largest material the opponent threatens; -1 when every
// capture it has loses material (or it has none).
int largestThreat(buscador& searcher, posicion& board, int side, int ply) {
    const int opponent = 1 - side;
    const int n = generateCaptures(searcher, board, opponent, ply);
    int largest = 0;
    bool anyNotLosing = false;
    for (int i = 0; i < n; ++i) {
        const int from = searcher.captureFrom[ply][i], to = searcher.captureTo[ply][i];
        const int attacker = searcher.kind[ply][i];
        int threat;
        if (attacker == pawn && promotionRank[opponent][from]) {
            threat = valueOf(to & 7);
            anyNotLosing = true;
        } else {
            const int victim = valueOf(board.squares[to]);
            const int defender = isAttacked(board, to, side);
            if (defender == 0) {
                threat = victim;
                anyNotLosing = true;
            } else {
                const bool linked = isLinked(searcher, board, ply, n, i, opponent);
                const int a = valueOf(attacker), d = valueOf(defender);
                const bool losing = pieceClass[attacker] < classOfSquare(board, to) && (!linked || a > d + victim);
                if (!losing) anyNotLosing = true;
                threat = linked && a > d ? victim + d - a : linked ? victim : victim - a;
            }
        }
        if (threat > largest) largest = threat;
    }
    return anyNotLosing ? largest : -1;
}

// The first list entry with this move is taken out of the list.
void removeMove(int* fromColumn, const int* toColumn, int n, int from, int to) {
    for (int i = 0; i < n; ++i) {
        if (fromColumn[i] == from && toColumn[i] == to) {
            fromColumn[i] = 0;
            return;
        }
    }
}

}  // namespace

bool isPlausibleMove(const posicion& board, int side, int from, int to) {
    if (from < 11 || from > 88 || !onBoard[from] || board.squares[from] == 0 ||
        sideOf(board.squares[from]) != side)
        return false;
    const int type = typeOf(board.squares[from]);
    const int step = pawnStep[side];
    if (type == pawn) {
        int target = to;
        if (promotionRank[side][from]) {
            const int direction = to >> 3, newType = to & 7;
            if (to < 0 || direction > 2 || newType < knight || newType > queen) return false;
            target = promotionDestination(from, to, side);
        } else if (to < 11 || to > 88) {
            return false;
        }
        if (!onBoard[target] || fileOf(target) - fileOf(from) > 1 || fileOf(from) - fileOf(target) > 1) return false;
        if (target == from + step) return board.squares[target] == 0;
        if (target == from + 2 * step)
            return rankOf(from) == (side == white ? 2 : 7) && board.squares[from + step] == 0 &&
                   board.squares[target] == 0;
        if (target != from + step - 1 && target != from + step + 1) return false;
        const int victim = board.squares[target];
        if (victim) return sideOf(victim) != side;
        return board.epSquare != 0 && target == board.epSquare + step;
    }
    if (to < 11 || to > 88 || !onBoard[to]) return false;
    if (board.squares[to] && sideOf(board.squares[to]) == side) return false;
    switch (type) {
        case knight: return knightJump[from][to] != 0;
        case bishop: return bishopDirection[from][to] != 0 && isPathClear(board, from, to);
        case rook: return rookDirection[from][to] != 0 && isPathClear(board, from, to);
        case queen: return queenDirection[from][to] != 0 && isPathClear(board, from, to);
        default: {
            if (kingAdjacent[from][to]) return true;
            // Castling as the generators allow it: not out of check, nor
            // across an attacked square (the destination is the caller's).
            const int home = 15 + 70 * side;
            if (from != home || (to != from + 2 && to != from - 2)) return false;
            const bool rights =
                to == from + 2
                    ? board.canCastleShort[side] && board.squares[from + 1] == 0 && board.squares[from + 2] == 0
                    : board.canCastleLong[side] && board.squares[from - 1] == 0 && board.squares[from - 2] == 0 &&
                          board.squares[from - 3] == 0;
            const int passed = (from + to) / 2;
            return rights && !isAttacked(board, from, 1 - side) && !isAttacked(board, passed, 1 - side);
        }
    }
}

int searchNode(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
               int extensions) {
    const int opponent = 1 - side;
    prefetchTableEntry(board);
    prefetchEvalCacheEntry(*searcher.evalCache, board.key1);

    // 1. Let the host have its turn every pollInterval nodes (the window
    //    keeps painting; the engine binary hears "stop"); a helper thread
    //    tells its nodes and hears whether the main search has ended.
    if (searcher.nodeCount >= searcher.nextPollNodes) {
        searcher.nextPollNodes += searcher.pollInterval;
        if (pollHost(searcher)) searcher.searchStopped = 1;
    }
    ++searcher.nodeCount;
    if (ply > searcher.selDepth) searcher.selDepth = ply;
    if (searcher.searchStopped) return 0;

    // 2-3. Record the position for repetition tests and the move into it.
    const int historyIndex = searcher.historyLength + ply;
    searcher.lineKey1[historyIndex] = board.key2;
    searcher.lineKey2[historyIndex] = board.key3;
    if (searcher.nullMoveAt[ply]) {
        searcher.path[ply + 2] = {-ply, -ply};
        searcher.capturedAt[ply] = 0;
    } else {
        searcher.path[ply + 2] = {board.lastFrom, board.lastTo};
        searcher.capturedAt[ply] = board.capturedType;
    }

    // 4. A position seen before with the same side to move, since the last
    //    irreversible move, is a draw.
    if (board.halfmoveClock >= 4) {
        const int oldest = historyIndex - board.halfmoveClock;
        for (int i = historyIndex - 4; i >= oldest && i >= 1; i -= 2)
            if (searcher.lineKey1[i] == board.key2 && searcher.lineKey2[i] == board.key3) return 0;
    }

    // 5. The opponent just undid its previous move: we can repeat too, so
    //    this node is worth at least a draw to us.
    const Move& previous = searcher.path[ply];
    if (board.halfmoveClock >= 3 && board.lastTo == previous.from && board.lastFrom == previous.to) {
        if (beta < 1) return 0;
        if (alpha < 0) alpha = 0;
    }

    // 6. In check: only the evasions matter.
    if (!searcher.nullMoveAt[ply] && ply < deepestPly &&
        lastMoveGivesCheck(board, board.kingSquare[side], opponent)) {
        searcher.inCheck[ply] = 1;
        return searchEvasions(searcher, board, side, ply, depth, beta, alpha, extensions);
    }
    searcher.inCheck[ply] = 0;

    // 7. Fifty moves without a capture or pawn move.
    if (board.halfmoveClock >= 100) return 0;

    // 8. Endings known to be drawn, or that the side to move cannot lose.
    if (board.pawnList[side][0] <= 2 && board.pawnList[opponent][0] <= 1 && board.pieceUnits[side] <= 10 &&
        board.pieceUnits[opponent] <= 8) {
        const int knowledge = probeEndgame(board, side, opponent);
        if (knowledge == 0) return 0;
        if (knowledge == 1) {
            if (beta < 1) return beta;
            if (alpha < 0) alpha = 0;
        }
    }

    // 9-15. Extensions (depth + 1) and marks (searched full width beyond the
    //       depth limit) for moves whose point lies past the horizon; one
    //       per path.
    bool marked = false;
    if (extensions == 0 && !searcher.nullMoveAt[ply]) {
        const int to = board.lastTo;
        // 9. A pawn reaching its seventh rank with the way clear.
        if (board.movedType == pawn && promotionRank[opponent][to] && board.squares[to + pawnStep[opponent]] == 0 &&
            ply >= depth - 2) {
            ++depth;
            ++extensions;
            marked = true;
        } else {
            // 10. A rook to the open e-file facing our queen and king.
            if (ply >= depth && board.movedType == rook && fileOf(to) == 5 && fileOf(board.lastFrom) != 5 &&
                board.pawnsOnFile[white][5] == 0 && board.pawnsOnFile[black][5] == 0 && board.queenList[side][0] > 0 &&
                fileOf(board.queenList[side][1]) == 5 && fileOf(board.kingSquare[side]) == 5) {
                marked = true;
            } else if (ply <= depth && ply >= 2 && !searcher.inCheck[ply - 1]) {
                // 11. A recapture of like for like on the same square.
                const int taken = searcher.capturedAt[ply], takenBefore = searcher.capturedAt[ply - 1];
                if (taken != 0 && takenBefore != 0 && pieceClass[taken] == pieceClass[takenBefore] &&
                    to == searcher.path[ply + 1].to && !(board.movedType != pawn && board.pawnAttacks[side][to])) {
                    ++depth;
                    ++extensions;
                }
            }
            if (!marked && ply >= depth) {
                // 12-15. Threats the quiescence search would not see.
                marked = hasPieceOnPawnAttackedSquare(board, side) || cornerPatterns(board, side) ||
                         rookBesideQueen(board, side) || knightFork(board, side);
            }
            if (marked) ++extensions;
        }
    }

    // 16-17. The material estimate; a mark is dropped when it cannot help.
    const int m = materialEstimate(board, side);
    if (marked && m + markedNodeHopeless <= alpha) marked = false;

    // 18. Beyond the depth limit: captures only, then the static leaf.
    if (ply >= depth && ply < depth + quiescencePlies && ply < deepestPly && !marked)
        return quiescence(searcher, board, side, ply, depth, beta, alpha, extensions, m);
    if (ply >= deepestPly || (!marked && ply >= depth + quiescencePlies))
        return horizonLeaf(searcher, board, side, beta, m);

    // 19. The transposition table: a cut-off, a narrower window, a move.
    int r = depth - ply > 0 ? depth - ply : 0;
    const TableProbe probe = probeTable(board, ply, r);
    const int hashFrom = probe.hashFrom, hashTo = probe.hashTo;
    if (probeScoreUsable(probe)) {
        const int s = probe.score;
        const bool quietHashMove = hashFrom != 0 && board.squares[hashTo] == 0;
        bool cut = false;
        int result = 0;
        if (probe.bound == exactBound) {
            cut = true;
            result = s;
        } else if (probe.bound == lowerBound) {
            if (s >= beta) {
                cut = true;
                result = beta;
            } else if (s > alpha) {
                alpha = s;
            }
        } else if (probe.bound == upperBound) {
            if (s <= alpha) {
                cut = true;
                result = alpha;
            } else if (s < beta) {
                beta = s;
            }
        }
        if (cut) {
            if (quietHashMove) noteKiller(searcher, hashFrom, hashTo, ply);
            return result;
        }
    }
    bool zeroWindow = probe.hit && probe.depthDiff == -1 && hashFrom != 0 && probe.bound == exactBound &&
                      alpha + zeroWindowHashMargin <= beta;

    // 20-23. Selective pruning where nothing special is going on.
    bool futilityNode = false;
    int estimate = 0;
    if (settings.selectivity && !searcher.nullMoveAt[ply] && !marked && !searcher.mateMode && ply < depth &&
        ply >= 2 && board.pieceUnits[side] - board.queenList[side][0] >= 10) {
        prepareEvaluation(searcher, board, side);
        estimate = m + evaluateSide(searcher, board, side) - evaluateSide(searcher, board, opponent);
        if (r < futilityDepthLimit) {
            futilityNode = true;
            // 22. Far enough above beta, and the opponent threatens nothing
            //     that could bring the score back: cut.
            if (estimate >= beta + threatMargin[r]) {
                const int threat = largestThreat(searcher, board, side, ply);
                if (threat < 0 || estimate >= beta + threatAllowance[r] + threat) return beta;
            }
        }
        // 23. Null move: if passing still holds beta, a real move will.
        if (r >= 2 && ((r > 3 && estimate >= beta) || (r <= 3 && estimate >= beta + nullMoveShallowMargin))) {
            board.toggleSide();
            searcher.nullMoveAt[ply + 1] = 1;
            const int epSquare = board.epSquare;
            if (epSquare) {
                board.toggleKey(white, epSquare, 0);
                board.epSquare = 0;
            }
            const int score = -searchNode(searcher, board, opponent, ply + 1, depth - 2, 1 - beta, -beta, extensions);
            searcher.nullMoveAt[ply + 1] = 0;
            board.toggleSide();
            if (epSquare) {
                board.epSquare = epSquare;
                board.toggleKey(white, epSquare, 0);
            }
            if (searcher.searchStopped) return 0;
            if (score >= beta) return beta;
        }
    }

    // 24. The move passes, best first by cheap reasons.
    if (r < 1) r = 1;
    int best = alpha;
    bool noLegalMove = true;
    Move bestMove{0, 0};
    const int kingSquare = board.kingSquare[side];
    const int theirKing = board.kingSquare[opponent];
    auto cutOff = [&](int storedScore, int from, int to) {
        storeTable(probe, board, ply, r, lowerBound, storedScore, from, to);
        return beta;
    };
    auto improve = [&](int score, int from, int to) {
        if (score > best) {
            best = score;
            bestMove = {from, to};
        }
    };

    // 25. The hash move first: it refuted or was best here before.
    if (hashFrom && isPlausibleMove(board, side, hashFrom, hashTo) &&
        keepsKingSafe(board, kingSquare, hashFrom, hashTo, side)) {
        const int score = searchChild(searcher, board, side, ply, depth, hashFrom, hashTo, best, beta, extensions);
        if (searcher.searchStopped) return 0;
        if (score >= beta) return cutOff(score, hashFrom, hashTo);
        improve(score, hashFrom, hashTo);
        noLegalMove = false;
    }

    // 26. Captures by victim class, queens first; a capture by a more
    //     valuable piece onto a defended square waits for step 33.
    int* captureFrom = searcher.captureFrom[ply];
    const int* captureTo = searcher.captureTo[ply];
    const int captures = generateCaptures(searcher, board, side, ply);
    if (hashFrom) removeMove(captureFrom, captureTo, captures, hashFrom, hashTo);
    bool anyPostponed = false;
    for (int c = 0; c <= 3; ++c) {
        for (int i = 0; i < captures; ++i) {
            const int from = captureFrom[i];
            if (from == 0) continue;
            const int to = captureTo[i];
            const bool promotion = isPawnPromotion(board, side, from);
            // Promotions go first, with the queens.
            if ((promotion ? 0 : classOfSquare(board, to)) != c) continue;
            const int attacker = searcher.kind[ply][i];
            if (pieceClass[attacker] < c) {
                const int defender = isAttacked(board, to, opponent);
                searcher.defender[ply][i] = defender;
                if (defender == pawn) {
                    anyPostponed = true;
                    continue;
                }
                if (defender != 0) {
                    const bool linked = isLinked(searcher, board, ply, captures, i, side);
                    if (!linked || valueOf(board.squares[to]) + valueOf(defender) < valueOf(attacker)) {
                        anyPostponed = true;
                        continue;
                    }
                }
            }
            if (!keepsKingSafe(board, kingSquare, from, to, side)) {
                captureFrom[i] = 0;
                continue;
            }
            const int destination = promotion ? promotionDestination(from, to, side) : to;
            if (futilityNode && r * depthFutilityUnit + estimate - captureFutilityBase <= best) {
                const int gain = promotion ? valueOf(to & 7)
                                 : board.squares[to] == 0 ? valueOf(pawn)
                                                          : valueOf(board.squares[to]);
                if (estimate + gain + r * depthFutilityUnit - captureFutilityMargin <= best &&
                    !moveGivesCheck(board, from, destination, attacker, theirKing)) {
                    captureFrom[i] = 0;
                    continue;
                }
            }
            const int score = searchChild(searcher, board, side, ply, depth, from, to, best, beta, extensions);
            if (searcher.searchStopped) return 0;
            if (score >= beta) return cutOff(score, from, to);
            improve(score, from, to);
            noLegalMove = false;
            captureFrom[i] = 0;
        }
    }

    // 27. A marked node at the horizon: quiet moves may not lift it above
    //     its static score.
    if (marked && ply >= depth) {
        prepareEvaluation(searcher, board, side);
        int s = m + evaluateSide(searcher, board, side);
        if (s <= best) return best;
        s -= evaluateSide(searcher, board, opponent);
        if (s <= best) return best;
        if (s < beta) beta = s;
    }

    // 28. Quiet moves; only checks when even a good one could not help.
    int* quietFrom = searcher.fullFrom[ply];
    const int* quietTo = searcher.fullTo[ply];
    const int* quietKind = searcher.kind[ply];
    const bool checksOnly = futilityNode && estimate + quietFutilityMargin[r] <= best;
    int quiets;
    if (checksOnly) {
        quiets = generateQuietChecks(searcher, board, side, ply);
        noLegalMove = false;
    } else {
        quiets = generateQuietMoves(searcher, board, side, ply);
    }
    if (hashFrom) removeMove(quietFrom, quietTo, quiets, hashFrom, hashTo);

    auto tryQuiet = [&](int from, int to, int lo, int hi, int childDepth) {
        return searchChild(searcher, board, side, ply, childDepth, from, to, lo, hi, extensions);
    };
    auto attackedByPawn = [&](int square) { return board.pawnAttacks[opponent][square] != 0; };
    // The j-th quiet move to try in steps 31, 32 and 34: an odd helper
    // reverses them, to prove other moves first than the main search does.
    const bool reverseQuiets = searcher.helperIndex % 2 == 1;
    auto quietIndex = [&](int j) { return reverseQuiets ? quiets - 1 - j : j; };

    // 29. Escapes: a piece attacked by a pawn moving to safety.
    for (int i = 0; i < quiets; ++i) {
        const int from = quietFrom[i];
        if (from == 0 || quietKind[i] == pawn || !attackedByPawn(from) || attackedByPawn(quietTo[i])) continue;
        const int to = quietTo[i];
        quietFrom[i] = 0;
        if (!keepsKingSafe(board, kingSquare, from, to, side)) continue;
        const int score = tryQuiet(from, to, best, beta, depth);
        if (searcher.searchStopped) return 0;
        if (score >= beta) return cutOff(score, from, to);
        improve(score, from, to);
        noLegalMove = false;
    }

    // 30. Killers: quiet moves that refuted siblings of this node.
    for (int k = 0; k < killerSlots; ++k) {
        const Move killer = searcher.killers[ply][k];
        if (killer.from == 0) continue;
        for (int i = 0; i < quiets; ++i) {
            if (quietFrom[i] != killer.from || quietTo[i] != killer.to) continue;
            if (attackedByPawn(killer.to) && quietKind[i] != pawn) break;
            quietFrom[i] = 0;
            if (keepsKingSafe(board, kingSquare, killer.from, killer.to, side)) {
                const int score = tryQuiet(killer.from, killer.to, best, beta, depth);
                if (searcher.searchStopped) return 0;
                if (score >= beta) {
                    Move* slot = searcher.killers[ply];
                    if (k == 1) {
                        slot[1] = slot[0];
                        slot[0] = killer;
                    } else if (k == 2) {
                        slot[2] = slot[1];
                        slot[1] = slot[0];
                        slot[0] = killer;
                    }
                    return cutOff(score, killer.from, killer.to);
                }
                improve(score, killer.from, killer.to);
                noLegalMove = false;
            }
            break;
        }
    }

    // 31. Good quiet moves, by their ordering class, to safe squares.
    for (int moveClass = 0; moveClass <= 1; ++moveClass) {
        for (int j = 0; j < quiets; ++j) {
            const int i = quietIndex(j);
            const int from = quietFrom[i];
            if (from == 0) continue;
            const int to = quietTo[i];
            if (quietMoveClass[side][quietKind[i]][from][to] != moveClass || attackedByPawn(to)) continue;
            quietFrom[i] = 0;
            if (!keepsKingSafe(board, kingSquare, from, to, side)) continue;
            const int score = tryQuiet(from, to, best, beta, depth);
            if (searcher.searchStopped) return 0;
            if (score >= beta) {
                searcher.killers[ply][2] = {from, to};
                return cutOff(moveClass == 0 ? score : beta, from, to);
            }
            improve(score, from, to);
            noLegalMove = false;
        }
    }

    // 32. The remaining quiet moves to squares no pawn attacks, with a
    //     null window first where a fail low is expected.
    if (futilityNode && best - zeroWindowEstimateMargin >= estimate) zeroWindow = true;
    for (int j = 0; j < quiets; ++j) {
        const int i = quietIndex(j);
        const int from = quietFrom[i];
        if (from == 0) continue;
        const int to = quietTo[i];
        if (attackedByPawn(to) && quietKind[i] != pawn) continue;
        quietFrom[i] = 0;
        if (!keepsKingSafe(board, kingSquare, from, to, side)) continue;
        int score;
        if (zeroWindow) {
            score = tryQuiet(from, to, best, best + 1, depth);
            if (!searcher.searchStopped && score > best && best + 1 != beta) {
                score = tryQuiet(from, to, best, beta, depth);
                zeroWindow = false;
            }
        } else {
            score = tryQuiet(from, to, best, beta, depth);
        }
        if (searcher.searchStopped) return 0;
        if (score >= beta) {
            searcher.killers[ply][2] = {from, to};
            return cutOff(beta, from, to);
        }
        improve(score, from, to);
        noLegalMove = false;
    }

    // 33. The postponed captures, with what the defender costs us.
    if (anyPostponed) {
        for (int i = 0; i < captures; ++i) {
            const int from = captureFrom[i];
            if (from == 0) continue;
            const int to = captureTo[i];
            if (!keepsKingSafe(board, kingSquare, from, to, side)) continue;
            noLegalMove = false;
            const int attacker = typeOf(board.squares[from]);
            const bool promotion = isPawnPromotion(board, side, from);
            const int destination = promotion ? promotionDestination(from, to, side) : to;
            if (futilityNode && best + postponedFutilityMargin > estimate) {
                int gain = promotion ? valueOf(to & 7)
                           : board.squares[to] == 0 ? valueOf(pawn)
                                                    : valueOf(board.squares[to]);
                const int defenderValue = valueOf(searcher.defender[ply][i]);
                if (captures == 1 && !sliderOnRay(board, from, side, queenDirection[to][from]))
                    gain -= valueOf(attacker);
                else if (defenderValue < valueOf(attacker))
                    gain += defenderValue - valueOf(attacker);
                if (estimate + gain + r * depthFutilityUnit - captureFutilityMargin <= best &&
                    !moveGivesCheck(board, from, destination, attacker, theirKing))
                    continue;
            }
            const int score = searchChild(searcher, board, side, ply, depth, from, to, best, beta, extensions);
            if (searcher.searchStopped) return 0;
            if (score >= beta) return cutOff(beta, from, to);
            improve(score, from, to);
        }
    }

    // 34. Late moves: pieces to squares a pawn attacks, searched one ply
    //     shallower for the engine's own side.
    for (int j = 0; j < quiets; ++j) {
        const int i = quietIndex(j);
        const int from = quietFrom[i];
        if (from == 0) continue;
        const int to = quietTo[i];
        if (!keepsKingSafe(board, kingSquare, from, to, side)) continue;
        if (futilityNode && !checksOnly && !moveGivesCheck(board, from, to, quietKind[i], theirKing)) {
            noLegalMove = false;
            continue;
        }
        const int reduced = side == searcher.engineSide ? depth - 1 : depth;
        int score = tryQuiet(from, to, best, best + 1, reduced);
        if (!searcher.searchStopped && score > best && best + 1 != beta) score = tryQuiet(from, to, best, beta, depth);
        if (searcher.searchStopped) return 0;
        if (score >= beta) {
            searcher.killers[ply][2] = {from, to};
            return cutOff(beta, from, to);
        }
        improve(score, from, to);
        noLegalMove = false;
    }

    // 35. No move raised alpha: stalemate, or a fail low remembered with the
    //     hash move. Otherwise the best move is remembered, a quiet one as a
    //     killer too.
    if (best <= alpha) {
        if (noLegalMove) return 0;
        storeTable(probe, board, ply, r, upperBound, alpha, hashFrom, hashTo);
        return best;
    }
    storeTable(probe, board, ply, r, exactBound, best, bestMove.from, bestMove.to);
    const int moved = board.squares[bestMove.from];
    const bool pawnSpecial = typeOf(moved) == pawn &&
                             (promotionRank[side][bestMove.from] || (bestMove.to - bestMove.from) % 10 != 0);
    if (!pawnSpecial && board.squares[bestMove.to] == 0) noteKiller(searcher, bestMove.from, bestMove.to, ply);
    return best;
}

}  // namespace zarvi
