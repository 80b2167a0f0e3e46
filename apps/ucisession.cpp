#include "ucisession.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "benchreport.h"
#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "board/tables.h"
#include "eval/evalcache.h"
#include "eval/movegen.h"
#include "eval/settings.h"
#include "game/cable.h"
#include "platform/platform.h"
#include "platform/portable.h"
#include "rootlines.h"
#include "search/bench.h"
#include "search/history.h"
#include "search/search.h"
#include "search/thinking.h"
#include "search/ttable.h"
#include "strength.h"
#include "ucioptions.h"
#include "ucitext.h"
#include "version.h"

namespace zarvi {

namespace {

// The session whose search is running: the poll and the thinking reports
// are plain functions.
UciSession* searching = nullptr;

const char* sideName(int s) { return s == white ? "white" : "black"; }

// A setoption line that names the Threads option, whatever its value.
bool changesThreads(const std::vector<std::string>& words) {
    const size_t valueAt = std::find(words.begin(), words.end(), "value") - words.begin();
    return words.size() > 2 && words[1] == "name" &&
           sameWord(joinWords(words, 2, valueAt), uciOptions[threadsOption].name);
}

int64_t nowMs() { return int64_t(searchClock.elapsedSeconds() * 1000); }

}  // namespace

bool pollSession() { return searching && searching->poll(); }

void reportThinking(const buscador&, int mark) {
    if (searching) searching->report(mark);
}

UciSession::UciSession(InputQueue& in, std::ostream& output) : input(in), out(output) {
    settings.hashSizeFactor = hashFactorForMegabytes(uciOptions[hashOption].defaultValue);
    moveOverheadMs = uciOptions[moveOverheadOption].defaultValue;
    limitedElo = uciOptions[eloOption].defaultValue;
    settings.useBook = uciOptions[ownBookOption].defaultValue;
    settings.positionalKnowledge = uciOptions[positionalKnowledgeOption].defaultValue;
    settings.selectivity = uciOptions[selectivityOption].defaultValue;
    for (int i = 0; i < evalWeightCount; ++i) settings.evalWeights[i + 1] = uciOptions[weightOption + i].defaultValue;
    // The other program adjudicates; the principal variation is built by
    // the thinking display only while thinking is shown.
    settings.canResign = 0;
    settings.showThinking = 1;
    setDepthLimit(0);
    pollsPerSecond = uciPollsPerSecond;

    createSearcher();
    book = std::make_unique<librito>(uciOptions[bookFileOption].defaultText);
    // Standard output speaks the protocol: the book lists its candidates
    // on the error stream.
    book->listing = stderr;
    handle("position startpos");
}

void UciSession::send(const std::string& line) {
    out << line << '\n';
    out.flush();
}

void UciSession::refuse(const std::string& error) { send("info string " + error); }

bool UciSession::nextLine(std::string& line) {
    if (!deferred.empty()) {
        line = deferred.front();
        deferred.pop_front();
        return true;
    }
    return input.pop(line);
}

void UciSession::run() {
    std::string line;
    while (nextLine(line))
        if (!handle(line)) return;
}

bool UciSession::handle(const std::string& line) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty()) return true;
    const std::string& command = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (command == "uci") {
        identify();
    } else if (command == "isready") {
        prepareTables();
        send("readyok");
    } else if (command == "ucinewgame") {
        prepareTables();
        resetSearch(*searcher);
        handle("position startpos");
    } else if (command == "position") {
        setPosition(rest);
    } else if (command == "go") {
        go(rest);
    } else if (command == "setoption") {
        setOption(rest);
    } else if (command == "bench") {
        bench(rest);
    } else if (command == "d") {
        send("info string fen " + fen());
    } else if (command == "quit") {
        return false;
    } else if (command == "stop" || command == "ponderhit" || command == "debug") {
        // Nothing is being searched (a stop may cross the best move on its
        // way); this engine has nothing to debug.
    } else {
        refuse("unknown command '" + command + "'");
    }
    return !quitRequested;
}

