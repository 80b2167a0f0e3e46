#include "board/tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "board/keys.h"
#include "board/squareset.h"

namespace zarvi {

const int kingSteps[8] = {1, 11, 10, 9, -1, -11, -10, -9};
const int knightJumps[8] = {12, 21, 19, 8, -12, -21, -19, -8};
const int queenDirections[8] = {1, 11, 10, 9, -1, -11, -10, -9};
const int bishopDirections[4] = {11, 9, -11, -9};
const int rookDirections[4] = {1, 10, -1, -10};

SquareTable queenDirection;
SquareTable rookDirection;
SquareTable bishopDirection;
SquareTable knightJump;
SquareTable kingAdjacent;
SquareTable lineOrKnight;
SquareTable distance;
SquareTable sameQuarter;
SquareTable sameWing;
SquareTable nearSquare;
uint64_t sameQuarterSquares[squareCount];
uint64_t sameWingSquares[squareCount];
uint64_t nearSquares[squareCount];
SquareTable rankAhead[2];
SquareTable rookKingWeightA;
SquareTable rookKingWeightB;
SquareTable bishopKingWeight;
SquareTable queenKingWeight;
uint64_t queenWeightSquares[squareCount];
int slidesAlong[15][23];
SquareTable quietMoveClass[2][7];
int kingTargets[squareCount][8];

}  // namespace zarvi

