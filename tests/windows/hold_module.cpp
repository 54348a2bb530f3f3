// hold_module PATH SECONDS [UNTIL_FILE]
// Keeps the module PATH loaded the way the host keeps the plug-in: Windows
// then refuses to open the file for writing or to delete it (a rename it
// allows). Prints "loaded PATH" once the module is in, then keeps it for
// SECONDS or until UNTIL_FILE exists, whichever comes first. Exit code 0
// when it held the module, 1 when it could not load it, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: hold_module PATH SECONDS [UNTIL_FILE]\n");
        return 2;
    }
    const char* path = argv[1];
    const int seconds = std::atoi(argv[2]);
    const char* until = argc == 4 ? argv[3] : nullptr;
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        std::fprintf(stderr, "hold_module: cannot load %s: error %lu\n", path, GetLastError());
        return 1;
    }
    std::printf("loaded %s\n", path);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000 && !(until && Exists(until)))
        Sleep(50);
    FreeLibrary(module);
    return 0;
}
