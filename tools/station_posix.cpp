// The console, Ctrl-C and the computer name on POSIX systems: the terminal
// takes UTF-8 as it is.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <string>

#include "station.h"

static std::atomic<bool> g_interrupted{false};

static void NoteInterrupt(int) { g_interrupted.store(true); }

static std::string Formatted(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

void Print(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::fputs(Formatted(format, arguments).c_str(), stdout);
    va_end(arguments);
}

void PrintTo(std::FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::fputs(Formatted(format, arguments).c_str(), stream);
    va_end(arguments);
}

void CatchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return g_interrupted.load(); }

std::string StationComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return std::string(name).substr(0, 14);
}