namespace zarvi {

namespace {

void clearPairTables() {
    for (SquareTable* t : {&kingAdjacent, &sameQuarter, &nearSquare, &sameWing, &knightJump,
                           &queenDirection, &queenKingWeight, &bishopKingWeight, &lineOrKnight,
                           &distance, &rookKingWeightB, &rookKingWeightA})
        std::memset(*t, 0, sizeof *t);
    std::memset(kingTargets, 0, sizeof kingTargets);
}

void buildQuartersAndDistance() {
    for (int a = 11; a <= 88; ++a) {
        for (int b = 11; b <= 88; ++b) {
            const int fa = fileOf(a), fb = fileOf(b), ra = rankOf(a), rb = rankOf(b);
            distance[a][b] = std::max(std::abs(fa - fb), std::abs(ra - rb));
            const bool sameFiles = (fa < 5 && fb < 5) || (fa > 4 && fb > 4);
            const bool sameRanks = (ra < 5 && rb < 5) || (ra > 4 && rb > 4);
            sameQuarter[a][b] = sameFiles && sameRanks;
            sameWing[a][b] = sameFiles;
            nearSquare[a][b] = sameQuarter[a][b] || distance[a][b] <= 2;
        }
    }
}

void buildKingSteps() {
    for (int a = 11; a <= 88; ++a)
        for (int k : kingSteps)
            if (onBoard[a + k]) kingAdjacent[a][a + k] = 1;
}

void buildKnightJumps() {
    for (int a = 11; a <= 88; ++a)
        for (int j : knightJumps)
            if (a + j >= 1 && onBoard[a + j]) knightJump[a][a + j] = 1;
}

// The evaluation's square sets, from the tables they restate.
void buildEvaluationSets() {
    for (int k = 11; k <= 88; ++k) {
        for (int x = 11; x <= 88; ++x) {
            if (sameQuarter[x][k]) sameQuarterSquares[k] |= squareBit[x];
            if (sameWing[x][k]) sameWingSquares[k] |= squareBit[x];
            if (nearSquare[x][k]) nearSquares[k] |= squareBit[x];
            if (queenKingWeight[k][x]) queenWeightSquares[k] |= squareBit[x];
        }
    }
}

void buildKingTargets() {
    for (int a = 11; a <= 88; ++a) {
        int n = 0;
        for (int k : kingSteps)
            if (a + k >= 1 && onBoard[a + k]) kingTargets[a][n++] = a + k;
    }
}

template <int N>
void buildDirections(SquareTable& table, const int (&directions)[N]) {
    for (int a = 11; a <= 88; ++a)
        for (int d : directions)
            for (int s = a + d; s >= 0 && onBoard[s]; s += d) table[a][s] = d;
}

void buildSliding() {
    std::memset(slidesAlong, 0, sizeof slidesAlong);
    for (int d : bishopDirections) {
        slidesAlong[pieceCode(white, bishop)][d + 11] = 1;
        slidesAlong[pieceCode(black, bishop)][d + 11] = 1;
    }
    for (int d : rookDirections) {
        slidesAlong[pieceCode(white, rook)][d + 11] = 1;
        slidesAlong[pieceCode(black, rook)][d + 11] = 1;
    }
    for (int d : queenDirections) {
        slidesAlong[pieceCode(white, queen)][d + 11] = 1;
        slidesAlong[pieceCode(black, queen)][d + 11] = 1;
    }
}

void buildRankAhead() {
    for (int a = 0; a <= 88; ++a) {
        for (int b = 11; b <= 88; ++b) {
            const bool sameRank = a / 10 == b / 10;
            rankAhead[white][a][b] = sameRank || a < b;
            rankAhead[black][a][b] = sameRank || b < a;
        }
    }
}

void buildLineOrKnight() {
    for (int a = 11; a <= 88; ++a) {
        for (int d : queenDirections)
            for (int s = a; s >= 0 && onBoard[s]; s += d) lineOrKnight[a][s] = 1;
        for (int j : knightJumps)
            if (a + j > 10 && onBoard[a + j]) lineOrKnight[a][a + j] = 1;
    }
}

void buildKingWeights() {
    for (int a = 11; a <= 88; ++a) {
        for (int b = 11; b <= 88; ++b) {
            const bool adjacent = kingAdjacent[a][b], near = nearSquare[a][b];
            rookKingWeightA[a][b] = adjacent ? 14 : near ? 3 : 0;
            rookKingWeightB[a][b] = adjacent ? 13 : near ? 2 : 0;
            bishopKingWeight[a][b] = adjacent ? 9 : distance[a][b] < 3 ? 6 : near ? 2 : 0;
            queenKingWeight[a][b] =
                adjacent ? 7 : (near || sameWing[a][b]) ? std::max(0, 6 - distance[a][b]) : 0;
        }
    }
}

// Ordering class of a non-capture: 0 for developing and central moves,
// 2 for retreats, edge knights and aimless pawn and king moves, 1 otherwise.
int quietClass(int side, int type, int a, int b) {
    const int shift = 50 * side;
    if (backRank[side][a] && type != king && !(type == knight && edgeSquare[b])) {
        if (!backRank[side][b]) return 0;
        if (type == rook && fileOf(a) != 4 && fileOf(a) != 5 && (fileOf(b) == 4 || fileOf(b) == 5))
            return 0;
    }
    if (type == pawn && (a == 24 + shift || a == 25 + shift)) return 0;
    if (type == king && distance[a][b] > 1) return 0;
    if (!rankAhead[side][a][b]) return 2;
    if (type == pawn && !centerSquare[b] && a != 23 + shift) return 2;
    if (type == king) return 2;
    if (type == knight && edgeSquare[b]) return 2;
    return 1;
}

void buildQuietMoveClasses() {
    for (int side = 0; side < 2; ++side)
        for (int type = pawn; type <= king; ++type)
            for (int a = 11; a <= 88; ++a)
                for (int b = 11; b <= 88; ++b) quietMoveClass[side][type][a][b] = quietClass(side, type, a, b);
}

}  // namespace

void buildTables() {
    static bool built = false;
    if (built) return;
    built = true;

    generateKeys();
    clearPairTables();
    buildQuartersAndDistance();
    buildKingSteps();
    buildKnightJumps();
    buildKingTargets();
    buildDirections(queenDirection, queenDirections);
    buildDirections(bishopDirection, bishopDirections);
    buildDirections(rookDirection, rookDirections);
    buildSliding();
    buildRankAhead();
    buildLineOrKnight();
    buildKingWeights();
    buildQuietMoveClasses();
    buildEvaluationSets();
}

}  // namespace zarvi
