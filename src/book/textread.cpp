// Text readers shared by the opening book and the style file.
#include "book/textread.h"

namespace zarvi {

int digitValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    return -1;
}

int parseSquare(const char* text, int length, int p) {
    int file = characterAt(text, length, p) - 'a' + 1;
    int rank = digitValue(characterAt(text, length, p + 1));
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return 0;
    return 10 * rank + file;
}

uint32_t parseNumber(const char* text, int length, int p, int* digitCount) {
    if (digitValue(characterAt(text, length, p)) < 0) ++p;
    uint32_t value = 0;
    int digits = 0;
    for (int d; (d = digitValue(characterAt(text, length, p + digits))) >= 0; ++digits) {
        value = value * 10u + uint32_t(d);
    }
    if (digitCount) *digitCount = digits;
    return value;
}

}  // namespace zarvi
