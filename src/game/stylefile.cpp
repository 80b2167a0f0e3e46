#include "game/stylefile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "book/textread.h"
#include "eval/settings.h"

namespace zarvi {

namespace {

constexpr int hashFactorValue = 1;
constexpr int bookValue = 2;
constexpr int resignValue = 3;
constexpr int resignLevelValue = 4;
constexpr int depthValue = 5;

// The number after the "=" at p, read like the book's numbers (one
// character may stand before the digits; no digits is 0) but saturating at
// styleNumberCeiling: the book's reader wraps modulo 2^32, which would turn
// a huge hash size or weight into an arbitrary small one.
int styleNumber(const char* text, int length, int p) {
    if (digitValue(characterAt(text, length, p)) < 0) ++p;
    int64_t value = 0;
    for (int d; (d = digitValue(characterAt(text, length, p))) >= 0; ++p)
        value = std::min<int64_t>(value * 10 + d, styleNumberCeiling);
    return int(value);
}

void applyStyleValue(int k, int number) {
    switch (k) {
        case hashFactorValue:
            settings.hashSizeFactor = std::clamp(number, minHashSizeFactor, maxHashSizeFactor);
            break;
        case bookValue: settings.useBook = number != 0; break;
        case resignValue: settings.canResign = number != 0; break;
        case resignLevelValue:
            // Capped so that 250 times the number stays a 32-bit score.
            settings.resignThreshold = -resignFactor * std::min(number, styleNumberCeiling / resignFactor);
            break;
        case depthValue:
            if (number != 0) {
                setDepthLimit(number);
                settings.depthFromStyle = 1;
            }
            break;
        default: break;
    }
}

}  // namespace

void applyStyleText(const char* text, int length) {
    length = std::clamp(length, 0, styleTextLimit);
    int p = 0;
    for (int k = 0; p < length && text[p] != '-'; ++p)
        if (text[p] == '=') applyStyleValue(++k, styleNumber(text, length, p + 1));
    for (int j = 0; p < length && text[p] != '*'; ++p) {
        if (text[p] != '=' || ++j > evalWeightCount) continue;
        settings.evalWeights[j] = std::min(styleNumber(text, length, p + 1), maxWeight);
    }
}

bool readStyleFile(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    char text[styleTextLimit];
    int length = 0;
    for (int c; length < styleTextLimit && (c = std::fgetc(file)) != EOF;) {
        text[length++] = char(c);
        if (c == '*') break;
    }
    std::fclose(file);
    applyStyleText(text, length);
    return true;
}

void readStyleFile() {
    if (!readStyleFile(styleFileName)) readStyleFile(fallbackStyleFileName);
}

}  // namespace zarvi
