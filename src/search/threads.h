// The helper threads of a search on several threads (lazy SMP). Each runs
// the main search's root on a searcher of its own, silently and without a
// clock, until the main search ends and stops it; the helpers share nothing
// with it but the transposition table, where each finds what the others
// have learnt (each evaluates through its own share of the cache). The engine binary gives its searcher
// one; the window program has none and searches on its one thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zarvi {

class buscador;

// The most threads a search may use: the main one and its helpers.
constexpr int maxThreads = 256;

class SearchHelpers {
public:
    SearchHelpers() = default;
    SearchHelpers(const SearchHelpers&) = delete;
    SearchHelpers& operator=(const SearchHelpers&) = delete;
    // Ends every thread (they are idle between searches).
    ~SearchHelpers();

    // The number of helper threads; changed only between searches.
    void resize(int count);
    int count() const { return int(helpers.size()); }

    // Every helper starts searching the root that main has set up.
    void start(const buscador& main);
    // Every helper leaves its search; returns once all have. Does nothing
    // when none is searching.
    void stop();
    // The nodes the helpers have searched: what each published at its
    // last poll, exact once they have stopped.
    int64_t nodes() const;

private:
    struct Helper {
        std::unique_ptr<buscador> searcher;
        std::thread thread;
    };
    // A helper's life: waits for each search after the seen-th, searches,
    // reports back, until the end.
    void run(buscador& searcher, unsigned seen);

    std::vector<Helper> helpers;
    std::mutex mutex;
    std::condition_variable wake;  // a new search, or the end
    std::condition_variable done;  // a helper has left its search
    unsigned generation = 0;       // searches started so far
    int searching = 0;             // helpers not yet back from this one
    bool ending = false;
    std::atomic<bool> stopSignal{false};
};

}  // namespace zarvi
