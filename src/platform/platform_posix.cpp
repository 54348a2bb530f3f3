// POSIX implementation of the operating system seam (the native build).
// The host module named "MERLOX" is the loaded libMERLOX.so, and the host's
// export by ordinal N is its symbol ordinal_N.
#include "platform/platform.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

// Runs before the library's other static initialisers (those bind the host
// services and need the host module).
[[gnu::constructor(101)]] static void OnProcessAttach() {
    AttachModule(reinterpret_cast<ModuleHandle>(&OnProcessAttach), true);
}

std::size_t GetOwnModulePath(ModuleHandle instance, char* path, std::size_t size) {
    Dl_info info{};
    if (size == 0) return 0;
    if (!dladdr(instance, &info) || !info.dli_fname) {
        path[0] = '\0';
        return 0;
    }
    std::snprintf(path, size, "%s", info.dli_fname);
    return std::strlen(path);
}

ModuleHandle FindLoadedModule(const char* name) {
    char file[300];
    std::snprintf(file, sizeof file, "lib%s.so", name);
    void* module = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
    if (module) dlclose(module);  // the loader keeps it: it was already loaded
    return module;
}

void* FindModuleOrdinal(ModuleHandle module, unsigned ordinal) {
    char symbol[32];
    std::snprintf(symbol, sizeof symbol, "ordinal_%u", ordinal);
    return module ? dlsym(module, symbol) : nullptr;
}

void* FindModuleSymbol(ModuleHandle module, const char* name) {
    return module ? dlsym(module, name) : nullptr;
}

// A debugger is taken to be attached when the process is traced.
bool IsDebuggerAttached() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return false;
    char line[256];
    long tracer = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "TracerPid: %ld", &tracer) == 1) break;
    std::fclose(status);
    return tracer != 0;
}

void WriteDebuggerText(const char* text) {
    std::fputs(text, stderr);
}

static pthread_mutex_t g_sharedState = [] {
    pthread_mutex_t mutex;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    return mutex;
}();

void LockSharedState() { pthread_mutex_lock(&g_sharedState); }
void UnlockSharedState() { pthread_mutex_unlock(&g_sharedState); }

// The POSIX socket layer needs no start-up.
int StartSockets() { return 0; }
void ReleaseSockets() {}
