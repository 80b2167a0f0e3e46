// Sets of squares in 64 bits, one bit a square (bit 8 * (rank - 1) +
// (file - 1); border positions have none), and the few operations the
// evaluation rules need on them: membership, counting, visiting, and
// shifts along the files. The rules build such sets per evaluation from
// the piece lists; the board tables restate some relations as sets.
#pragma once

#include <array>
#include <cstdint>

#include "board/tables.h"

namespace zarvi {

using SquareSet = uint64_t;
// A set per square.
using SquareSets = std::array<SquareSet, squareCount>;

// Like onBoard it runs to 109, so that a step from a real square can be
// looked up without a range test.
inline constexpr std::array<SquareSet, onBoard.size()> squareBit = [] {
    std::array<SquareSet, onBoard.size()> t{};
    for (int s = 0; s < int(t.size()); ++s)
        if (detail::isRealSquare(s)) t[s] = SquareSet(1) << (8 * (rankOf(s) - 1) + fileOf(s) - 1);
    return t;
}();

inline constexpr SquareSet fileASquares = 0x0101010101010101ULL;
inline constexpr SquareSet fileHSquares = fileASquares << 7;

// The files of a set's squares, bit f - 1 for file f.
constexpr unsigned filesOf(SquareSet set) {
    set |= set >> 32;
    set |= set >> 16;
    set |= set >> 8;
    return unsigned(set) & 0xffu;
}

// The file of the lowest bit of a nonzero set of files.
inline int lowestFile(unsigned files) { return __builtin_ctz(files) + 1; }

// Every square of the files given as bits.
constexpr SquareSet squaresOfFiles(unsigned files) { return SquareSet(files) * fileASquares; }

// The squares of the set, and every square above (or below) one of them on
// its file.
constexpr SquareSet fillUp(SquareSet set) {
    set |= set << 8;
    set |= set << 16;
    set |= set << 32;
    return set;
}
constexpr SquareSet fillDown(SquareSet set) {
    set |= set >> 8;
    set |= set >> 16;
    set |= set >> 32;
    return set;
}

// Every square above some square of the set on the same file.
constexpr SquareSet squaresAbove(SquareSet set) { return fillUp(set << 8); }

// Ranks 2 to 7, rank 1, rank 8.
inline constexpr SquareSet innerRankSquares = 0x00ffffffffffff00ULL;
inline constexpr SquareSet rank1Squares = 0xffULL;
inline constexpr SquareSet rank8Squares = 0xffULL << 56;

// The square of each bit.
inline constexpr std::array<int, 64> bitSquare = [] {
    std::array<int, 64> t{};
    for (int i = 0; i < 64; ++i) t[i] = 10 * (i / 8 + 1) + i % 8 + 1;
    return t;
}();

// The square of the lowest bit of a nonzero set.
inline int lowestSquare(SquareSet set) { return bitSquare[__builtin_ctzll(set)]; }

// How many squares the set holds: a loop, as the sets counted hold few.
inline int countSquares(SquareSet set) {
    int n = 0;
    for (; set; set &= set - 1) ++n;
    return n;
}

// The squares a flag table marks, as a set.
template <typename Flags>
constexpr SquareSet squaresMarked(const Flags& flags) {
    SquareSet set = 0;
    for (int s = 0; s < squareCount; ++s)
        if (flags[s]) set |= squareBit[s];
    return set;
}

// Whether x (0 <= x < 110) is in the set; a border position never is.
inline bool inSet(SquareSet set, int x) { return (set & squareBit[x]) != 0; }

// The squares of a piece list (count first) as a set.
inline SquareSet squaresOf(const int* list) {
    SquareSet set = 0;
    for (int i = list[0]; i >= 1; --i) set |= squareBit[list[i]];
    return set;
}

}  // namespace zarvi
