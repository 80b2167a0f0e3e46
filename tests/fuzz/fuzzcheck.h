// What the fuzz targets share: an invariant that fails names itself and
// aborts, so that libFuzzer keeps the input that broke it; and the
// comparisons of positions that several targets make.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/posicion.h"

namespace zarvi::fuzz {

[[noreturn]] inline void fail(const char* invariant, const std::string& detail = "") {
    std::fprintf(stderr, "invariant broken: %s\n%s\n", invariant, detail.c_str());
    std::abort();
}

inline void require(bool holds, const char* invariant, const std::string& detail = "") {
    if (!holds) fail(invariant, detail);
}

// Every byte of the two positions agrees: keys, squares, views and flags.
// The fields after key3 are all ints, so the bytes compared hold no padding.
inline bool identical(const posicion& a, const posicion& b) {
    const auto tail = [](const posicion& p) { return reinterpret_cast<const char*>(&p.squares); };
    const std::size_t tailBytes = sizeof(posicion) - (tail(a) - reinterpret_cast<const char*>(&a));
    return a.key1 == b.key1 && a.key2 == b.key2 && a.key3 == b.key3 &&
           std::memcmp(tail(a), tail(b), tailBytes) == 0;
}

// The same squares, rights, en-passant square, clock and keys.
inline bool samePosition(const posicion& a, const posicion& b, int sideToMove) {
    const PositionSetup da = describePosition(a, sideToMove), db = describePosition(b, sideToMove);
    return a.key1 == b.key1 && a.key2 == b.key2 && a.key3 == b.key3 && std::memcmp(&da, &db, sizeof da) == 0;
}

}  // namespace zarvi::fuzz
