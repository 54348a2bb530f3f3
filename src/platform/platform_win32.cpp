// Win32 implementation of the operating system seam (the shipped DLL).
#include "platform/platform.h"

#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include <io.h>

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

// The plug-in's lock and this station's turn at the slot file are
// semaphores of one count: unlike a critical section, the thread that
// holds one cannot take it again, and a wait for one can be bounded
// (Windows Vista, the floor, has no timed take of a slim lock).
static HANDLE g_sharedState = nullptr;
static HANDLE g_stationTurn = nullptr;
static INIT_ONCE g_locksOnce = INIT_ONCE_STATIC_INIT;

static BOOL CALLBACK MakeLocks(PINIT_ONCE, PVOID, PVOID*) {
    g_sharedState = CreateSemaphoreA(nullptr, 1, 1, nullptr);
    g_stationTurn = CreateSemaphoreA(nullptr, 1, 1, nullptr);
    return g_sharedState && g_stationTurn;
}

static HANDLE Lock(HANDLE& lock) {
    InitOnceExecuteOnce(&g_locksOnce, MakeLocks, nullptr, nullptr);
    return lock;
}

static bool TryLockFor(HANDLE lock, int milliseconds) {
    return WaitForSingleObject(lock, static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0)) == WAIT_OBJECT_0;
}

void LockSharedState() {
    NoteSharedStateWanted();
    WaitForSingleObject(Lock(g_sharedState), INFINITE);
    NoteSharedStateTaken();
}

void UnlockSharedState() {
    NoteSharedStateReleased();
    ReleaseSemaphore(Lock(g_sharedState), 1, nullptr);
}

bool TryLockSharedStateFor(int milliseconds) {
    NoteSharedStateWanted();
    if (!TryLockFor(Lock(g_sharedState), milliseconds)) return false;
    NoteSharedStateTaken();
    return true;
}

bool FileExists(const char* path) {
    NoteFileWork("a look for a file");
    if (TakeFileFault(FileCall::Exists)) return false;
    return _access(path, 0) == 0;
}

// CREATE_NEW fails on a file that is there, whatever a share's cache says
// of it: the server decides.
int CreateNewFile(const char* path) {
    NoteFileWork("a change of a file's name or existence");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return kFileCreated;
    }
    DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return kFileExisted;
    SetLastError(error);
    return -1;
}

int LastSystemError() { return static_cast<int>(GetLastError()); }
void ClearSystemError() { SetLastError(0); }
bool IsSharingRefusal(int systemError) {
    return systemError == ERROR_SHARING_VIOLATION || systemError == ERROR_LOCK_VIOLATION;
}

int RemoveFile(const char* path) {
    NoteFileWork("a change of a file's name or existence");
    if (TakeFileFault(FileCall::Remove)) return -1;
    return std::remove(path) == 0 ? 0 : -1;
}

// The runtime's rename refuses an existing target; the kernel's move
// replaces it in one step.
int RenameFileOver(const char* from, const char* to) {
    NoteFileWork("a change of a file's name or existence");
    if (TakeFileFault(FileCall::Rename)) return -1;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -1;
}

// A name that does not fit the size it is asked with makes the call fail;
// it is then fetched whole and cut, so the text is always terminated.
void GetComputerNameText(char* name, std::size_t size) {
    if (size == 0) return;
    DWORD length = static_cast<DWORD>(size);
    if (GetComputerNameA(name, &length)) return;
    char full[MAX_COMPUTERNAME_LENGTH + 1] = {};
    length = sizeof full;
    if (!GetComputerNameA(full, &length)) full[0] = '\0';
    std::snprintf(name, size, "%s", full);
}

// Windows Sockets keeps the count itself; this copy of it lets the plug-in
// and its tests see whether start-ups and releases are balanced.
static volatile LONG g_socketStarts = 0;

int StartSockets() {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Start, &fault)) return fault;
    WSADATA data;
    int error = WSAStartup(MAKEWORD(2, 2), &data);
    if (error == 0) InterlockedIncrement(&g_socketStarts);
    return error;
}

void ReleaseSockets() {
    if (WSACleanup() == 0) InterlockedDecrement(&g_socketStarts);
}

int SocketStartCount() { return static_cast<int>(g_socketStarts); }

int OpenUdpSocket(SocketHandle* socketHandle) {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Open, &fault)) {
        *socketHandle = kNoSocket;
        return fault;
    }
    SOCKET created = socket(AF_INET, SOCK_DGRAM, 0);
    *socketHandle = static_cast<SocketHandle>(created);
    return created == INVALID_SOCKET ? WSAGetLastError() : 0;
}

