// A program started by a test, with its output read line by line and
// signals sent to it: for tests of whole programs (refhost, callerid).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace test {

class ChildProcess {
public:
    // Starts the program with the arguments; stdout and stderr are read
    // together. The working directory is the test's current directory.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads output until a line contains the text or the time runs out.
    bool WaitForLine(const std::string& text, int timeoutMilliseconds = 10000);
    void Signal(int signalNumber);
    // Waits for the program to end; -1 when it did not end in time (it is
    // then killed) or did not exit normally.
    int Wait(int timeoutMilliseconds = 10000);
    const std::string& output() const { return output_; }
    // The running program's process id (for /proc), or -1 once it ended.
    pid_t pid() const { return pid_; }

private:
    bool ReadSome(int timeoutMilliseconds);

    pid_t pid_ = -1;
    int pipe_ = -1;
    std::string output_;
    std::size_t searched_ = 0;
};

}  // namespace test
