// The list of opening lines that the book is built from (data/openings.txt):
// one line of play per text line as "weight | name | moves", the moves in
// standard algebraic notation with move numbers. The book builder reads the
// list here; turning the notation into board moves is its business.
#pragma once

#include <string>
#include <vector>

namespace zarvi {

constexpr int maxOpeningWeight = 1000;

struct OpeningLine {
    int weight = 0;
    std::string name;
    int lineNumber = 0;  // in the list's file, for the builder's messages
    std::vector<std::string> moves;  // without move numbers, white's first
};

// Reads one text line. Returns an empty string on success, otherwise what
// is wrong. A blank or "#" comment line succeeds with no moves.
std::string readOpeningLine(const std::string& text, OpeningLine& line);

// Reads the whole list into lines (comments and blank lines left out).
// Returns an empty string, or the first fault as "LINE: what is wrong"
// with lines left empty.
std::string readOpeningList(const std::string& path, std::vector<OpeningLine>& lines);

}  // namespace zarvi
