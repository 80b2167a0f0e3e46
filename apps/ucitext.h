// Reading the text of UCI commands: words, whole numbers and option names
// as other chess programs write them. Used by the session, the option
// table and the go parameters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvi {

// The blank-separated words of a line (spaces and tabs).
std::vector<std::string> splitWords(const std::string& line);

// The words from first to last (exclusive), joined by single spaces.
std::string joinWords(const std::vector<std::string>& words, size_t first, size_t last);

// A whole decimal number, optionally signed, and nothing else; false for
// anything else, an empty text or a value beyond 64 bits.
bool readInteger(const std::string& text, int64_t& value);

// Equal ignoring the case of ASCII letters.
bool sameWord(const std::string& a, const std::string& b);

}  // namespace zarvi