// Without exclusive use a later program that sets SO_REUSEADDR, or binds
// one address of the station, would share the port and take calls
// unnoticed. With it, such a program gets WSAEACCES, and this bind gets
// WSAEADDRINUSE while any other socket holds the port. An option refused
// (a layered provider that does not know it) does not keep the station
// deaf: the port is bound all the same, shared as before.
int BindUdpSocket(SocketHandle socketHandle, uint16_t port) {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Bind, &fault)) return fault;
    BOOL exclusive = TRUE;
    setsockopt(socketHandle, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socketHandle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return WSAGetLastError();
    return 0;
}

void CloseSocket(SocketHandle socketHandle) { closesocket(socketHandle); }

int CreateSocketWatch(SocketWatch* watch) {
    *watch = WSACreateEvent();
    return *watch == WSA_INVALID_EVENT ? WSAGetLastError() : 0;
}

int WatchForReadable(SocketWatch watch, SocketHandle socketHandle) {
    if (WSAEventSelect(socketHandle, watch, FD_READ) != 0) return WSAGetLastError();
    return 0;
}

int WaitForSocketWatch(SocketWatch watch, int timeoutMilliseconds) {
    WSAEVENT events[1] = {watch};
    DWORD result = WSAWaitForMultipleEvents(1, events, FALSE, static_cast<DWORD>(timeoutMilliseconds), FALSE);
    return result == WSA_WAIT_TIMEOUT ? 0 : 1;
}

void ResetSocketWatch(SocketWatch watch) { WSAResetEvent(watch); }

void CloseSocketWatch(SocketWatch watch) { WSACloseEvent(watch); }

// A datagram longer than the buffer is cut and its rest discarded by the
// system, which reports WSAEMSGSIZE.
int ReceiveDatagram(SocketHandle socketHandle, char* buffer, int capacity, uint8_t sender[16],
                    int* length) {
    int fault = 0;
    *length = 0;
    if (TakeReceiveFault(&fault)) return fault;
    sockaddr_in from{};
    int fromLength = sizeof from;
    int received = recvfrom(socketHandle, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&from),
                            &fromLength);
    static_assert(sizeof from == 16);
    std::memcpy(sender, &from, sizeof from);
    *length = 0;
    if (received == SOCKET_ERROR) return WSAGetLastError();
    *length = received;
    return 0;
}

static int ReceiveBufferBytes(SocketHandle socketHandle, int* bytes) {
    int length = sizeof *bytes;
    if (getsockopt(socketHandle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(bytes), &length) != 0)
        return WSAGetLastError();
    return 0;
}

// Windows keeps the value it is given and reports it as it is.
int EnlargeReceiveBuffer(SocketHandle socketHandle, int bytes, int* granted) {
    *granted = 0;
    int error = ReceiveBufferBytes(socketHandle, granted);
    if (error != 0 || *granted >= bytes) return error;
    if (setsockopt(socketHandle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes) != 0)
        return WSAGetLastError();
    return ReceiveBufferBytes(socketHandle, granted);
}

int SetSocketNonBlocking(SocketHandle socketHandle) {
    u_long on = 1;
    if (ioctlsocket(socketHandle, FIONBIO, &on) != 0) return WSAGetLastError();
    return 0;
}

int AllowBroadcast(SocketHandle socketHandle) {
    BOOL on = TRUE;
    if (setsockopt(socketHandle, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                   sizeof on) != 0)
        return WSAGetLastError();
    return 0;
}

int SendDatagram(SocketHandle socketHandle, const char* address, uint16_t port, const char* data,
                 int length) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr(address);
    if (sendto(socketHandle, data, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
        SOCKET_ERROR)
        return WSAGetLastError();
    return 0;
}

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

