// A program as another program meets it: a child process spoken to through
// pipes, one line at a time, with a time limit on every answer. The UCI
// process tests and the stress test drive the engine binary with it. POSIX
// only; under wine those tests run in-process or not at all.
#pragma once
#if !defined(_WIN32)

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zarvi::test {

int64_t millisecondsSince(std::chrono::steady_clock::time_point start);

class ChildProcess {
public:
    // Starts program; its standard error goes to errorFile when one is
    // named (the book lists its candidates there, a sanitizer its reports),
    // else where ours goes.
    explicit ChildProcess(const std::string& program, const std::string& errorFile = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid > 0 && !ended; }
    // false once the child no longer reads its input.
    bool send(const std::string& line);
    // End of input for the child, as when its user closes the pipe.
    void closeInput();
    // The next line within the time; false on time-out or end of output.
    bool readLine(std::string& line, int64_t timeoutMs);
    // The lines up to and including the first that starts with prefix;
    // found tells whether it came within the time.
    std::vector<std::string> readUntil(const std::string& prefix, int64_t timeoutMs, bool& found);
    // The exit code once the child has ended within the time (128 plus the
    // signal if one ended it), else -1.
    int waitExit(int64_t timeoutMs);
    // Closes the input, gives the child two seconds to end, then kills it;
    // says how it ended ("exit 0", "signal 11", "killed").
    std::string stop();

private:
    pid_t pid = -1;
    int input = -1, output = -1;  // our ends of the pipes
    bool ended = false;
    int status = 0;
    std::string buffer;
};

}  // namespace zarvi::test

#endif
