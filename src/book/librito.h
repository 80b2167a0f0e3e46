// The opening book: librito.txt read into memory at start-up, in which a
// position is found by its key words key2 and key3 and one of its listed
// moves is drawn at random by the listed percentages. The game's computer
// move probes it during the first plies; the shortfall of the percentages
// below 100 is the chance that the book declines and the engine searches.
#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>

#include "board/posicion.h"
#include "board/types.h"

namespace zarvi {

constexpr const char* bookFileName = "librito.txt";
constexpr int maxBookCandidates = 22;
// Larger files are cut here, which keeps every position in an int.
constexpr int maxBookLength = 1 << 28;

// Milliseconds since the program started; the book adds them to its
// random number so that quick successive games still differ.
uint32_t millisecondsSinceStart();

class librito {
public:
    using MillisecondClock = uint32_t (*)();

    // Verbose, no chosen move, the book read from path, the random
    // generator started from the calendar time in seconds.
    explicit librito(const char* path = bookFileName);

    // Reads the book, dropping every line break (LF, CR LF or a lone CR).
    // A file that cannot be opened leaves the book empty.
    void load(const char* path = bookFileName);
    // The same from the rest of a seekable stream (the file, or a text in
    // memory), which is read twice: to measure, then to keep.
    void load(std::istream& input);

    // Finds the entry of the position with key words k2 and k3 and leaves
    // the chosen move in chosenFrom/chosenTo, or chosenFrom 0 for none.
    void probe(uint32_t k2, uint16_t k3);

    void startRandom(uint32_t value) { randomState = value; }
    // The linear congruential generator: 0..32767.
    int nextRandom();
    // The millisecond source of the draw; tests set a fixed one.
    void setClock(MillisecondClock source) { clock = source; }

    std::unique_ptr<char[]> text;
    int verbose = 1;
    // Where the candidate lines are printed: standard output, unless that
    // speaks a protocol to another program (the engine binary's UCI).
    std::FILE* listing = stdout;
    int length = 0;
    int weights[maxBookCandidates] = {};
    Move candidates[maxBookCandidates] = {};
    int chosenFrom = 0;
    int chosenTo = 0;
    // Candidates of the last entry found (1 for a single move), 0 when the
    // last probe found no entry it could read.
    int candidateCount = 0;

private:
    bool findEntry(uint32_t k2, uint16_t k3, int& p) const;
    bool readCandidates(int p);
    void printCandidates() const;

    uint32_t randomState = 0;
    MillisecondClock clock = millisecondsSinceStart;
    int candidateStart[maxBookCandidates] = {};  // where each candidate is written
};

// The book's choice for side in board when it is legal there, in the
// engine's encoding (a pawn reaching the last rank becomes a queen);
// {0, 0} when the book declines or names a move that is not legal: the
// book is outside data. Tests legality as the user-move checker does,
// which leaves board's flags as checkUserMove documents.
Move legalBookMove(librito& book, posicion& board, int side);

}  // namespace zarvi
