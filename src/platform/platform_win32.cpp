// Win32 implementation of the operating system seam (the shipped DLL).
#include "platform/platform.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE, DWORD, LPVOID);

// The DLL's entry point (set at link time). The frame learns who and where
// it is and finds the host before the runtime's start-up code runs the
// static initialisers, which bind the host services.
extern "C" BOOL WINAPI PluginEntryPoint(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    AttachModule(instance, reason == DLL_PROCESS_ATTACH);
    return DllMainCRTStartup(instance, reason, reserved);
}

std::size_t GetOwnModulePath(ModuleHandle instance, char* path, std::size_t size) {
    if (size == 0) return 0;
    DWORD length = GetModuleFileNameA(static_cast<HMODULE>(instance), path, static_cast<DWORD>(size));
    if (length >= size) length = static_cast<DWORD>(size - 1);
    path[length] = '\0';
    return length;
}

ModuleHandle FindLoadedModule(const char* name) {
    return GetModuleHandleA(name);
}

void* FindModuleOrdinal(ModuleHandle module, unsigned ordinal) {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}

void* FindModuleSymbol(ModuleHandle module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

bool IsDebuggerAttached() { return IsDebuggerPresent() != FALSE; }

void WriteDebuggerText(const char* text) { OutputDebugStringA(text); }

// A critical section may be entered again by the thread that owns it.
static CRITICAL_SECTION g_sharedState;
static INIT_ONCE g_sharedStateOnce = INIT_ONCE_STATIC_INIT;

static BOOL CALLBACK InitSharedState(PINIT_ONCE, PVOID, PVOID*) {
    InitializeCriticalSection(&g_sharedState);
    return TRUE;
}

void LockSharedState() {
    InitOnceExecuteOnce(&g_sharedStateOnce, InitSharedState, nullptr, nullptr);
    EnterCriticalSection(&g_sharedState);
}

void UnlockSharedState() { LeaveCriticalSection(&g_sharedState); }

int StartSockets() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
}

void ReleaseSockets() { WSACleanup(); }
