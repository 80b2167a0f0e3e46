// The engine's UCI options: their table, the lines the uci command lists,
// and reading a setoption command into a checked change. The session
// applies the change to the settings, the tables and the book.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvi {

enum class OptionKind { spin, check, text, button };

// Options in the order the uci command lists them; the evaluation weights
// follow in the order of the weights, from weightOption on.
enum OptionId {
    hashOption,
    clearHashOption,
    threadsOption,
    multiPvOption,
    ponderOption,
    moveOverheadOption,
    limitStrengthOption,
    eloOption,
    ownBookOption,
    bookFileOption,
    positionalKnowledgeOption,
    selectivityOption,
    weightOption,
};

struct UciOption {
    const char* name;
    OptionKind kind;
    int minimum;
    int maximum;
    int defaultValue;        // spin and check (1 true)
    const char* defaultText;  // text
};

constexpr int uciOptionCount = weightOption + 14;
extern const UciOption uciOptions[uciOptionCount];

// Bytes of one hash size factor: its transposition-table entries of 13
// bytes and evaluation-cache entries of 10 bytes, about a megabyte.
constexpr int64_t ttEntryBytes = 13;
constexpr int64_t evalEntryBytes = 10;
int64_t bytesPerHashFactor();
// The largest factor whose tables fit in the megabytes (at least 1).
int hashFactorForMegabytes(int64_t megabytes);

// "option name ... type ..." for every option, one per line.
std::vector<std::string> optionLines();

struct OptionChange {
    int option = 0;     // an OptionId, or weightOption + the weight's index - 1
    int64_t value = 0;  // spin value, or 1/0 for a check
    std::string text;   // a text option's value
};

// Reads the words after "setoption": name <id> value <x> (a button has no
// value). Returns "" or what is wrong (unknown option, missing value, out
// of range, not true or false); on an error change is left as it was.
std::string parseSetOption(const std::vector<std::string>& words, OptionChange& change);

}  // namespace zarvi
