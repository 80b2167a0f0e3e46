// The UCI command loop over arbitrary lines, in-process: position and
// setoption lines as the other program might send them, with now and then
// an isready or a shallow go. After every line the session's game must be
// consistent and describe itself in a FEN that reads back to it; every best
// move it names must be legal, judged by the rules' own move checker.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/consistency.h"
#include "board/fen.h"
#include "board/tables.h"
#include "fuzzcheck.h"
#include "inputqueue.h"
#include "referee.h"
#include "ucioptions.h"
#include "ucisession.h"
#include "ucitext.h"

using namespace zarvi;
using fuzz::require;

namespace {

// Tables this large only cost time and memory; the Hash option's parsing
// is still fuzzed below this size.
constexpr int64_t largestHashMegabytes = 16;
constexpr int maxLinesPerInput = 64;
constexpr int maxSearchesPerInput = 2;

struct Harness {
    InputQueue input;  // stays empty: a search never hears a stop
    std::ostringstream out;
    UciSession session{input, out};
};

// Every option back to its default (the hash at its smallest), and a new game.
void resetSession(Harness& h) {
    for (const UciOption& o : uciOptions) {
        if (o.kind == OptionKind::text) continue;
        const std::string value = &o == &uciOptions[hashOption] ? std::to_string(o.minimum)
                                  : o.kind == OptionKind::check  ? (o.defaultValue ? "true" : "false")
                                                                 : std::to_string(o.defaultValue);
        h.session.handle("setoption name " + std::string(o.name) + " value " + value);
    }
    h.session.handle("ucinewgame");
    h.out.str("");
}

// The line as the session should see it, or "" to leave it out: other
// books are files (the book has its own target), large tables only cost
// time, and any search is a shallow one.
std::string admitted(const std::string& line, int& searches) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty()) return line;
    const std::string& command = words[0];
    if (command == "setoption") {
        OptionChange change;
        if (!parseSetOption(std::vector<std::string>(words.begin() + 1, words.end()), change).empty()) return line;
        if (change.option == bookFileOption) return "";
        if (change.option == hashOption && change.value > largestHashMegabytes) return "";
        return line;
    }
    if (command == "go") return ++searches <= maxSearchesPerInput ? "go depth 1" : "";
    if (command == "position" || command == "isready" || command == "ucinewgame" || command == "d") return line;
    return "";
}

void checkGame(const UciSession& session, const std::string& trail) {
    const std::string wrong = findInconsistency(session.board(), session.sideToMove());
    require(wrong.empty(), "the session's game is inconsistent", trail + "\n" + wrong);
    const std::string fen = session.fen();
    posicion again;
    FenGame game{};
    const std::string error = readFen(again, fen, game);
    require(error.empty(), "the session's FEN is refused", trail + "\n" + fen + "\n" + error);
    require(game.sideToMove == session.sideToMove() && fuzz::samePosition(again, session.board(), game.sideToMove),
            "the session's FEN reads to another position", trail + "\n" + fen);
}

void checkBestMove(const UciSession& session, const std::string& answers, const std::string& trail) {
    std::istringstream lines(answers);
    for (std::string line; std::getline(lines, line);) {
        const std::string move = test::bestMoveOf(line);
        if (move.empty()) continue;
        test::RefereeGame game{session.board(), session.sideToMove()};
        if (move == "0000") {
            require(!test::hasLegalMove(game), "no best move where there is a legal move", trail);
        } else {
            require(test::isLegalMove(game, move), "an illegal best move", trail + "\n" + line);
        }
        return;
    }
    fuzz::fail("go without a best move", trail + "\n" + answers);
}

}  // namespace

// As the program does at start-up: the hash keys and tables first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    buildTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    resetSession(harness);

    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    std::string trail;
    int searches = 0, handled = 0;
    for (std::string line; handled < maxLinesPerInput && std::getline(text, line);) {
        line = admitted(line, searches);
        if (line.empty()) continue;
        ++handled;
        trail += line + "\n";
        harness.session.handle(line);
        if (line == "go depth 1") checkBestMove(harness.session, harness.out.str(), trail);
        harness.out.str("");
        checkGame(harness.session, trail);
    }
    return 0;
}
