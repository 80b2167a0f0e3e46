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

int64_t millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

ChildProcess::ChildProcess(const std::string& program, const std::string& errorFile) {
    // A child that dies must show as a failed write, not end the caller.
    signal(SIGPIPE, SIG_IGN);
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    pid = fork();
    if (pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        if (!errorFile.empty()) dup2(open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) close(fd);
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execv(program.c_str(), argv);
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    input = toChild[1];
    output = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (running()) stop();
    closeInput();
    if (output >= 0) close(output);
}

bool ChildProcess::send(const std::string& line) {
    const std::string text = line + "\n";
    for (size_t written = 0; written < text.size();) {
        const ssize_t n = input < 0 ? -1 : write(input, text.data() + written, text.size() - written);
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
    const auto start = std::chrono::steady_clock::now();
    for (size_t end; (end = buffer.find('\n')) == std::string::npos;) {
        const int64_t left = timeoutMs - millisecondsSince(start);
        pollfd p{output, POLLIN, 0};
        if (left <= 0 || output < 0) return false;
        if (poll(&p, 1, int(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(output, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer.append(chunk, size_t(n));
    }
    const size_t end = buffer.find('\n');
    line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return true;
}

std::vector<std::string> ChildProcess::readUntil(const std::string& prefix, int64_t timeoutMs, bool& found) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> lines;
    found = false;
    for (std::string line; !found && readLine(line, timeoutMs - millisecondsSince(start));) {
        lines.push_back(line);
        found = line.compare(0, prefix.size(), prefix) == 0;
    }
    return lines;
}

int ChildProcess::waitExit(int64_t timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    while (!ended && pid > 0 && millisecondsSince(start) < timeoutMs) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ChildProcess::stop() {
    if (!running()) return "not running";
    closeInput();
    const int code = waitExit(2000);
    if (code >= 0) return code < 128 ? "exit " + std::to_string(code) : "signal " + std::to_string(code - 128);
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ended = true;
    return "killed";
}

}  // namespace zarvi::test

#endif
