// The lines that reach the engine binary on its input, in order. A reader
// thread fills the queue from standard input, so that the single-threaded
// session can look at it from the search's poll without blocking; the
// tests fill it themselves.
#pragma once

#include <condition_variable>
#include <deque>
#include <istream>
#include <memory>
#include <mutex>
#include <string>

namespace zarvi {

class InputQueue {
public:
    void push(const std::string& line);
    // No more lines will come (the input has ended).
    void close();

    // Waits for the next line; false once the queue is closed and empty.
    bool pop(std::string& line);
    // The next line if one is waiting.
    bool tryPop(std::string& line);
    // Closed and empty: nothing will ever come.
    bool exhausted();

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::string> lines;
    bool closed = false;
};

// Starts a detached thread that pushes every line of input (without its
// line break or trailing blanks) and closes the queue at the end of input.
// The thread shares the queue: it may still wait for input after the
// session has ended, and the queue lives as long as either needs it.
void startReader(std::istream& input, std::shared_ptr<InputQueue> queue);

}  // namespace zarvi
