// The operating system seam. The plug-in reaches the system only through
// these functions; platform_win32.cpp and platform_posix.cpp implement them
// with the same names. Types that differ between the two are defined here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

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
using SocketWatch = void*;      // a Windows Sockets event object
inline constexpr SocketWatch kNoSocketWatch = nullptr;
#else
using SocketHandle = int32_t;
using SocketWatch = int;        // an epoll instance
inline constexpr SocketWatch kNoSocketWatch = -1;
#endif
inline constexpr SocketHandle kNoSocket = static_cast<SocketHandle>(-1);

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
// thread apart where they share the slot image and the settings. It is
// plain (the thread that holds it cannot take it again) and held only for
// copies of memory: never around file work, a wait for the stations' lock,
// a message box or a sleep.
void LockSharedState();
void UnlockSharedState();
// Takes the lock, waiting at most about `milliseconds`; true when taken.
// The host's user-interface thread takes it only this way: the host may
// hold a lock of its own while it calls the plug-in, and the listener may
// be inside a host service that waits for that lock.
bool TryLockSharedStateFor(int milliseconds);

struct SharedStateLock {
    SharedStateLock() { LockSharedState(); }
    ~SharedStateLock() { UnlockSharedState(); }
    SharedStateLock(const SharedStateLock&) = delete;
    SharedStateLock& operator=(const SharedStateLock&) = delete;
};

// How long the user-interface thread waits for the lock.
inline constexpr int kUiLockWaitMilliseconds = 100;

// The user-interface thread's hold of the lock: it waits a bounded time,
// and the holder must look at held() before touching what the lock guards.
class BoundedStateLock {
public:
    explicit BoundedStateLock(int milliseconds = kUiLockWaitMilliseconds)
        : held_(TryLockSharedStateFor(milliseconds)) {}
    ~BoundedStateLock() {
        if (held_) UnlockSharedState();
    }
    BoundedStateLock(const BoundedStateLock&) = delete;
    BoundedStateLock& operator=(const BoundedStateLock&) = delete;
    bool held() const { return held_; }

private:
    bool held_;
};

void* FindModuleSymbol(ModuleHandle module, const char* name);

// Files. Paths are Windows paths ("LOGS\TELEFONY\CLIP.DAT"); on POSIX every
// '\' is taken for '/'. A path too long for the system's buffers is treated
// as a file that does not exist.
bool FileExists(const char* path);                    // access(path, 0)
int RemoveFile(const char* path);                     // 0 when removed
int RenameFileOver(const char* from, const char* to); // replaces to; 0 on success
// Creates an empty file, only where none exists: a share that still says
// "not found" of a file another station has just written cannot make it
// empty it. kFileCreated, kFileExisted, or -1 (LastSystemError says why).
inline constexpr int kFileCreated = 0;
inline constexpr int kFileExisted = 1;
int CreateNewFile(const char* path);
// The system's own code of the last failed file call on this thread
// (GetLastError on Windows, errno on POSIX), for the day log.
int LastSystemError();
void ClearSystemError();   // so that a failure the system did not report reads 0
// True for a code that says another program holds the file and refuses
// what was asked (Windows' sharing and lock violations; POSIX has none).
bool IsSharingRefusal(int systemError);

