#include "ucitext.h"

#include <charconv>

namespace zarvi {

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string joinWords(const std::vector<std::string>& words, size_t first, size_t last) {
    std::string text;
    for (size_t i = first; i < last && i < words.size(); ++i) {
        if (i > first) text += ' ';
        text += words[i];
    }
    return text;
}

bool readInteger(const std::string& text, int64_t& value) {
    // from_chars takes no "+"; other programs may write one.
    const size_t start = !text.empty() && text[0] == '+' ? 1 : 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    if (first == last || (start == 1 && *first == '-')) return false;
    int64_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last) return false;
    value = parsed;
    return true;
}

bool sameWord(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace zarvi
