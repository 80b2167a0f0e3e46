// What the fuzz targets share: the tables built first, as at start-up; an
// invariant that fails names itself and aborts, so that libFuzzer keeps the
// input that broke it; and the comparisons of positions. The move lists
// come from the tests' shared searcher.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/posicion.h"
#include "board/tables.h"
#include "support/searcher.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zarvi::buildTables();
    return 0;
}

namespace zarvi::fuzz {

inline void require(bool holds, const char* invariant, const std::string& detail = "") {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n%s\n", invariant, detail.c_str());
    std::abort();
}

// Every byte of the two positions' state agrees: keys, squares, views and
// flags, up to the last move; the undo stack after it is scratch that a FEN
// never sets. The fields after key3 are all ints, so no padding is compared.
inline bool identical(const posicion& a, const posicion& b) {
    const auto start = [](const posicion& p) { return reinterpret_cast<const char*>(&p.squares); };
    const auto end = [](const posicion& p) { return reinterpret_cast<const char*>(&p.lastTo + 1); };
    return a.key1 == b.key1 && a.key2 == b.key2 && a.key3 == b.key3 &&
           std::memcmp(start(a), start(b), std::size_t(end(a) - start(a))) == 0;
}

// The same squares, rights, en-passant square, clock and keys.
inline bool samePosition(const posicion& a, const posicion& b, int sideToMove) {
    const PositionSetup da = describePosition(a, sideToMove), db = describePosition(b, sideToMove);
    return a.key1 == b.key1 && a.key2 == b.key2 && a.key3 == b.key3 && std::memcmp(&da, &db, sizeof da) == 0;
}

}  // namespace zarvi::fuzz
