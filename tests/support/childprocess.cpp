#if !defined(_WIN32)

#include "support/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace zarvi::test {

namespace {

using Clock = std::chrono::steady_clock;

int64_t millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           bool discardErrors) {
    // A child that dies must show as a failed write, not end the caller.
    signal(SIGPIPE, SIG_IGN);
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0) return;
    if (pipe(fromChild) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return;
    }
    pid = fork();
    if (pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        const int devNull = discardErrors ? open("/dev/null", O_WRONLY) : -1;
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1], devNull})
            if (fd > STDERR_FILENO) close(fd);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    input = toChild[1];
    output = fromChild[0];
    if (pid < 0) {
        close(input);
        close(output);
        input = output = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (running()) stop();
    closeInput();
    if (output >= 0) close(output);
}

bool ChildProcess::send(const std::string& line) {
    if (input < 0) return false;
    const std::string text = line + "\n";
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(input, text.data() + written, text.size() - written);
        if (n <= 0) return false;
        written += size_t(n);
    }
    return true;
}

void ChildProcess::closeInput() {
    if (input >= 0) close(input);
    input = -1;
}

bool ChildProcess::readLine(std::string& line, int64_t timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        const size_t end = buffer.find('\n');
        if (end != std::string::npos) {
            line = buffer.substr(0, end);
            buffer.erase(0, end + 1);
            return true;
        }
        const int64_t left = timeoutMs - millisecondsSince(start);
        if (left <= 0 || output < 0) return false;
        pollfd p{output, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(output, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer.append(chunk, size_t(n));
    }
}

std::vector<std::string> ChildProcess::readUntil(const std::string& prefix, int64_t timeoutMs, bool& found) {
    const Clock::time_point start = Clock::now();
    std::vector<std::string> lines;
    found = false;
    std::string line;
    while (readLine(line, timeoutMs - millisecondsSince(start))) {
        lines.push_back(line);
        if (line.compare(0, prefix.size(), prefix) == 0) {
            found = true;
            break;
        }
    }
    return lines;
}

int ChildProcess::waitExit(int64_t timeoutMs) {
    const Clock::time_point start = Clock::now();
    while (!ended && pid > 0 && millisecondsSince(start) < timeoutMs) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ChildProcess::stop() {
    if (!running()) return "not running";
    closeInput();
    if (waitExit(2000) >= 0)
        return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                                 : "signal " + std::to_string(WTERMSIG(status));
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ended = true;
    return "killed";
}

}  // namespace zarvi::test

#endif
