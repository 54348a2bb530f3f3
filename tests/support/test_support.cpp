// Shared test helpers.
#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plumbing/host.h"
#include "support/network_isolation.h"

namespace test {

// Every test process runs in a network of its own, entered before anything
// starts a thread: the plug-in broadcasts a restart whenever its window
// closes, and those broadcasts must come back to loopback and go nowhere
// else. Ports cannot clash between tests run side by side either.
static const bool g_networkIsolated = [] {
    std::string why;
    return IsolateNetwork(why);
}();

bool NetworkIsolated() { return g_networkIsolated; }

ScratchDirectory::ScratchDirectory() {
    previous_ = std::filesystem::current_path().string();
    char pattern[] = "/tmp/callerid-test-XXXXXX";
    path_ = mkdtemp(pattern);
    std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

ProgramResult RunProgram(const std::string& commandLine, int timeoutSeconds) {
    std::string command = "timeout -k 5 " + std::to_string(timeoutSeconds) + " " + commandLine + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "cannot start: " + commandLine};
    std::string output;
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    int status = pclose(pipe);
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {code, output};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string TakeConsole() {
    std::string text;
    for (const std::string& line : refhost::TakeConsoleLines()) text += line + "\n";
    return text;
}

std::string Unwrapped(const std::string& output) {
    std::string joined;
    for (std::size_t at = 0; at < output.size(); ++at) {
        if (output[at] == '\n' && at + 1 < output.size() && output[at + 1] == ' ') {
            while (at + 1 < output.size() && output[at + 1] == ' ') ++at;
            joined += ' ';
        } else {
            joined += output[at];
        }
    }
    return joined;
}

}  // namespace test