std::string UciSession::fen() const { return writeFen(game, FenGame{side, fullmoveNumber}); }

void UciSession::identify() {
    send("id name Zarvi " ZARVI_VERSION);
    send("id author the Zarvi developers");
    for (const std::string& option : optionLines()) send(option);
    send("uciok");
}

void UciSession::setOption(const std::vector<std::string>& words) {
    OptionChange change;
    const std::string error = parseSetOption(words, change);
    if (!error.empty()) return refuse(error);
    const int value = int(change.value);
    switch (change.option) {
        case hashOption:
            settings.hashSizeFactor = hashFactorForMegabytes(change.value);
            tablesStale = true;
            break;
        case clearHashOption:
            clearSearchTables(*searcher);
            clearEvaluationCache();
            break;
        case threadsOption: helpers.resize(value - 1); break;
        case multiPvOption: linesWanted = value; break;
        // The other program decides when to ponder: the engine changes
        // nothing of its own.
        case ponderOption: break;
        case moveOverheadOption: moveOverheadMs = change.value; break;
        case limitStrengthOption: limitStrength = value; break;
        case eloOption: limitedElo = value; break;
        case ownBookOption:
            settings.useBook = value;
            if (value && book->length == 0) refuse("OwnBook: the book file holds nothing; the engine searches");
            break;
        case bookFileOption: {
            if (!std::ifstream(change.text)) return refuse("BookFile: cannot read '" + change.text + "'");
            book->load(change.text.c_str());
            break;
        }
        case positionalKnowledgeOption:
            // Scores in the tables were made with the old evaluation.
            tablesStale = tablesStale || settings.positionalKnowledge != value;
            settings.positionalKnowledge = value;
            break;
        case selectivityOption: settings.selectivity = value; break;
        default: {
            int& weight = settings.evalWeights[change.option - weightOption + 1];
            tablesStale = tablesStale || weight != value;
            weight = value;
        }
    }
}

void UciSession::createSearcher() {
    searcher.reset();
    searcher = std::make_unique<buscador>();
    searcher->pollInterval = uciFirstPollInterval;
    searcher->helpers = &helpers;
}

void UciSession::prepareTables() {
    if (!tablesStale) return;
    tablesStale = false;
    createSearcher();
    if (searcher->hashFactorInUse < settings.hashSizeFactor)
        refuse("Hash: only " + std::to_string(searcher->hashFactorInUse) + " MB could be had");
}

std::vector<Move> UciSession::legalMoves(posicion& board, int mover) {
    const int n = listLegalMoves(*searcher, board, mover, 0);
    std::vector<Move> legal;
    for (int i = 0; i < n; ++i) legal.push_back({searcher->fullFrom[0][i], searcher->fullTo[0][i]});
    return legal;
}

