// hold_file PATH SECONDS [UNTIL_FILE [SHARING]]
// Holds PATH open as another program does. SHARING says what it lets
// others do meanwhile: rw (the default: reading and writing, as a reader
// of the slot file, an editor or a backup does), rwd (deleting and
// renaming over it too), r (reading only: it refuses writers). Prints
// "holding PATH" once the file is open, then keeps it open for SECONDS or
// until UNTIL_FILE exists, whichever comes first. Exit code 0 when it held
// the file, 1 when the file could not be opened, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int main(int argc, char** argv) {
    const char* sharing = argc == 5 ? argv[4] : "rw";
    DWORD share = FILE_SHARE_READ;
    if (std::strcmp(sharing, "rw") == 0) share |= FILE_SHARE_WRITE;
    else if (std::strcmp(sharing, "rwd") == 0) share |= FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    else if (std::strcmp(sharing, "r") != 0) argc = 0;
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: hold_file PATH SECONDS [UNTIL_FILE [rw|rwd|r]]\n");
        return 2;
    }
    const char* path = argv[1];
    const int seconds = std::atoi(argv[2]);
    const char* until = argc >= 4 ? argv[3] : nullptr;
    HANDLE file = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: cannot open %s: error %lu\n", path, GetLastError());
        return 1;
    }
    std::printf("holding %s\n", path);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000 && !(until && Exists(until)))
        Sleep(50);
    CloseHandle(file);
    return 0;
}