// The lock file is shared for reading and writing but not for deletion:
// kept open between turns, it cannot be deleted and made anew under a
// station that holds it.
static constexpr DWORD kShareLockFile = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The lock file for reading and writing where that is allowed, else for
// reading (a lock file another user made, or one marked read-only):
// LockFileEx takes a lock through a handle with either right.
static HANDLE OpenLockFile(const char* lockPath) {
    HANDLE file = CreateFileA(lockPath, GENERIC_READ | GENERIC_WRITE, kShareLockFile, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) return file;
    return CreateFileA(lockPath, GENERIC_READ, kShareLockFile, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// This station's turn, and the lock file kept open between turns; both
// belong to whoever holds the turn.
static HANDLE g_lockFile = INVALID_HANDLE_VALUE;
static char g_lockFilePath[MAX_PATH + 4];

static HANDLE KeptLockFile(const char* lockPath) {
    if (g_lockFile != INVALID_HANDLE_VALUE && std::strcmp(g_lockFilePath, lockPath) == 0) return g_lockFile;
    if (g_lockFile != INVALID_HANDLE_VALUE) CloseHandle(g_lockFile);
    g_lockFile = OpenLockFile(lockPath);
    std::snprintf(g_lockFilePath, sizeof g_lockFilePath, "%s", lockPath);
    return g_lockFile;
}

// A byte range of the lock file, which works on a server's share too. The
// lock belongs to the handle; the turn keeps this station's threads apart.
StationLock LockAcrossStations(const char* path, int milliseconds) {
    NoteFileWork("a wait for the stations' lock");
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
    if (!TryLockFor(Lock(g_stationTurn), milliseconds)) return {StationTurn::BusyHere, 0};
    char lockPath[MAX_PATH + 4];
    if (std::snprintf(lockPath, sizeof lockPath, "%s.lck", path) >= static_cast<int>(sizeof lockPath))
        return {StationTurn::HeldHereOnly, ERROR_FILENAME_EXCED_RANGE};
    HANDLE file = KeptLockFile(lockPath);
    if (file == INVALID_HANDLE_VALUE) return {StationTurn::HeldHereOnly, static_cast<int>(GetLastError())};
    for (;;) {
        OVERLAPPED at = {};
        int error = TakeStationLockFault();
        if (error == 0 && !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            error = static_cast<int>(GetLastError());
        if (error == 0) return {StationTurn::Held, 0};
        if (error != ERROR_LOCK_VIOLATION) return {StationTurn::HeldHereOnly, error};
        if (GetTickCount64() >= deadline) {
            ReleaseSemaphore(g_stationTurn, 1, nullptr);
            return {StationTurn::Busy, 0};
        }
        Sleep(1);
    }
}

// The lock is let go at once: Windows may release a lock left to a close
// only some time later.
void UnlockAcrossStations(const StationLock& lock) {
    if (lock.turn == StationTurn::Held) {
        OVERLAPPED at = {};
        UnlockFileEx(g_lockFile, 0, 1, 0, &at);
    }
    if (lock.turn == StationTurn::Held || lock.turn == StationTurn::HeldHereOnly)
        ReleaseSemaphore(g_stationTurn, 1, nullptr);
}

int64_t MonotonicNanoseconds() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<int64_t>(now.QuadPart / frequency * 1000000000 +
                                now.QuadPart % frequency * 1000000000 / frequency) + MonotonicClockShift();
}

// The last write time comes in UTC from the file's server; the local time
// zone of this computer turns it into the time of day the host shows.
bool FileWrittenAtSecondOfDay(const char* path, int* secondOfDay) {
    NoteFileWork("a look at a file's time");
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    ULARGE_INTEGER written;
    written.LowPart = data.ftLastWriteTime.dwLowDateTime;
    written.HighPart = data.ftLastWriteTime.dwHighDateTime;
    written.QuadPart += static_cast<ULONGLONG>(StagedServerClockOffset() * 10000000LL);
    FILETIME utc = {written.LowPart, written.HighPart};
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return false;
    *secondOfDay = parts.wHour * 3600 + parts.wMinute * 60 + parts.wSecond;
    return true;
}

// Windows Sockets' own interface list (SIO_GET_INTERFACE_LIST), asked of a
// socket made for the purpose: it needs no library beyond WS2_32.
int ListInterfaceAddresses(InterfaceAddress* addresses, int capacity) {
    int staged = TakeStagedInterfaces(addresses, capacity);
    if (staged >= 0) return staged;
    SOCKET probe = socket(AF_INET, SOCK_DGRAM, 0);
    if (probe == INVALID_SOCKET) return 0;
    INTERFACE_INFO list[16];
    DWORD bytes = 0;
    int count = 0;
    if (WSAIoctl(probe, SIO_GET_INTERFACE_LIST, nullptr, 0, list, sizeof list, &bytes, nullptr, nullptr) == 0) {
        int listed = static_cast<int>(bytes / sizeof list[0]);
        for (int i = 0; i < listed && count < capacity; ++i) {
            if ((list[i].iiFlags & IFF_UP) == 0) continue;
            addresses[count].address = ntohl(list[i].iiAddress.AddressIn.sin_addr.s_addr);
            addresses[count].mask = ntohl(list[i].iiNetmask.AddressIn.sin_addr.s_addr);
            ++count;
        }
    }
    closesocket(probe);
    return count;
}
