#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/makemove.h"
#include "game/settings.h"
#include "search/buscador.h"
#include "search/ttable.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::positionFromFen;

// A table as the constructor leaves it, of the smallest size.
void freshTable() {
    freeTranspositionTable();
    ASSERT_TRUE(allocateTranspositionTable(minHashSizeFactor));
}

posicion startPosition() {
    posicion board;
    posicionador().setStartPosition(board);
    return board;
}

// Another position on the same slot: only the verifying words differ.
posicion sameSlotOtherPosition(const posicion& board) {
    posicion other = board;
    other.key2 ^= 1;
    return other;
}

TEST(TranspositionTable, FreshTableMissesAndLetsEveryNodeStore) {
    freshTable();
    const char* fens[] = {startFen, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"};
    for (const char* fen : fens) {
        const posicion board = positionFromFen(fen);
        for (int ply = 0; ply < maxPly; ++ply) {
            for (int r = 0; r <= 10; ++r) {
                const TableProbe p = probeTable(board, ply, r);
                EXPECT_FALSE(p.hit) << fen;
                EXPECT_EQ(p.hashFrom, 0);
                EXPECT_TRUE(p.mayStore) << fen << " ply " << ply << " r " << r;
            }
        }
    }
}

TEST(TranspositionTable, StoreThenProbe) {
    freshTable();
    const posicion board = startPosition();
    storeTable(probeTable(board, 3, 4), board, 3, 4, exactBound, 100, 25, 45);

    TableProbe p = probeTable(board, 3, 4);
    ASSERT_TRUE(p.hit);
    EXPECT_EQ(p.bound, exactBound);
    EXPECT_EQ(p.score, 100);
    EXPECT_EQ(p.hashFrom, 25);
    EXPECT_EQ(p.hashTo, 45);
    EXPECT_TRUE(probeScoreUsable(p));
    EXPECT_TRUE(p.mayStore);  // equal depth left: the node may overwrite

    p = probeTable(board, 3, 3);
    EXPECT_TRUE(probeScoreUsable(p));
    EXPECT_FALSE(p.mayStore);  // the entry was searched deeper

    p = probeTable(board, 3, 5);
    EXPECT_FALSE(probeScoreUsable(p));  // too shallow to decide, but its move still leads
    EXPECT_EQ(p.hashFrom, 25);
    EXPECT_TRUE(p.mayStore);

    // The remaining depth is stored as at least 1.
    const posicion other = positionFromFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    storeTable(probeTable(other, 6, 0), other, 6, 0, lowerBound, 7, 15, 16);
    EXPECT_EQ(probeTable(other, 6, 1).depthDiff, 0);
}

TEST(TranspositionTable, MateRangeScoresNeverDecideButKeepTheirMove) {
    const posicion board = startPosition();
    for (int score : {19800, -19800, 28790, -28790}) {
        freshTable();
        storeTable(probeTable(board, 0, 2), board, 0, 2, exactBound, score, 17, 36);
        const TableProbe p = probeTable(board, 0, 2);
        EXPECT_TRUE(p.hit);
        EXPECT_FALSE(probeScoreUsable(p)) << score;
        EXPECT_EQ(p.hashFrom, 17);
        EXPECT_EQ(p.hashTo, 36);
    }
    for (int score : {19799, -19799}) {
        freshTable();
        storeTable(probeTable(board, 0, 2), board, 0, 2, exactBound, score, 17, 36);
        EXPECT_TRUE(probeScoreUsable(probeTable(board, 0, 2))) << score;
    }
}

TEST(TranspositionTable, AnotherPositionKeepsADeeperEntryNearerTheRoot) {
    freshTable();
    const posicion board = startPosition();
    const posicion other = sameSlotOtherPosition(board);
    storeTable(probeTable(board, 2, 3), board, 2, 3, exactBound, 50, 25, 45);

    EXPECT_FALSE(probeTable(other, 4, 3).mayStore);  // deeper in the tree, same depth left
    EXPECT_FALSE(probeTable(other, 3, 2).mayStore);
    EXPECT_TRUE(probeTable(other, 2, 3).mayStore);   // the same ply may replace it
    EXPECT_TRUE(probeTable(other, 1, 3).mayStore);
    EXPECT_TRUE(probeTable(other, 4, 4).mayStore);   // a deeper search may replace it
    EXPECT_FALSE(probeTable(other, 4, 3).hit);
}

TEST(TranspositionTable, FailLowStoreKeepsOrClearsTheMove) {
    freshTable();
    const posicion board = startPosition();
    storeTable(probeTable(board, 1, 2), board, 1, 2, exactBound, 10, 25, 45);
    storeTable(probeTable(board, 1, 2), board, 1, 2, upperBound, -5, 0, 0);
    TableProbe p = probeTable(board, 1, 2);
    EXPECT_EQ(p.bound, upperBound);
    EXPECT_EQ(p.hashFrom, 0);
    EXPECT_EQ(transpositionTable.entries[p.index].to, 45);  // left as it was, unreachable without from

    storeTable(p, board, 1, 2, upperBound, -5, 17, 36);
    p = probeTable(board, 1, 2);
    EXPECT_EQ(p.hashFrom, 17);
    EXPECT_EQ(p.hashTo, 36);
}

TEST(TranspositionTable, AgeingByTwoPlies) {
    freshTable();
    posicion board = startPosition();
    const int moves[3][2] = {{25, 45}, {17, 36}, {24, 44}};
    const int plies[3] = {1, 2, 5};
    int index[3];
    for (int i = 0; i < 3; ++i) {
        makeMove(board, moves[i][0], moves[i][1], white);
        const TableProbe p = probeTable(board, plies[i], 3);
        index[i] = p.index;
        storeTable(p, board, plies[i], 3, exactBound, 0, 0, 0);
        unmakeMove(board, moves[i][1], moves[i][0], white);
    }
    ASSERT_NE(index[0], index[1]);
    ASSERT_NE(index[1], index[2]);
    ASSERT_NE(index[0], index[2]);

    ageTranspositionTable(-2);
    EXPECT_EQ(transpositionTable.entries[index[0]].storePly, freeStorePly);
    EXPECT_EQ(transpositionTable.entries[index[1]].storePly, freeStorePly);
    EXPECT_EQ(transpositionTable.entries[index[2]].storePly, 3);
    int free = 0;
    for (int i = 0; i < transpositionTable.size; ++i) free += transpositionTable.entries[i].storePly == freeStorePly;
    EXPECT_EQ(free, transpositionTable.size - 1);

    // Aged entries still hit: ageing frees them for replacement only.
    makeMove(board, 25, 45, white);
    EXPECT_TRUE(probeTable(board, 0, 3).hit);
}

TEST(TranspositionTable, ClearingMakesEveryProbeMiss) {
    buscador& searcher = test::sharedSearcher();
    freshTable();
    posicion board = startPosition();
    storeTable(probeTable(board, 0, 6), board, 0, 6, exactBound, 300, 25, 45);
    makeMove(board, 25, 45, white);
    storeTable(probeTable(board, 1, 5), board, 1, 5, lowerBound, 200, 85, 86);
    searcher.killers[4][0] = Move{25, 45};
    searcher.killers[31][2] = Move{17, 36};

    clearSearchTables(searcher);
    EXPECT_FALSE(probeTable(board, 1, 5).hit);
    EXPECT_TRUE(probeTable(board, 31, 0).mayStore);  // stale depth, but free
    unmakeMove(board, 45, 25, white);
    EXPECT_FALSE(probeTable(board, 0, 6).hit);
    for (int i = 0; i < transpositionTable.size; ++i) {
        ASSERT_EQ(transpositionTable.entries[i].checkWord, 0xFFFFFFFFu);
        ASSERT_EQ(transpositionTable.entries[i].storePly, freeStorePly);
    }
    for (int ply = 0; ply < maxPly; ++ply)
        for (int k = 0; k < killerSlots; ++k) EXPECT_EQ(searcher.killers[ply][k], (Move{0, 0}));
}

}  // namespace
}  // namespace zarvi
