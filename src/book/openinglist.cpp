// Reading the list of opening lines the book is built from.
#include "book/openinglist.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace zarvi {

namespace {

std::string trimmed(const std::string& s) {
    const char* blanks = " \t\r\n";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Characters that standard algebraic notation uses; the rules decide the rest.
bool looksLikeMove(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!std::strchr("abcdefgh12345678NBRQKOx=+#-", c)) return false;
    }
    return true;
}

}  // namespace

std::string readOpeningLine(const std::string& text, OpeningLine& line) {
    line = OpeningLine{};
    const std::string content = trimmed(text);
    if (content.empty() || content[0] == '#') return "";

    std::size_t bar1 = content.find('|');
    std::size_t bar2 = bar1 == std::string::npos ? bar1 : content.find('|', bar1 + 1);
    if (bar2 == std::string::npos || content.find('|', bar2 + 1) != std::string::npos) {
        return "expected weight | name | moves";
    }
    const std::string weight = trimmed(content.substr(0, bar1));
    if (!allDigits(weight) || weight.size() > 4 || std::stoi(weight) < 1 || std::stoi(weight) > maxOpeningWeight) {
        return "weight must be a whole number from 1 to " + std::to_string(maxOpeningWeight);
    }
    const std::string name = trimmed(content.substr(bar1 + 1, bar2 - bar1 - 1));
    if (name.empty()) return "missing name";

    std::vector<std::string> moves;
    std::istringstream words(content.substr(bar2 + 1));
    std::string word;
    bool numbered = false;
    while (words >> word) {
        std::size_t dot = word.find('.');
        if (dot != std::string::npos) {
            const int expected = int(moves.size()) / 2 + 1;
            if (moves.size() % 2 != 0 || numbered || word.substr(0, dot) != std::to_string(expected) ||
                (dot + 1 < word.size() && word[dot + 1] == '.')) {
                return "expected move number " + std::to_string(expected) + " only before white's move, not " + word;
            }
            numbered = true;
            word.erase(0, dot + 1);
            if (word.empty()) continue;
        }
        if (moves.size() % 2 == 0 && !numbered) {
            return "missing move number before " + word;
        }
        if (!looksLikeMove(word)) return "not a move: " + word;
        moves.push_back(word);
        numbered = false;
    }
    if (numbered) return "move number without a move";
    if (moves.empty()) return "no moves";

    line.weight = std::stoi(weight);
    line.name = name;
    line.moves = std::move(moves);
    return "";
}

std::string readOpeningList(const std::string& path, std::vector<OpeningLine>& lines) {
    lines.clear();
    std::ifstream file(path);
    if (!file) return "cannot open " + path;
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        OpeningLine line;
        std::string fault = readOpeningLine(text, line);
        if (!fault.empty()) {
            lines.clear();
            return std::to_string(number) + ": " + fault;
        }
        line.lineNumber = number;
        if (!line.moves.empty()) lines.push_back(std::move(line));
    }
    return "";
}

}  // namespace zarvi
