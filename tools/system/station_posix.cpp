// The console, Ctrl-C and the computer name on POSIX systems: the terminal
// takes UTF-8 as it is.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "system/station.h"

static std::atomic<bool> g_interrupted{false};

static void NoteInterrupt(int) { g_interrupted.store(true); }

void CatchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return g_interrupted.load(); }

void WriteText(std::FILE* stream, const std::string& utf8) { std::fputs(utf8.c_str(), stream); }

std::string StationComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return std::string(name).substr(0, 14);
}
