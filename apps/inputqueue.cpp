#include "inputqueue.h"

#include <thread>

namespace zarvi {

void InputQueue::push(const std::string& line) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(line);
    }
    arrived.notify_one();
}

void InputQueue::close() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        closed = true;
    }
    arrived.notify_one();
}

bool InputQueue::pop(std::string& line) {
    std::unique_lock<std::mutex> lock(mutex);
    arrived.wait(lock, [this] { return !lines.empty() || closed; });
    if (lines.empty()) return false;
    line = std::move(lines.front());
    lines.pop_front();
    return true;
}

bool InputQueue::tryPop(std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    if (lines.empty()) return false;
    line = std::move(lines.front());
    lines.pop_front();
    return true;
}

bool InputQueue::exhausted() {
    std::lock_guard<std::mutex> lock(mutex);
    return closed && lines.empty();
}

void startReader(std::istream& input, std::shared_ptr<InputQueue> queue) {
    std::thread([&input, queue = std::move(queue)] {
        // Programs on Windows end their lines with CR LF; some pad them.
        for (std::string line; std::getline(input, line);) {
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
            queue->push(line);
        }
        queue->close();
    }).detach();
}

}  // namespace zarvi
