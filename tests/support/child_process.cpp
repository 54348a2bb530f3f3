// A program started by a test (POSIX).
#include "support/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace test {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    pipe_ = fds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (pipe_ >= 0) close(pipe_);
}

bool ChildProcess::ReadSome(int timeoutMilliseconds) {
    pollfd fd{pipe_, POLLIN, 0};
    if (poll(&fd, 1, timeoutMilliseconds) <= 0) return false;
    char buffer[4096];
    ssize_t count = read(pipe_, buffer, sizeof buffer);
    if (count <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool ChildProcess::WaitForLine(const std::string& text, int timeoutMilliseconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    for (;;) {
        std::size_t found = output_.find(text, searched_);
        if (found != std::string::npos) {
            searched_ = found + text.size();
            return true;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0 || !ReadSome(static_cast<int>(left))) return false;
    }
}

void ChildProcess::Signal(int signalNumber) {
    if (pid_ > 0) kill(pid_, signalNumber);
}

int ChildProcess::Wait(int timeoutMilliseconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    int status = 0;
    while (pid_ > 0) {
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            while (ReadSome(0)) {}
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        ReadSome(20);
    }
    return -1;
}

}  // namespace test