void UciSession::setPosition(const std::vector<std::string>& words) {
    const size_t movesAt = std::find(words.begin(), words.end(), "moves") - words.begin();
    std::string start;
    if (!words.empty() && words[0] == "startpos" && movesAt == 1) {
        start = startFen;
    } else if (!words.empty() && words[0] == "fen" && movesAt > 1) {
        start = joinWords(words, 1, movesAt);
    } else {
        return refuse("position refused: write position startpos|fen <FEN> [moves <move> ...]");
    }

    posicion trial;
    FenGame fenGame{};
    const std::string error = readFen(trial, start, fenGame);
    if (!error.empty()) return refuse("position refused: " + error);
    int mover = fenGame.sideToMove, fullmove = fenGame.fullmoveNumber;
    std::vector<std::string> texts;
    std::vector<Move> played;
    std::vector<uint32_t> k2{trial.key2};
    std::vector<uint16_t> k3{trial.key3};
    for (size_t i = movesAt + 1; i < words.size(); ++i) {
        const std::string& text = words[i];
        const std::string where = " (move " + std::to_string(i - movesAt) + ", " + sideName(mover) + " to move)";
        int from = 0, to = 0;
        if (!parseMoveText(trial, mover, text, from, to))
            return refuse("position refused: '" + text + "' is not a move in long algebraic notation here" + where);
        const std::vector<Move> legal = legalMoves(trial, mover);
        if (std::find(legal.begin(), legal.end(), Move{from, to}) == legal.end())
            return refuse("position refused: illegal move " + text + where);
        makeMove(trial, from, to, mover);
        if (trial.halfmoveClock > fenCounterLimit || (mover == black && fullmove == fenCounterLimit))
            return refuse("position refused: the move counters pass " + std::to_string(fenCounterLimit) + where);
        texts.push_back(text);
        played.push_back({from, to});
        k2.push_back(trial.key2);
        k3.push_back(trial.key3);
        if (mover == black) ++fullmove;
        mover = 1 - mover;
    }

    // A position that does not continue the game is a new game in all but
    // name: a mate announced in the old one is not carried out here.
    const bool continues = start == baseFen && texts.size() >= moveTexts.size() &&
                           std::equal(moveTexts.begin(), moveTexts.end(), texts.begin());
    if (!continues) searcher->mateMode = 0;
    game = trial;
    side = mover;
    fullmoveNumber = fullmove;
    baseFen = start;
    moveTexts = std::move(texts);
    moves = std::move(played);
    keys2 = std::move(k2);
    keys3 = std::move(k3);
}

void UciSession::loadHistory() {
    // A game longer than the history keeps its latest plies, which are the
    // ones repetitions are found among.
    const int plies = int(moves.size());
    const int first = std::max(0, plies - historyCapacity);
    gameHistory.moveCount = plies - first;
    for (int i = 0; i <= gameHistory.moveCount; ++i) {
        gameHistory.historyKey1[i] = keys2[first + i];
        gameHistory.historyKey2[i] = keys3[first + i];
        gameHistory.historyMoves[i] = i == 0 ? Move{0, 0} : moves[first + i - 1];
    }
}

int64_t UciSession::elapsedMs() const { return nowMs() - goStartMs; }

int64_t UciSession::searchedNodes() const { return searcher->nodeCount + helpers.nodes(); }

Move UciSession::bookMove() {
    if (!settings.useBook || int(moves.size()) > bookPlies) return {0, 0};
    book->verbose = 1;
    // The checker marks the board it tests; the game stays as it is.
    posicion trial = game;
    return legalBookMove(*book, trial, side);
}

Move UciSession::searchMove(const std::vector<Move>& candidates, bool restricted) {
    // A limited engine searches alone, to a node budget, and scores the
    // lines it may choose among.
    const StrengthPlan strength = strengthFor(limitedElo);
    if (limitStrength) limits.nodes = limits.nodes > 0 ? std::min(limits.nodes, strength.nodes) : strength.nodes;
    const TimePlan plan = limits.infinite || limits.ponder ? TimePlan{} : planTime(limits, side, moveOverheadMs);
    ponderPlan = limits.infinite ? TimePlan{} : planTime(limits, side, moveOverheadMs);
    hardDeadlineMs = plan.hardLimitMs >= 0 ? goStartMs + plan.hardLimitMs : -1;
    setDepthLimit(limits.depth);
    searcher->moveBudgetCentiseconds = plan.budgetCentiseconds;
    searcher->linesWanted = limitStrength ? std::max(linesWanted, strength.lines) : linesWanted;
    searcher->helpers = limitStrength ? nullptr : &helpers;
    searcher->onlyMoveCount = restricted ? int(candidates.size()) : 0;
    std::copy(candidates.begin(), candidates.begin() + searcher->onlyMoveCount, searcher->onlyMoves);

    // A mate under way is carried out over the next moves; in the position
    // where it was found it has come no nearer, and is searched anew.
    if (playedPlies() == mateFoundAtPly) searcher->mateMode = 0;
    searching = this;
    setPollHook(pollSession);
    thinkingListener = reportThinking;
    startSearch(*searcher, game, side);
    if (searcher->mateMode) mateFoundAtPly = playedPlies();
    thinkingListener = nullptr;
    setPollHook(nullptr);
    searching = nullptr;
    setDepthLimit(0);
    searcher->moveBudgetCentiseconds = 0;

    // Too little material to play for ends the search before it starts,
    // without a move: any legal move keeps the draw.
    const SearchResult& r = searcher->result;
    Move found{r.from, r.to};
    if (limitStrength && r.status == 0 && searcher->lineCount > 1) {
        const double u = std::uniform_real_distribution<double>(0, 1)(random);
        found = searcher->lines[chooseLine(searcher->lines, searcher->lineCount, strength, u)].move;
    }
    if ((r.status == 0 || r.status == 1) && std::find(candidates.begin(), candidates.end(), found) != candidates.end())
        return found;
    return candidates.front();
}

