// What the tests share: a scratch working directory per test, running
// programs, and reading the reference host's console.
#pragma once

#include <string>
#include <vector>

namespace test {

// A fresh directory that is the current directory for the test's life.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

struct ProgramResult {
    int exitCode;          // -1 when it did not exit normally
    std::string output;    // stdout and stderr together
};

// Runs a command line through the shell, with a time limit in seconds.
ProgramResult RunProgram(const std::string& commandLine, int timeoutSeconds = 30);

// A tool's output with each line that goes on from the one above (it
// starts with blanks, as the tool's 79-column wrapping leaves it) joined
// to it by one blank: a sentence can then be looked for whole.
std::string Unwrapped(const std::string& output);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Whether this test process got a network of its own (loopback only, the
// broadcast address routed to it). Tests whose plug-in broadcasts skip
// without it.
bool NetworkIsolated();

// Everything the reference host printed since the last call, in one text.
std::string TakeConsole();

}  // namespace test
