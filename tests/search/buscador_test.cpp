#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "board/fen.h"
#include "eval/evalcache.h"
#include "game/settings.h"
#include "search/buscador.h"
#include "search/ttable.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

const Move a{25, 45}, b{17, 36}, c{24, 44}, d{12, 33};

void setKillers(buscador& s, int ply, Move s0, Move s1, Move s2) {
    s.killers[ply][0] = s0;
    s.killers[ply][1] = s1;
    s.killers[ply][2] = s2;
}

void expectKillers(const buscador& s, int ply, Move s0, Move s1, Move s2) {
    EXPECT_EQ(s.killers[ply][0], s0);
    EXPECT_EQ(s.killers[ply][1], s1);
    EXPECT_EQ(s.killers[ply][2], s2);
}

TEST(Killers, NoteKillerKeepsTheMostTrustedFirst) {
    buscador& s = test::sharedSearcher();
    const Move none{0, 0};
    setKillers(s, 5, none, none, none);
    noteKiller(s, a.from, a.to, 5);
    expectKillers(s, 5, none, a, none);  // a new move enters slot 1

    setKillers(s, 5, a, b, c);
    noteKiller(s, d.from, d.to, 5);
    expectKillers(s, 5, a, d, b);  // slot 2 dropped, slot 0 untouched

    setKillers(s, 5, a, b, c);
    noteKiller(s, c.from, c.to, 5);
    expectKillers(s, 5, c, a, b);

    setKillers(s, 5, a, b, c);
    noteKiller(s, b.from, b.to, 5);
    expectKillers(s, 5, b, a, c);

    setKillers(s, 5, a, b, c);
    noteKiller(s, a.from, a.to, 5);
    expectKillers(s, 5, a, b, c);

    // Same squares, other promotion piece: another move.
    setKillers(s, 5, Move{75, 13}, b, c);
    noteKiller(s, 75, 10, 5);
    expectKillers(s, 5, Move{75, 13}, Move{75, 10}, b);
    setKillers(s, 4, none, none, none);
    setKillers(s, 6, none, none, none);
    noteKiller(s, a.from, a.to, 5);
    expectKillers(s, 4, none, none, none);
    expectKillers(s, 6, none, none, none);
}

TEST(Killers, ShiftMovesThemTwoPliesTowardsTheRoot) {
    buscador& s = test::sharedSearcher();
    std::memset(s.killers, 0, sizeof s.killers);
    setKillers(s, 0, a, a, a);
    setKillers(s, 1, d, d, d);
    setKillers(s, 2, c, c, c);
    setKillers(s, 3, a, Move{0, 0}, b);
    setKillers(s, 4, b, c, Move{0, 0});
    shiftKillers(s);
    expectKillers(s, 0, a, a, a);  // the root's stay
    expectKillers(s, 1, a, d, b);  // an empty slot above leaves the old one
    expectKillers(s, 2, b, c, c);
    expectKillers(s, 3, a, Move{0, 0}, b);  // nothing above: unchanged
}

TEST(Searcher, NewGameReset) {
    buscador& s = test::sharedSearcher();
    s.mateMode = 1;
    s.resignRequest = 1;
    s.searchedHistoryLength = 40;
    s.killers[3][1] = a;
    posicion board;
    posicionador().setStartPosition(board);
    storeTable(probeTable(board, 0, 3), board, 0, 3, exactBound, 5, 25, 45);
    resetSearch(s);
    EXPECT_EQ(s.mateMode, 0);
    EXPECT_EQ(s.resignRequest, 0);
    EXPECT_EQ(s.searchedHistoryLength, 1);
    EXPECT_EQ(s.killers[3][1], (Move{0, 0}));
    EXPECT_FALSE(probeTable(board, 0, 3).hit);
}

TEST(Searcher, ConstructedState) {
    freeSearchTables();
    const int saved = settings.hashSizeFactor;
    settings.hashSizeFactor = 2;
    std::memset(statusText, '-', statusTextLength);
    auto s = std::make_unique<buscador>();
    settings.hashSizeFactor = saved;

    EXPECT_EQ(s->hashFactorInUse, 2);
    EXPECT_EQ(transpositionTable.size, 2 * ttEntriesPerFactor);
    EXPECT_EQ(evaluationCache.size, 2 * evalEntriesPerFactor);
    EXPECT_EQ(std::string(statusText, 7), "Ready!-");
    EXPECT_EQ(s->depthCap, 0);
    EXPECT_EQ(s->searchedHistoryLength, 1);
    EXPECT_EQ(s->expectedMatePly, 1);
    EXPECT_EQ(s->mateInMoves, 1);
    EXPECT_EQ(s->mateMode, 0);
    EXPECT_EQ(s->resignRequest, 0);
    posicion start;
    posicionador().setStartPosition(start);
    EXPECT_EQ(test::positionSignature(s->workBoard), test::positionSignature(start));
    EXPECT_EQ(test::positionSignature(s->displayBoard), test::positionSignature(start));
    for (int i = 0; i < transpositionTable.size; ++i) {
        ASSERT_EQ(transpositionTable.entries[i].storePly, freeStorePly);
        ASSERT_EQ(transpositionTable.entries[i].bound, emptyBound);
    }
    for (int i = 0; i < evaluationCache.size; ++i) ASSERT_EQ(evaluationCache.entries[i].checkWord, 0xFFFFFFFFu);
}

#ifndef _WIN32
#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool underAddressSanitizer = true;
#else
constexpr bool underAddressSanitizer = false;
#endif
#else
constexpr bool underAddressSanitizer = false;
#endif

// The bytes of address space the process has mapped now, 0 if unknown.
unsigned long long mappedBytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    unsigned long long pages = 0;
    const int read = std::fscanf(f, "%llu", &pages);
    std::fclose(f);
    return read == 1 ? pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) : 0;
}

// Room for the tables of a factor of a few dozen, far from the largest.
constexpr unsigned long long headroomBytes = 64ull << 20;

// With the largest factor and little memory, the searcher must come up
// with a smaller factor it reports, and tables of that size that work.
TEST(SearchTables, FallBackToASmallerFactorWhenMemoryIsShort) {
    if (underAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space and its own allocator and "
                        "bookkeeping fail under a tight RLIMIT_AS before the tables do";
    if (mappedBytes() == 0) GTEST_SKIP() << "no /proc/self/statm";
    EXPECT_EXIT(
        {
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = mappedBytes() + headroomBytes;
            if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
            freeSearchTables();
            settings.hashSizeFactor = maxHashSizeFactor;
            buscador* s = new buscador();
            const int f = s->hashFactorInUse;
            if (f < minHashSizeFactor || f >= maxHashSizeFactor) std::_Exit(4);
            if (transpositionTable.size != f * ttEntriesPerFactor || evaluationCache.size != f * evalEntriesPerFactor)
                std::_Exit(5);
            posicion board;
            posicionador().setStartPosition(board);
            storeTable(probeTable(board, 0, 2), board, 0, 2, exactBound, 9, 25, 45);
            std::_Exit(probeTable(board, 0, 2).hit ? 0 : 6);
        },
        ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace zarvi
