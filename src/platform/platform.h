// The operating system seam. The plug-in reaches the system only through
// these functions; platform_win32.cpp and platform_posix.cpp implement them
// with the same names. Types that differ between the two are defined here.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define HOSTAPI __stdcall     // callee cleans the arguments
#define HOSTVA __cdecl        // caller cleans (variadic services, thread procedure)
#define PLUGIN_EXPORT extern "C"
#else
#define HOSTAPI
#define HOSTVA
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using ModuleHandle = void*;

#if defined(_WIN32)
using SocketHandle = uint32_t;  // SOCKET is 32 bits wide on i686
#else
using SocketHandle = int32_t;
#endif

// Called by the platform's process-attach hook before any static
// initialiser of the library runs (defined by the plug-in frame).
void AttachModule(ModuleHandle instance, bool processAttach);

// Modules and debugger.
std::size_t GetOwnModulePath(ModuleHandle instance, char* path, std::size_t size);
ModuleHandle FindLoadedModule(const char* name);
void* FindModuleOrdinal(ModuleHandle module, unsigned ordinal);
bool IsDebuggerAttached();
void WriteDebuggerText(const char* text);

// The plug-in's one lock: it keeps the listener thread and the user-interface
// thread apart where they share the slot image, the slot file and the
// settings. It may be taken again by the thread that holds it.
void LockSharedState();
void UnlockSharedState();

struct SharedStateLock {
    SharedStateLock() { LockSharedState(); }
    ~SharedStateLock() { UnlockSharedState(); }
    SharedStateLock(const SharedStateLock&) = delete;
    SharedStateLock& operator=(const SharedStateLock&) = delete;
};

void* FindModuleSymbol(ModuleHandle module, const char* name);

// Sockets.
int StartSockets();      // 0 on success
void ReleaseSockets();
