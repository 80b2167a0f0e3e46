// The engine binary as the soak test's opponent: a child process spoken to
// through pipes, one line at a time, with a time limit on every answer.
// POSIX only, like the rest of the soak test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace zarvi::soak {

class ChildProcess {
public:
    // Starts program with no arguments; its standard error is discarded
    // (the book lists its candidates there).
    explicit ChildProcess(const std::string& program);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid > 0 && !gone; }
    // false once the child no longer reads its input.
    bool send(const std::string& line);
    // The next line within the time; false on time-out or end of output.
    bool readLine(std::string& line, int64_t timeoutMs);
    // Lines until one starting with prefix, which is left in line; false
    // on time-out or end of output.
    bool readUntil(const std::string& prefix, std::string& line, int64_t timeoutMs);
    // Closes the input and waits a moment for the child to end, then kills
    // it; returns how it ended ("exit 0", "signal 11", "killed").
    std::string stop();

private:
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    bool gone = false;
    std::string buffer;
};

}  // namespace zarvi::soak
