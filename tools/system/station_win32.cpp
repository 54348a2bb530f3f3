// The console, Ctrl-C and the computer name on Windows. Text for a console
// is handed to it as UTF-16, so that the Polish letters the commands print
// in UTF-8 come out right whatever the console's code page; output that
// goes to a file or a pipe passes unchanged, in UTF-8.
#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <string>

#include "net/sender_list.h"
#include "output/language.h"
#include "system/station.h"

static volatile LONG g_interrupted = 0;

static BOOL WINAPI NoteInterrupt(DWORD) {
    InterlockedExchange(&g_interrupted, 1);
    return TRUE;
}

// A console gets the text as UTF-16; anything else the bytes as they are.
void WriteText(std::FILE* stream, const std::string& utf8) {
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (utf8.empty() || !GetConsoleMode(handle, &mode)) {
        // stderr is flushed at once: what the tool says there (a wait, an
        // error) reaches a file or a pipe even when the run is stopped.
        std::fputs(utf8.c_str(), stream);
        if (stream == stderr) std::fflush(stream);
        return;
    }
    std::fflush(stream);
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

void CatchInterrupt() { SetConsoleCtrlHandler(NoteInterrupt, TRUE); }

bool Interrupted() { return InterlockedCompareExchange(&g_interrupted, 0, 0) != 0; }

std::string StationComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof name;
    if (!GetComputerNameA(name, &length)) return {};
    return std::string(name).substr(0, 14);
}

// A module path as a user writes it: GetModuleFileNameW may keep the
// "\\?\" form the module was loaded by, and Wine gives a program started
// from \\server\share as "UNC\server\share\...".
static std::wstring PlainPath(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) path.erase(0, 8).insert(0, L"\\\\");
    else if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    else if (path.rfind(L"UNC\\", 0) == 0) path.erase(0, 4).insert(0, L"\\\\");
    return path;
}

std::string ExecutableDirectory() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return ".";
    std::wstring wide = PlainPath(std::wstring(path, length));
    wide.erase(wide.find_last_of(L"\\/") == std::wstring::npos ? 0 : wide.find_last_of(L"\\/"));
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8.empty() ? "." : utf8;
}

const char* PluginFileName() { return "callerid.dll"; }
const char* PortHolderCommand() { return "netstat -ano -p udp"; }
const char* ProgramListCommand() { return "tasklist"; }
const char* HostModuleFileName() { return "MERLOX.DLL"; }

// The user's language for programs' texts (Windows 2000 and later).
Language SystemLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_POLISH ? Language::Polish : Language::English;
}

bool StandardOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// Windows Sockets' own interface list, as the plug-in reads it.
void ListLocalSubnets(SenderList& subnets) {
    subnets = SenderList{};
    AddSenderRange(&subnets, kLoopbackRange);
    AddSenderRange(&subnets, {0, 0});
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    INTERFACE_INFO list[16];
    DWORD bytes = 0;
    if (probe != INVALID_SOCKET &&
        WSAIoctl(probe, SIO_GET_INTERFACE_LIST, nullptr, 0, list, sizeof list, &bytes, nullptr, nullptr) == 0) {
        for (DWORD i = 0; i < bytes / sizeof list[0]; ++i)
            if (list[i].iiFlags & IFF_UP)
                AddSenderRange(&subnets, SubnetOf(ntohl(list[i].iiAddress.AddressIn.sin_addr.s_addr),
                                                  ntohl(list[i].iiNetmask.AddressIn.sin_addr.s_addr)));
    }
    if (probe != INVALID_SOCKET) closesocket(probe);
    WSACleanup();
}