// Stations that share one data folder keep apart with a lock on a file
// beside the slot file ("<path>.lck"), held from reading the slot file to
// its last write: no station then writes back slots it read before another
// station wrote. The turn is this station's first (its two threads keep
// apart in memory), then the other stations' (the lock file). Tries for
// about `milliseconds` in all (0: once). The lock file is made so that
// every user of the folder can use it, opened for reading alone where
// writing is refused, and kept open between turns (it is opened again
// when it was replaced). Where no lock between stations can be had (a
// read-only folder without a lock file, a file system without locks), the
// turn is this station's alone and systemError says why. Taken without
// the plug-in's own lock held.
enum class StationTurn : uint8_t {
    Held,          // this station's turn, the other stations kept out
    HeldHereOnly,  // this station's turn, with no lock between stations
    BusyHere,      // this station's other thread kept the turn that long
    Busy,          // another station kept the lock that long
};
struct StationLock {
    StationTurn turn;
    int systemError;   // HeldHereOnly: the system's code (0 when it gave none)
};
StationLock LockAcrossStations(const char* path, int milliseconds);
// Lets the lock go (the lock file stays open for the next turn); the
// system lets it go too when the station dies.
void UnlockAcrossStations(const StationLock& lock);
// Test switch: every try for the lock between stations fails with this
// system code (0: none), as on a network file system without locks.
void FailStationLocks(int systemError);
int TakeStationLockFault();   // for the implementations: the staged code, or 0

// Test switch: the lock-order check. While it is on, the seam records
// whether a thread holds the plug-in's lock, and aborts the process when
// that thread takes it again, waits for the stations' lock or does file
// work under it.
void CheckLockOrder(bool on);
// For the implementations and the storage: file work is about to begin.
void NoteFileWork(const char* what);
// For the implementations: the plug-in's lock is wanted, was taken or
// was let go.
void NoteSharedStateWanted();
void NoteSharedStateTaken();
void NoteSharedStateReleased();

// The plug-in's own work on a stream the host opened: the standard
// library's buffered functions, with results that say plainly whether
// they succeeded.
long ReadFileStream(std::FILE* stream, void* data, std::size_t size);  // bytes read, -1 on error
int WriteFileStream(std::FILE* stream, const void* data, std::size_t size);  // 0 when all written
int RewindFileStream(std::FILE* stream);   // positions at the start; 0 on success
int SeekFileStream(std::FILE* stream, long offset);   // from the start; 0 on success
int FlushFileStream(std::FILE* stream);    // hands the buffer to the system; 0 on success
int CloseFileStream(std::FILE* stream);    // always closes; 0 on success
// Makes the stream write each block straight to the system, so that one
// write of a record is one write of the system; called before any other
// work on the stream. 0 on success.
int UnbufferFileStream(std::FILE* stream);

// Test switch: the next `count` calls of one kind fail as the system would
// report the failure (a failed close still releases the stream).
// Exists makes FileExists say "not found" of a file that is there, as a
// share's cached answer does.
// Flush is for the hook alone: a flush fails with the Write faults.
enum class FileCall { Read, Write, Seek, Close, Rename, Remove, Exists, Flush, kCount };
void FailNextFileCalls(FileCall call, int count);
bool TakeFileFault(FileCall call);   // for the implementations: true when this call must fail
// Test switch: a function called before every read, write and seek of the
// plug-in's own stream work (nullptr: none), so that a test can hold a
// station between its read of the slot file and its write, as a frozen
// station or a slow share does.
using FileCallHook = void (*)(FileCall call);
void HookFileCalls(FileCallHook hook);

// The computer's name, cut to size - 1 characters and always terminated
// (a Windows name of 15 characters does not fit the size 15 it is asked with).
void GetComputerNameText(char* name, std::size_t size);

// Sockets. Every error comes back as its Windows Sockets number, whatever
// the system, so that the log lines read the same everywhere; the
// functions that can fail return 0 or that number.
inline constexpr int kSocketAccessDenied = 10013;     // WSAEACCES
inline constexpr int kSocketWouldBlock = 10035;       // WSAEWOULDBLOCK
inline constexpr int kSocketMessageTooLong = 10040;   // WSAEMSGSIZE
inline constexpr int kSocketAddressInUse = 10048;     // WSAEADDRINUSE
inline constexpr int kSocketConnectionReset = 10054;  // WSAECONNRESET

int StartSockets();      // 0 on success
void ReleaseSockets();
// Start-ups not yet released, as the socket library counts them.
int SocketStartCount();
int OpenUdpSocket(SocketHandle* socket);
// Binds to the IPv4 any-address and the port, for this socket's use
// alone: another program that asks to share the port is refused, and one
// that holds it already, on any address, makes this bind fail.
int BindUdpSocket(SocketHandle socket, uint16_t port);
void CloseSocket(SocketHandle socket);

