// Reading numbers and squares out of the plain-text files the program reads
// at start-up: the opening book and the style file. Those files come from
// outside, so every reader takes the text with its length, never looks past
// the end, and reads a position outside the text as no character.
#pragma once

#include <cstdint>

namespace zarvi {

constexpr int noCharacter = -1;

// The character at p as 0..255, or noCharacter when p lies outside the text.
inline int characterAt(const char* text, int length, int p) {
    if (p < 0 || p >= length) return noCharacter;
    return static_cast<unsigned char>(text[p]);
}

// 0..9 for the characters "0".."9", otherwise -1 (noCharacter included).
int digitValue(int c);

// The square written at p as a file letter a..h and a rank digit 1..8, as
// 10 * rank + file; 0 (no square) when either character is out of range.
int parseSquare(const char* text, int length, int p);

// The run of digits starting at p, or at p + 1 when the character at p is
// not a digit, accumulated modulo 2^32; 0 when there are no digits. When
// digitCount is given it receives the number of digits read.
uint32_t parseNumber(const char* text, int length, int p, int* digitCount = nullptr);

}  // namespace zarvi
