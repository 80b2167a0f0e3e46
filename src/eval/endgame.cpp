#include "eval/endgame.h"

#include <cstdlib>

#include "board/tables.h"
#include "eval/evaltables.h"

namespace zarvi {

namespace {

constexpr int rookEndingDepth = 6;
constexpr int minorEndingDepth = 2;

bool onlyOneBishop(const posicion& b, int side) {
    return b.bishopList[side][0] == 1 && b.pieceUnits[side] == 3;
}
bool onlyTwoKnights(const posicion& b, int side) {
    return b.knightList[side][0] == 2 && b.pieceUnits[side] == 6;
}
bool oppositeBishops(const posicion& b) {
    return b.bishopList[white][0] == 1 && b.bishopList[black][0] == 1 &&
           lightSquare[b.bishopList[white][1]] != lightSquare[b.bishopList[black][1]];
}

// The side with the queen cannot stop a bishop's or rook's pawn on its
// seventh rank whose king stands beside and in front of it, when its own
// king is too far away.
bool queenAgainstPawnDraw(const posicion& b, int u, int t, int p) {
    const int ku = b.kingSquare[u], kt = b.kingSquare[t];
    const int f = fileOf(p);
    if (b.queenList[u][0] != 1 || b.pieceUnits[t] != 0 || !promotionRank[t][p]) return false;
    if ((f != 1 && f != 3 && f != 6 && f != 8) || !kingAdjacent[kt][p] || !rankAhead[t][p][kt]) return false;
    if (distance[ku][kt] >= 5) return true;
    const int q = b.queenList[u][1];
    return distance[ku][kt] == 4 && b.squares[p + pawnStep[u]] == 0 &&
           queenDirection[kt][q] != queenDirection[kt][p] && !promotionRank[u][q];
}

// Opposite bishops: u's bishop controls a square on the pawn's path.
bool oppositeBishopsDraw(const posicion& b, int u, int t, int p) {
    if (!oppositeBishops(b)) return false;
    const int bishopSq = b.bishopList[u][1], kt = b.kingSquare[t];
    for (int x = p; onBoard[x]; x += pawnStep[t]) {
        if (bishopDirection[x][bishopSq] == 0) continue;
        if (!kingAdjacent[kt][bishopSq] || middleFile[fileOf(p)]) return true;
        if (distance[bishopSq][p] >= 3) return true;
        if (!kingAdjacent[kt][p] && !edgeSquare[bishopSq]) return true;
    }
    return false;
}

// King against king and pawn: u's king in front of the pawn, or nearer to
// the promotion square and to the pawn than t's king.
bool kingHoldsPawn(const posicion& b, int u, int t, int p) {
    const int ku = b.kingSquare[u], kt = b.kingSquare[t];
    const int dir = pawnStep[t];
    const int homeRank = u == white ? 1 : 8;
    if (ku == p + dir && rankOf(ku) != homeRank) return true;
    if (ku == p + 2 * dir) return true;
    if (ku == kt + 2 * dir && std::abs(kt - p) == 1 && rankOf(ku) != homeRank) return true;
    const int q = promotionSquare[t][p];
    const int dU = distance[ku][q], dT = distance[kt][q], dP = distance[p][q];
    if (dU <= dP + 1 && dU < dT && distance[ku][p] < distance[kt][p]) return true;
    return false;
}

// Rook's pawn: u's king in the corner's way.
int rookPawnEdge(const posicion& b, int u, int t, int p, int edgeFile) {
    const int ku = b.kingSquare[u], kt = b.kingSquare[t];
    const int q = promotionSquare[t][p];
    const int dU = distance[ku][q], dT = distance[kt][q], dP = distance[p][q];
    // u's king between t's king and the edge, or in front of the pawn.
    const bool hFile = edgeFile == 8;
    const bool kuNearerEdge = hFile ? fileOf(ku) >= fileOf(kt) : fileOf(ku) <= fileOf(kt);
    if (dU <= dP) {
        if (dU <= dT && kuNearerEdge) return endgameDraw;
        if (dU < 4 && fileOf(kt) == edgeFile) return endgameDraw;
    }
    const bool kuOnEdgeFiles = hFile ? fileOf(ku) >= 7 : fileOf(ku) <= 2;
    const bool kuInFront = t == black ? rankOf(p) >= rankOf(ku) : rankOf(ku) >= rankOf(p);
    return kuOnEdgeFiles && kuInFront ? endgameDraw : endgameUnknown;
}

// A lone minor piece with a rook's pawn: drawn with u's king in the corner
// when the pawn is one step from it, or when the bishop cannot cover the
// promotion square.
int minorPieceAndRookPawn(const posicion& b, int u, int t, int p) {
    const int ku = b.kingSquare[u];
    auto at = [&](int square) { return relativeSquare(u, square); };
    if (!onlyOneBishop(b, t)) {
        if ((ku == at(sq::h1) && p == at(sq::h2)) || (ku == at(sq::a1) && p == at(sq::a2)))
            return endgameDraw;
        return endgameUnknown;
    }
    const int bishopSq = b.bishopList[t][1];
    const int promotion = promotionSquare[t][p];
    const bool wrongBishop =
        (lightSquare[promotion] && darkSquare[bishopSq]) || (darkSquare[promotion] && lightSquare[bishopSq]);
    if (!wrongBishop) return endgameUnknown;
    const bool hCorner = ku == at(sq::h1) || ku == at(sq::g1) || ku == at(sq::h2) || ku == at(sq::g2);
    const bool aCorner = ku == at(sq::a1) || ku == at(sq::b1) || ku == at(sq::a2) || ku == at(sq::b2);
    if ((fileOf(p) == 8 && hCorner) || (fileOf(p) == 1 && aCorner)) return endgameDraw;
    return endgameUnknown;
}

// t's rook in front of its pawn on the seventh, u's rook behind on the
// same file and u's king near: the classic drawing set-up.
bool rookEndingDraw(const posicion& b, int u, int t, int p) {
    if (b.pieceUnits[u] != 5 || b.pieceUnits[t] != 5 || !promotionRank[t][p]) return false;
    const int ourRook = b.rookList[u][1], theirRook = b.rookList[t][1];
    const int ku = b.kingSquare[u], kt = b.kingSquare[t];
    if (fileOf(theirRook) != fileOf(ourRook) || theirRook != p + pawnStep[t]) return false;
    if (!promotionRank[t][ku] || kingAdjacent[ku][theirRook]) return false;
    const int kuFile = fileOf(ku);
    if (std::abs(kuFile - fileOf(p)) > 2 && kuFile > 2 && kuFile < 7) return false;
    return !(kingAdjacent[kt][ourRook] && kingAdjacent[kt][p]);
}

int oneEnemyPawn(const posicion& b, int u, int t) {
    if (b.pawnList[u][0] > 0) return endgameUnknown;
    const int p = b.pawnList[t][1];
    if (queenAgainstPawnDraw(b, u, t, p)) return endgameDraw;
    if (b.pieceUnits[u] > 3 || b.pieceUnits[t] > 3)
        return rookEndingDraw(b, u, t, p) ? endgameDraw : endgameUnknown;
    if (oppositeBishopsDraw(b, u, t, p)) return endgameDraw;
    if (b.pieceUnits[t] == 0) {
        if (kingHoldsPawn(b, u, t, p)) return endgameDraw;
        if (fileOf(p) == 8 || fileOf(p) == 1) return rookPawnEdge(b, u, t, p, fileOf(p));
        return endgameUnknown;
    }
    return minorPieceAndRookPawn(b, u, t, p);
}

int noEnemyPawn(const posicion& b, int u, int t) {
    const int ku = b.kingSquare[u], kt = b.kingSquare[t];
    const int unitsU = b.pieceUnits[u], unitsT = b.pieceUnits[t];
    if (b.pawnList[u][0] == 0) {
        if (!cornerSquare[kt]) {
            if (unitsU < 4 && unitsT < 4) return endgameDraw;
            if (onlyTwoKnights(b, u) && unitsT == 0) return endgameDraw;
        }
        if (!edgeSquare[kt] && onlyTwoKnights(b, u) && unitsT < 4) return endgameDraw;
        if (!edgeSquare[ku] && unitsU == 5 && unitsT == 5) return endgameCannotLose;
        if (!edgeSquare[ku] && unitsT == 5 && onlyOneBishop(b, u) &&
            queenDirection[b.rookList[t][1]][ku] == 0)
            return endgameDraw;
    }
    return unitsT <= 3 ? endgameCannotLose : endgameUnknown;
}

}  // namespace

int probeEndgame(const posicion& board, int u, int t) {
    return board.pawnList[t][0] > 0 ? oneEnemyPawn(board, u, t) : noEnemyPawn(board, u, t);
}

int depthCapOf(const posicion& board) {
    if (board.pawnList[white][0] || board.pawnList[black][0]) return 0;
    const int a = board.pieceUnits[white], b = board.pieceUnits[black];
    if (a == 5 && b == 5) return rookEndingDepth;
    if (a < 4 && b < 4) return minorEndingDepth;
    return 0;
}

}  // namespace zarvi
