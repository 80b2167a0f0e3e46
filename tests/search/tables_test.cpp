// Perft, the standard proof that move generation and make/unmake follow
// the rules, with small positions built around the rule corners that trees
// get wrong; and what one search leaves the next: the transposition
// table's probe, store, replacement and ageing rules and the killer slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <tuple>

#include "board/fen.h"
#include "board/makemove.h"
#include "search/perft.h"
#include "search/ttable.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

TEST(Perft, KnownCounts) {
    struct { const char* fen; int depth; uint64_t leaves; } cases[] = {
        {startFen, 5, 4865609},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4, 4085603},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 674624},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
        {"3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", 6, 1134888},         // illegal en passant
        {"8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", 6, 1440467},       // en passant gives check
        {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", 6, 661072},             // castling gives check
        {"3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", 6, 803711},             // long castling gives check
        {"r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", 4, 1274206},  // castling rights
        {"r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", 4, 1720476},  // castling prevented
        {"2K2r2/4P3/8/8/8/8/8/3k4 w - - 0 1", 6, 3821001},         // promotion out of check
        {"8/8/1P2K3/8/2n5/1q6/8/5k2 b - - 0 1", 5, 1004658},       // discovered check
        {"4k3/1P6/8/8/8/8/K7/8 w - - 0 1", 6, 217342},             // promotion gives check
        {"8/P1k5/K7/8/8/8/8/8 w - - 0 1", 6, 92683},               // under-promotion gives check
        {"K1k5/8/P7/8/8/8/8/8 w - - 0 1", 6, 2217},                // self stalemate
        {"8/k1P5/8/1K6/8/8/8/8 w - - 0 1", 7, 567584},             // stalemate and mate
    };
    for (const auto& c : cases) {
        int side = white;
        posicion board = test::positionFromFen(c.fen, &side);
        EXPECT_EQ(perft(test::sharedSearcher(), board, side, c.depth), c.leaves) << c.fen;
    }
}

void store(const posicion& board, int ply, int r, int bound, int score, int from, int to) {
    storeTable(probeTable(board, ply, r), board, ply, r, bound, score, from, to);
}

TEST(TranspositionTable, ProbeStoreReplacementAndAgeing) {
    buscador& searcher = test::sharedSearcher();
    clearTranspositionTable();
    posicion board = test::positionFromFen(startFen), other = board;
    other.key2 ^= 1;  // another position on the same slot
    EXPECT_TRUE(!probeTable(board, 31, 0).hit && probeTable(board, 31, 0).mayStore);  // fresh: misses, stores
    store(board, 3, 4, exactBound, 100, 25, 45);
    // The entry's score decides only from as deep; an equal depth may
    // overwrite it. Another position keeps an entry as deep stored nearer
    // the root; the same ply or more depth may replace it. Its move leads
    // the search whatever the depth.
    struct { const posicion* board; int ply, r; bool hit, usable, mayStore; } probes[] = {
        {&board, 3, 4, true, true, true}, {&board, 3, 3, true, true, false}, {&board, 3, 5, true, false, true},
        {&other, 4, 4, false, false, false}, {&other, 4, 3, false, false, false},
        {&other, 3, 4, false, false, true}, {&other, 4, 5, false, false, true},
    };
    for (const auto& c : probes) {
        const TableProbe p = probeTable(*c.board, c.ply, c.r);
        EXPECT_EQ(std::make_tuple(p.hit, probeScoreUsable(p), p.mayStore, p.hashFrom),
                  std::make_tuple(c.hit, c.usable, c.mayStore, c.hit ? 25 : 0)) << c.ply << ' ' << c.r;
    }
    // Scores of 19800 and beyond either way never decide; their move leads.
    for (int score : {19800, -19800, 28790, -28790, 19799, -19799}) {
        clearTranspositionTable();
        store(board, 0, 2, exactBound, score, 17, 36);
        EXPECT_EQ(probeScoreUsable(probeTable(board, 0, 2)), score == 19799 || score == -19799) << score;
        EXPECT_EQ(probeTable(board, 0, 2).hashFrom, 17);
    }

    // Two plies later in the game entries stored at plies 1 and 2 lie at
    // or before the root: free for replacement, not erased; ply 5 is 3.
    clearTranspositionTable();
    const int moves[3][2] = {{25, 45}, {17, 36}, {24, 44}}, plies[3] = {1, 2, 5};
    const int aged[3] = {freeStorePly, freeStorePly, 3};
    int index[3];
    for (int i = 0; i < 3; ++i) {
        makeMove(board, moves[i][0], moves[i][1], white);
        index[i] = probeTable(board, plies[i], 3).index;
        store(board, plies[i], 3, exactBound, 0, 0, 0);
        unmakeMove(board, moves[i][1], moves[i][0], white);
    }
    ageTranspositionTable(-2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(transpositionTable.entries[index[i]].storePly, aged[i]) << i;
    makeMove(board, 25, 45, white);
    EXPECT_TRUE(probeTable(board, 0, 3).hit);
    clearSearchTables(searcher);
    EXPECT_FALSE(probeTable(board, 0, 3).hit);
}

TEST(Killers, NoteKiller) {
    buscador& s = test::sharedSearcher();
    const Move none{0, 0}, a{25, 45}, b{17, 36}, c{24, 44}, d{12, 33};
    struct { Move before[3], noted, after[3]; } cases[] = {
        {{none, none, none}, a, {none, a, none}},  // a new move enters slot 1
        {{a, b, c}, d, {a, d, b}},                 // slot 2 dropped, slot 0 untouched
        {{Move{75, 13}, b, c}, Move{75, 10}, {Move{75, 13}, Move{75, 10}, b}},  // another promotion piece
    };
    for (const auto& k : cases) {
        std::memset(s.killers, 0, sizeof s.killers);
        for (int i = 0; i < 3; ++i) s.killers[5][i] = k.before[i];
        noteKiller(s, k.noted.from, k.noted.to, 5);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s.killers[5][i], k.after[i]) << i;
        EXPECT_EQ(s.killers[4][1], none);
    }
}

}  // namespace
}  // namespace zarvi