void UciSession::go(const std::vector<std::string>& words) {
    bool depthClamped = false;
    const std::string error = parseGoLimits(words, limits, depthClamped);
    if (!error.empty()) return refuse("go refused: " + error);
    if (depthClamped) refuse("depth limited to " + std::to_string(deepestGoDepth));

    goStartMs = nowMs();
    prepareTables();
    loadHistory();
    stopRequested = quitRequested = false;
    reportedNodes = 0;
    reportedMs = goStartMs;
    shownRootMove = {};
    pondering = limits.ponder;
    waitingForRelease = limits.infinite || limits.ponder;

    const std::vector<Move> legal = legalMoves(game, side);
    std::vector<std::string> complaints;
    const std::vector<Move> allowed = namedRootMoves(game, side, legal, limits.searchMoves, complaints);
    for (const std::string& complaint : complaints) refuse(complaint);
    Move best{0, 0};
    std::string ponder;
    if (!legal.empty()) {
        // The book knows nothing of the moves asked for.
        if (allowed.size() == legal.size()) best = bookMove();
        if (best.from != 0) {
            send("info string book move " + moveText(game, best.from, best.to));
        } else {
            best = searchMove(allowed, allowed.size() < legal.size());
            sayLastWord(best);
            ponder = ponderText(best);
        }
    }
    if (waitingForRelease && !stopRequested && !quitRequested) waitForRelease();
    send("bestmove " + (best.from != 0 ? moveText(game, best.from, best.to) + ponder : std::string("0000")));
}

void UciSession::sayLastWord(Move best) {
    // When stop, the clock or the node limit cut the search short, or it
    // ended without a report (mated); several lines stand as their last
    // iteration reported them.
    formatVariation(*searcher, searcher->workBoard, best, principalVariation);
    if (searchedNodes() > reportedNodes) {
        if (linesWanted > 1) {
            send(progressLine(searchState()));
        } else {
            report(plainMark);
        }
    }
    // The root ends at the first mate it proves, shorter or not.
    const int mate = mateInMoves(searcher->bestScore, searcher->mateMode != 0);
    if (limits.mate > 0 && searchedNodes() > 0 && (mate <= 0 || mate > limits.mate))
        send("info string no mate in " + std::to_string(limits.mate) + " found");
}

std::string UciSession::ponderText(Move best) {
    // A move that has just become the best has no exact line yet; the
    // table's move after it is the reply the search met first.
    const Move reply = expectedReply(*searcher, searcher->workBoard, best);
    if (reply.from == 0) return "";
    posicion after = game;
    makeMove(after, best.from, best.to, side);
    return " ponder " + moveText(after, reply.from, reply.to);
}

void UciSession::waitForRelease() {
    std::string line;
    while (input.pop(line)) {
        const std::vector<std::string> words = splitWords(line);
        const std::string command = words.empty() ? "" : words[0];
        if (command == "isready") {
            send("readyok");
        } else if (command == "stop" || (command == "ponderhit" && pondering)) {
            return;
        } else if (command == "quit") {
            quitRequested = true;
            return;
        } else if (!command.empty()) {
            deferred.push_back(line);
        }
    }
    // The input has ended: nobody will say stop.
    quitRequested = true;
}

