// The reference host on Windows: the plug-in is a DLL exporting by ordinal.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <string>

#include "plumbing/host.h"
#include "plumbing/system.h"

namespace refhost {

void* LoadPluginLibrary(const std::string& path, std::string& error) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return library;
}

void* PluginExport(void* library, unsigned ordinal) {
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(library), MAKEINTRESOURCEA(ordinal)));
}

// The export's address in the module's export table is cleared, which the
// loader takes for "no such export".
bool WithdrawExport(void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return false;
    auto* base = reinterpret_cast<unsigned char*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    auto* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
    auto rva = static_cast<DWORD>(static_cast<unsigned char*>(address) - base);
    for (DWORD i = 0; i < exports->NumberOfFunctions; ++i) {
        if (functions[i] != rva) continue;
        DWORD old;
        VirtualProtect(&functions[i], sizeof(DWORD), PAGE_READWRITE, &old);
        functions[i] = 0;
        VirtualProtect(&functions[i], sizeof(DWORD), old, &old);
        return true;
    }
    return false;
}

static std::atomic<bool>* g_stopRequested = nullptr;

static BOOL WINAPI OnConsoleControl(DWORD) {
    if (g_stopRequested) g_stopRequested->store(true);
    return TRUE;
}

void InstallStopHandlers(std::atomic<bool>* stopRequested) {
    g_stopRequested = stopRequested;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

std::string ExecutableDirectory() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? "." : full.substr(0, slash);
}

std::string DefaultPluginName() { return "callerid.dll"; }

bool ChangeDirectory(const std::string& dir) { return SetCurrentDirectoryA(dir.c_str()) != 0; }

std::string HostPath(std::string_view path) { return std::string(path); }

// Thread names came with Windows 10; on older systems and where the
// function is missing, threads stay unnamed.
void NameThisThread(const char* name) {
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    auto set = reinterpret_cast<SetDescription>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetThreadDescription")));
    if (!set) return;
    wchar_t wide[64] = {};
    for (int i = 0; i < 63 && name[i]; ++i) wide[i] = static_cast<unsigned char>(name[i]);
    set(GetCurrentThread(), wide);
}

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

// The runtime keeps the converted time in a buffer of each thread's own.
bool SendDatagram(const std::string& address, int port, std::string_view bytes, std::string& error) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "WSAStartup failed";
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    to.sin_addr.s_addr = inet_addr(address.c_str());
    SOCKET handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    BOOL on = TRUE;
    bool sent = handle != INVALID_SOCKET &&
                setsockopt(handle, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) == 0 &&
                sendto(handle, bytes.data(), static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&to),
                       sizeof to) == static_cast<int>(bytes.size());
    if (!sent) error = "sendto failed with error " + std::to_string(WSAGetLastError());
    if (handle != INVALID_SOCKET) closesocket(handle);
    WSACleanup();
    return sent;
}

bool LocalTimeOf(std::time_t moment, std::tm& local) {
    const std::tm* converted = std::localtime(&moment);
    if (!converted) return false;
    local = *converted;
    return true;
}

}  // namespace refhost
