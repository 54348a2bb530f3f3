// The console, Ctrl-C and the computer name on Windows. The console's
// output code page is set to UTF-8 for the life of the process, so that the
// Polish letters the commands print in UTF-8 come out right; output that
// goes to a file or a pipe passes unchanged.
#include <windows.h>

#include <cstdio>

#include "station.h"

static volatile LONG g_interrupted = 0;
static UINT g_previousCodePage = 0;

static void RestoreCodePage() {
    std::fflush(stdout);
    if (g_previousCodePage != 0) SetConsoleOutputCP(g_previousCodePage);
}

static BOOL WINAPI NoteInterrupt(DWORD) {
    InterlockedExchange(&g_interrupted, 1);
    return TRUE;
}

void PrepareConsole() {
    g_previousCodePage = GetConsoleOutputCP();
    if (g_previousCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreCodePage);
    else g_previousCodePage = 0;
    // A whole line reaches the console in one write, so that no letter's
    // bytes are split between two writes.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 14);
}

void CatchInterrupt() { SetConsoleCtrlHandler(NoteInterrupt, TRUE); }

bool Interrupted() { return InterlockedCompareExchange(&g_interrupted, 0, 0) != 0; }

std::string StationComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof name;
    if (!GetComputerNameA(name, &length)) return {};
    return std::string(name).substr(0, 14);
}