bool UciSession::poll() {
    std::string line;
    while (!stopRequested && !quitRequested && input.tryPop(line)) {
        const std::vector<std::string> words = splitWords(line);
        const std::string command = words.empty() ? "" : words[0];
        if (command == "isready") {
            send("readyok");
        } else if (command == "stop") {
            stopRequested = true;
        } else if (command == "quit") {
            quitRequested = true;
        } else if (command == "ponderhit") {
            ponderHit();
        } else if (command == "setoption" && changesThreads(words)) {
            refuse("Threads: set between searches, not during one; it stays " + std::to_string(helpers.count() + 1));
        } else if (!command.empty()) {
            deferred.push_back(line);
        }
    }
    if (stopRequested || quitRequested) return true;
    showProgress();
    // Without input no stop can come: an endless search ends here.
    if (waitingForRelease && input.exhausted()) {
        quitRequested = true;
        return true;
    }
    if (hardDeadlineMs >= 0 && nowMs() >= hardDeadlineMs) return true;
    return limits.nodes > 0 && searchedNodes() >= limits.nodes;
}

void UciSession::ponderHit() {
    if (!pondering) return;
    // The move was expected: from now on the clock counts.
    pondering = false;
    waitingForRelease = limits.infinite;
    const int64_t now = nowMs();
    const int nowCentiseconds = elapsedCentiseconds();
    searcher->startTime = nowCentiseconds;
    searcher->stopTime = nowCentiseconds + ponderPlan.budgetCentiseconds;
    hardDeadlineMs = ponderPlan.hardLimitMs >= 0 ? now + ponderPlan.hardLimitMs : -1;
}

ThinkingReport UciSession::searchState() {
    ThinkingReport r;
    r.depth = searcher->iterationDepth;
    r.selDepth = searcher->selDepth;
    r.lateMates = searcher->mateMode != 0;
    r.nodes = searchedNodes();
    r.milliseconds = elapsedMs();
    r.hashFull = tableFullPermille();
    reportedNodes = r.nodes;
    reportedMs = nowMs();
    return r;
}

void UciSession::report(int mark) {
    if (searcher->lineCount > 0) {
        for (const std::string& line : lineReports(*searcher, searchState(), linesWanted)) send(line);
        return;
    }
    ThinkingReport r = searchState();
    r.score = searcher->bestScore;
    r.lowerBound = mark == failHighMark;
    r.upperBound = mark == failLowMark;
    r.variation = variationMoves(principalVariation);
    send(infoLine(r));
}

void UciSession::showProgress() {
    const int64_t now = nowMs();
    const std::array<int, 3> rootMove{searcher->iterationDepth, searcher->rootMoveNumber, searcher->rootMoveIndex};
    if (now - goStartMs >= rootMoveLinesAfterMs && rootMove != shownRootMove) {
        shownRootMove = rootMove;
        const int i = searcher->rootMoveIndex;
        send("info depth " + std::to_string(rootMove[0]) + " currmove " +
             moveText(game, searcher->fullFrom[0][i], searcher->fullTo[0][i]) + " currmovenumber " +
             std::to_string(rootMove[1]));
    }
    if (now - reportedMs >= progressEveryMs) send(progressLine(searchState()));
}

void UciSession::bench(const std::vector<std::string>& words) {
    int depth = 0, threads = 0;
    const std::string usage = readBenchArguments(words, depth, threads);
    if (!usage.empty()) return refuse("bench: " + usage);
    const std::string error = printBench(depth, threads, out);
    if (!error.empty()) refuse("bench: " + error);
    // The bench searched with tables of its own, which replaced ours.
    tablesStale = true;
}

}  // namespace zarvi
