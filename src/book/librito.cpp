// The opening book: loading librito.txt and drawing a book move for a
// position. The text is outside data, so every read goes through the
// bounded readers and a move is only ever offered with two real squares.
#include "book/librito.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <new>

#include "board/vju.h"
#include "book/textread.h"

namespace zarvi {

namespace {

const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();

constexpr uint32_t randomMultiplier = 22695477u;
constexpr uint32_t randomIncrement = 1u;
constexpr int singleMoveWeight = 100;
constexpr int readChunk = 4096;

// Reads the rest of input, keeping every character but CR and LF, up to
// limit characters; stores them into out when out is given. Returns the
// number kept.
int keptCharacters(std::istream& input, char* out, int limit) {
    char chunk[readChunk];
    int kept = 0;
    while (kept < limit && input.read(chunk, sizeof chunk).gcount() > 0) {
        const std::streamsize got = input.gcount();
        for (std::streamsize i = 0; i < got && kept < limit; ++i) {
            if (chunk[i] == '\n' || chunk[i] == '\r') continue;
            if (out) out[kept] = chunk[i];
            ++kept;
        }
    }
    return kept;
}

// The move written at p, or (0, 0) unless both squares are on the board.
Move moveAt(const char* text, int length, int p) {
    int from = parseSquare(text, length, p);
    int to = parseSquare(text, length, p + 2);
    if (from == 0 || to == 0) return Move{0, 0};
    return Move{from, to};
}

// A move's character as printed: garbage in the file must not reach the
// console as control codes.
int shown(const char* text, int length, int p) {
    int c = characterAt(text, length, p);
    return c > ' ' && c < 127 ? c : '?';
}

}  // namespace

uint32_t millisecondsSinceStart() {
    auto elapsed = std::chrono::steady_clock::now() - programStart;
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

librito::librito(const char* path) {
    load(path);
    startRandom(uint32_t(std::time(nullptr)));
}

void librito::load(const char* path) {
    // Binary mode, so that line breaks are dropped alike on every system
    // and a stray end-of-file byte does not cut the book short.
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        text.reset();
        length = 0;
        return;
    }
    load(file);
}

void librito::load(std::istream& input) {
    text.reset();
    length = 0;
    const std::istream::pos_type start = input.tellg();
    int measured = keptCharacters(input, nullptr, maxBookLength);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[measured > 0 ? measured : 1]);
    input.clear();
    if (buffer && start != std::istream::pos_type(-1) && input.seekg(start)) {
        // The second pass keeps at most what the first measured, should
        // the file have changed in between.
        length = keptCharacters(input, buffer.get(), measured);
        text = std::move(buffer);
    }
}

int librito::nextRandom() {
    randomState = randomState * randomMultiplier + randomIncrement;
    return int((randomState >> 16) & 0x7FFF);
}

// Scans the entries "K1,K2 ... ( ... )" for the position; on success p is
// the first character after the entry's opening parenthesis. A key without
// digits never matches, so garbage cannot pass for the key 0.
bool librito::findEntry(uint32_t k2, uint16_t k3, int& p) const {
    const char* t = text.get();
    p = 0;
    while (p < length - 2) {
        int firstDigits = 0;
        int secondDigits = 0;
        uint32_t first = parseNumber(t, length, p, &firstDigits);
        while (p < length && t[p] != ',') ++p;
        if (p >= length) return false;
        ++p;
        uint32_t second = parseNumber(t, length, p, &secondDigits);
        if (firstDigits > 0 && secondDigits > 0 && first == k2 && (second & 0xFFFFu) == k3) {
            while (p < length && t[p] != '(') ++p;
            if (p >= length) return false;
            ++p;
            return true;
        }
        while (p < length && t[p] != ')') ++p;
        if (p >= length) return false;
        ++p;
    }
    return false;
}

// Reads "move percentage" candidates separated by "/" from p. A percentage
// has one or two digits; without any it weighs 0. A candidate without two
// real squares keeps its share, so a draw landing on it declines rather
// than shifting the odds of the others. A list that the text cuts off
// before a candidate's first percentage character is unreadable.
bool librito::readCandidates(int p) {
    const char* t = text.get();
    int n = 0;
    for (;;) {
        if (p + 5 >= length) return false;
        int tens = digitValue(characterAt(t, length, p + 5));
        int units = digitValue(characterAt(t, length, p + 6));
        candidateStart[n] = p;
        candidates[n] = moveAt(t, length, p);
        if (tens < 0) {
            weights[n] = 0;
        } else {
            weights[n] = units >= 0 ? 10 * tens + units : tens;
        }
        if (units < 0) --p;  // one character shorter
        ++n;
        if (characterAt(t, length, p + 7) == '/' && n < maxBookCandidates) {
            p += 8;
            continue;
        }
        break;
    }
    candidateCount = n;
    return true;
}

void librito::printCandidates() const {
    const char* t = text.get();
    std::fprintf(listing, "0 0 0 0 (");
    for (int i = 0; i < candidateCount; ++i) {
        int p = candidateStart[i];
        if (i > 0) std::fprintf(listing, ",");
        std::fprintf(listing, "%c%c%c%c %d%%", shown(t, length, p), shown(t, length, p + 1),
                    shown(t, length, p + 2), shown(t, length, p + 3), weights[i]);
    }
}

void librito::probe(uint32_t k2, uint16_t k3) {
    chosenFrom = 0;
    chosenTo = 0;
    candidateCount = 0;
    int p;
    if (!findEntry(k2, k3, p)) return;
    const char* t = text.get();

    // 1. A single move, "(e2e4)", is always played.
    if (characterAt(t, length, p + 4) == ')') {
        candidateStart[0] = p;
        candidates[0] = moveAt(t, length, p);
        weights[0] = singleMoveWeight;
        candidateCount = 1;
        if (verbose) {
            std::fprintf(listing, "0 0 0 0 (%c%c%c%c 100%%)\n", shown(t, length, p), shown(t, length, p + 1),
                        shown(t, length, p + 2), shown(t, length, p + 3));
        }
        chosenFrom = candidates[0].from;
        chosenTo = candidates[0].to;
        return;
    }

    // 2. A weighted list; the line closes even when nothing else is shown.
    if (!readCandidates(p)) return;
    if (verbose) printCandidates();
    std::fprintf(listing, ")\n");

    // 3. r in 0..99 falls into the first candidate whose running sum of
    // percentages exceeds it; past the sum the book declines.
    int r = int((uint32_t(nextRandom()) + clock()) % 100u);
    int sum = 0;
    for (int i = 0; i < candidateCount; ++i) {
        sum += weights[i];
        if (sum > r) {
            chosenFrom = candidates[i].from;
            chosenTo = candidates[i].to;
            return;
        }
    }
}

Move legalBookMove(librito& book, posicion& board, int side) {
    book.probe(board.key2, board.key3);
    if (book.chosenFrom == 0) return {0, 0};
    vju checker;
    if (!checkUserMove(checker, board, book.chosenFrom, book.chosenTo, side)) return {0, 0};
    const int to = checker.promotion ? promotionCode(fileOf(book.chosenTo) - fileOf(book.chosenFrom) + 1, queen)
                                     : book.chosenTo;
    return {book.chosenFrom, to};
}

}  // namespace zarvi
