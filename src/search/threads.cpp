#include "search/threads.h"

#include "search/buscador.h"
#include "search/search.h"

namespace zarvi {

SearchHelpers::~SearchHelpers() { resize(0); }

void SearchHelpers::resize(int count) {
    if (count == int(helpers.size())) return;
    stop();
    {
        std::lock_guard<std::mutex> lock(mutex);
        ending = true;
    }
    wake.notify_all();
    for (Helper& h : helpers) h.thread.join();
    helpers.clear();
    ending = false;
    for (int i = 1; i <= count; ++i) {
        Helper h;
        h.searcher = std::make_unique<buscador>(i, stopSignal);
        buscador& searcher = *h.searcher;
        h.thread = std::thread([this, &searcher, seen = generation] { run(searcher, seen); });
        helpers.push_back(std::move(h));
    }
}

void SearchHelpers::start(const buscador& main) {
    if (helpers.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopSignal.store(false, std::memory_order_relaxed);
        for (Helper& h : helpers) prepareHelper(*h.searcher, main, count() + 1);
        searching = int(helpers.size());
        ++generation;
    }
    wake.notify_all();
}

void SearchHelpers::stop() {
    stopSignal.store(true, std::memory_order_relaxed);
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return searching == 0; });
}

int64_t SearchHelpers::nodes() const {
    int64_t sum = 0;
    for (const Helper& h : helpers) sum += h.searcher->publishedNodes.load(std::memory_order_relaxed);
    return sum;
}

void SearchHelpers::run(buscador& searcher, unsigned seen) {
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return ending || generation != seen; });
            if (ending) return;
            seen = generation;
        }
        searchAsHelper(searcher);
        {
            std::lock_guard<std::mutex> lock(mutex);
            --searching;
        }
        done.notify_all();
    }
}

}  // namespace zarvi
