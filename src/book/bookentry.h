// Writing one position's entry of librito.txt, in the form the book reads
// back: "K1,K2(e2e4)" for a single move, else the candidates with whole
// percentages, "K1,K2(e2e4 45/d2d4 55)". The book builder calls it once for
// every position its lines pass through.
#pragma once

#include <cstdint>
#include <string>

#include "board/types.h"

namespace zarvi {

// Percentages for count relative weights (each at least 1): they add up to
// exactly 100, so the book never declines a position it lists, and each is
// 1..99, which the two-digit field can hold. Shares are rounded down and the
// remainder goes to the largest fractions, the earlier first on a tie.
// count is 2..maxBookCandidates.
void bookPercentages(const int* weights, int count, int* percentages);

// The entry for the position with key words key2 and key3. Moves must have
// real squares (no promotion codes); at most maxBookCandidates are written,
// the heaviest, and a lone move takes the single-move form.
std::string bookEntry(uint32_t key2, uint16_t key3, const Move* moves, const int* weights, int count);

}  // namespace zarvi
