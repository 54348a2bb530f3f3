// What the fuzz targets share: a scratch working directory for the run,
// the host's clock at a fixed moment, reading files whole, and a check
// that stops the run with a message when a property does not hold.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "plumbing/host.h"

namespace fuzz {

// Enters a fresh directory for the whole run; the plug-in's relative paths
// (LOGS\TELEFONY\...) and the host's INI files land there. It lies in
// memory (/dev/shm) where there is such a place: a disk file system makes
// every replaced file wait for the disk, and a run replaces millions. It is
// removed when the process ends normally.
inline void EnterScratchDirectory() {
    // A plain array: it outlives every exit handler, unlike a string.
    static char path[64];
    static bool entered = false;
    if (entered) return;
    std::snprintf(path, sizeof path, "%s/callerid-fuzz-XXXXXX", access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    if (!mkdtemp(path)) {
        std::perror("mkdtemp");
        std::abort();
    }
    entered = true;
    std::filesystem::current_path(path);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(path, ignored);
    });
}

// The host's clock stands still, so that one input always gives the same
// dates and times.
inline void FixHostClock() { refhost::FixClock({2026, 12, 8, 10, 0, 0}); }

// The host prints each console line; a run of millions of inputs must not.
inline void QuietHost() { refhost::SetConsoleSink([](std::string_view) {}); }

// The host also keeps its last console lines for tests to read; an input
// that leaves them behind looks like a leak to the fuzzer, which then
// searches the heap after every input.
inline void ForgetConsoleLines() { refhost::TakeConsoleLines(); }

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWhole(const std::string& path, const std::string& bytes) {
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A property that must hold for every input; a failure is a finding.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: property broken: %s\n", what);
    std::abort();
}

}  // namespace fuzz
