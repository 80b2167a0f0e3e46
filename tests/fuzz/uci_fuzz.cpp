// The UCI command loop over arbitrary lines, in-process: position and
// setoption lines as the other program might send them, with now and then
// an isready or a shallow go. After every line the session's game must be
// consistent and describe itself in a FEN that reads back to it; every best
// move it names must be legal, judged by the tests' referee.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "board/consistency.h"
#include "fuzzcheck.h"
#include "support/referee.h"
#include "ucioptions.h"
#include "ucisession.h"
#include "ucitext.h"

using namespace zarvi;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static InputQueue input;  // stays empty: a search never hears a stop
    static std::ostringstream out;
    static UciSession session(input, out);
    // Every option back to its default (the hash at its smallest), and a new game.
    for (const UciOption& o : uciOptions)
        if (o.kind != OptionKind::text)
            session.handle("setoption name " + std::string(o.name) + " value " +
                           (&o == uciOptions ? "1" : o.kind == OptionKind::spin ? std::to_string(o.defaultValue)
                                                     : o.defaultValue           ? "true" : "false"));
    session.handle("ucinewgame");
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    std::string trail;
    int searches = 0, handled = 0;
    for (std::string line; handled < 64 && std::getline(text, line); out.str("")) {
        // Other books are files (the book has its own target), large tables
        // only cost time, and every search is a shallow one.
        const std::vector<std::string> words = splitWords(line);
        const std::string command = words.empty() ? "" : words[0];
        OptionChange change;
        if (command == "setoption" && parseSetOption({words.begin() + 1, words.end()}, change).empty() &&
            (change.option == bookFileOption || (change.option == hashOption && change.value > 16)))
            continue;
        if (command == "go") line = ++searches <= 2 ? "go depth 1" : "";
        if (line.empty() || (command != "setoption" && command != "go" && command != "position" &&
                             command != "isready" && command != "ucinewgame" && command != "d"))
            continue;
        ++handled;
        trail += line + "\n";
        session.handle(line);
        const std::string wrong = findInconsistency(session.board(), session.sideToMove());
        require(wrong.empty(), "the session's game is inconsistent", trail + "\n" + wrong);
        posicion again;
        FenGame game{};
        require(readFen(again, session.fen(), game).empty() && game.sideToMove == session.sideToMove() &&
                    fuzz::samePosition(again, session.board(), game.sideToMove),
                "the session's FEN does not read back to its game", trail + "\n" + session.fen());
        if (command != "go") continue;
        const std::string answers = out.str();
        const size_t at = answers.rfind("bestmove ");
        require(at != std::string::npos, "go without a best move", trail + "\n" + answers);
        const std::string move = test::bestMoveOf(answers.substr(at, answers.find('\n', at) - at));
        test::Referee referee(session.board(), session.sideToMove());
        require(move == "0000" ? referee.legalMoves().empty() : referee.isLegal(move), "a wrong best move",
                trail + "\n" + answers);
    }
    return 0;
}