// Readiness: a watch is signalled while a datagram waits on its socket.
// Registering a socket makes it non-blocking.
int CreateSocketWatch(SocketWatch* watch);
int WatchForReadable(SocketWatch watch, SocketHandle socket);
// 1 when signalled, 0 when the time-out ran out; any failure of the wait
// itself counts as signalled, and the receive then tells what happened.
int WaitForSocketWatch(SocketWatch watch, int timeoutMilliseconds);
void ResetSocketWatch(SocketWatch watch);
void CloseSocketWatch(SocketWatch watch);

// Receives one datagram of at most capacity bytes; a longer one is
// discarded and reported as kSocketMessageTooLong. The sender's IPv4
// address lands in its 16-byte wire form (family, port, address, zeros).
int ReceiveDatagram(SocketHandle socket, char* buffer, int capacity, uint8_t sender[16],
                    int* length);

// Test switch: the next `count` receives fail with the Windows Sockets
// error given, leaving the datagram queued.
void FailNextReceives(int count, int error);
bool TakeReceiveFault(int* error);   // for the implementations

// Test switch: the next `count` start-ups of the socket library, creations
// of a socket or binds fail with the Windows Sockets error given, as a
// station whose network stack is missing or out of handles would see it,
// or one whose port another program holds (a bind refused with
// kSocketAccessDenied is what Windows answers a program that asks to
// share a port bound for exclusive use).
enum class SocketCall { Start, Open, Bind, kCount };
void FailNextSocketCalls(SocketCall call, int count, int error);
bool TakeSocketFault(SocketCall call, int* error);   // for the implementations

// Makes the socket's receive queue at least this many bytes, never smaller
// than the system already gives; *granted is the size the system reports
// afterwards (Linux reports twice what it was asked, its bookkeeping
// included). 0 on success.
int EnlargeReceiveBuffer(SocketHandle socket, int bytes, int* granted);

int SetSocketNonBlocking(SocketHandle socket);
int AllowBroadcast(SocketHandle socket);
// Sends one datagram to a dotted IPv4 address and port.
int SendDatagram(SocketHandle socket, const char* address, uint16_t port, const char* data,
                 int length);

// The IPv4 addresses of this station's interfaces that are up, each with
// its subnet mask, in host order; at most capacity of them. The result is
// how many, 0 when the system cannot say. The socket library must be
// started (the listener holds it).
struct InterfaceAddress {
    uint32_t address;
    uint32_t mask;
};
int ListInterfaceAddresses(InterfaceAddress* addresses, int capacity);
// Test switch: the interface list that ListInterfaceAddresses gives from
// now on, as a station on another network would see it; a count below 0
// gives the system's own again.
void StageInterfaceAddresses(const InterfaceAddress* addresses, int count);
int TakeStagedInterfaces(InterfaceAddress* addresses, int capacity);   // for the implementations; -1 when none staged

// System sleep in milliseconds.
void SleepMilliseconds(int milliseconds);
// A clock that only moves forward, in nanoseconds from an arbitrary start.
int64_t MonotonicNanoseconds();
// Test switch: moves the monotonic clock forward, as a freeze or a suspend
// that it counted would (clock_staging.cpp).
void ShiftMonotonicClock(int64_t nanoseconds);
int64_t MonotonicClockShift();   // for the implementations

// The local time of day, in seconds from midnight, at which the file was
// last written, as the computer that holds it set it: on a share, the
// server's clock. False when it cannot be read.
bool FileWrittenAtSecondOfDay(const char* path, int* secondOfDay);
// Test switch: the clock of the computer that holds the files runs this
// many seconds ahead of this one's (behind, when negative).
void StageServerClockOffset(int64_t seconds);
int64_t StagedServerClockOffset();   // for the implementations
