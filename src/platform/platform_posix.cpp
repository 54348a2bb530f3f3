// POSIX implementation of the operating system seam (the native build).
// The host module named "MERLOX" is the loaded libMERLOX.so, and the host's
// export by ordinal N is its symbol ordinal_N.
#include "platform/platform.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <netinet/in.h>
#include <pthread.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
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

// A plain mutex: a thread that took it cannot take it again.
static pthread_mutex_t g_sharedState = PTHREAD_MUTEX_INITIALIZER;

void LockSharedState() {
    NoteSharedStateWanted();
    pthread_mutex_lock(&g_sharedState);
    NoteSharedStateTaken();
}

void UnlockSharedState() {
    NoteSharedStateReleased();
    pthread_mutex_unlock(&g_sharedState);
}

static timespec DeadlineIn(int milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    long long nanoseconds = deadline.tv_nsec + static_cast<long long>(milliseconds > 0 ? milliseconds : 0) * 1000000;
    deadline.tv_sec += static_cast<time_t>(nanoseconds / 1000000000);
    deadline.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    return deadline;
}

bool TryLockSharedStateFor(int milliseconds) {
    NoteSharedStateWanted();
    timespec deadline = DeadlineIn(milliseconds);
    if (pthread_mutex_timedlock(&g_sharedState, &deadline) != 0) return false;
    NoteSharedStateTaken();
    return true;
}

// Copies a Windows path into out with '/' for every '\\'; false when it
// does not fit.
static bool MapPath(const char* path, char* out, std::size_t size) {
    std::size_t length = std::strlen(path);
    if (length >= size) return false;
    for (std::size_t i = 0; i <= length; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    return true;
}

bool FileExists(const char* path) {
    char mapped[PATH_MAX];
    NoteFileWork("a look for a file");
    if (TakeFileFault(FileCall::Exists)) return false;
    return MapPath(path, mapped, sizeof mapped) && access(mapped, F_OK) == 0;
}

// Read and write for everyone, whatever the umask: the office's other
// users file calls into the same folder.
static constexpr mode_t kSharedFileMode = 0666;

int CreateNewFile(const char* path) {
    char mapped[PATH_MAX];
    NoteFileWork("a change of a file's name or existence");
    if (!MapPath(path, mapped, sizeof mapped)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int descriptor = open(mapped, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kSharedFileMode);
    if (descriptor < 0) return errno == EEXIST ? kFileExisted : -1;
    fchmod(descriptor, kSharedFileMode);
    close(descriptor);
    return kFileCreated;
}

int LastSystemError() { return errno; }
void ClearSystemError() { errno = 0; }
bool IsSharingRefusal(int) { return false; }

int RemoveFile(const char* path) {
    char mapped[PATH_MAX];
    NoteFileWork("a change of a file's name or existence");
    if (TakeFileFault(FileCall::Remove) || !MapPath(path, mapped, sizeof mapped)) return -1;
    return std::remove(mapped) == 0 ? 0 : -1;
}

int RenameFileOver(const char* from, const char* to) {
    char mappedFrom[PATH_MAX], mappedTo[PATH_MAX];
    NoteFileWork("a change of a file's name or existence");
    if (TakeFileFault(FileCall::Rename) || !MapPath(from, mappedFrom, sizeof mappedFrom) ||
        !MapPath(to, mappedTo, sizeof mappedTo))
        return -1;
    return std::rename(mappedFrom, mappedTo) == 0 ? 0 : -1;
}

// The lock file for reading and writing where that is allowed, else for
// reading: flock takes an exclusive lock on either. A new lock file is
// made usable by every user, whatever the umask. -1 when it cannot be had.
static int OpenLockFile(const char* lockPath) {
    int descriptor = open(lockPath, O_RDWR | O_CLOEXEC);
    if (descriptor >= 0) return descriptor;
    if (errno == ENOENT) {
        descriptor = open(lockPath, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kSharedFileMode);
        if (descriptor >= 0) {
            fchmod(descriptor, kSharedFileMode);
            return descriptor;
        }
        if (errno == EEXIST) return OpenLockFile(lockPath);   // another station made it just now
    }
    return open(lockPath, O_RDONLY | O_CLOEXEC);
}

// This station's turn, and the lock file kept open between turns. Both
// belong to whoever holds the turn; the file is opened again in a child
// process (flock belongs to the open file, which a child would share) and
// when the name now leads to another file (one deleted and made anew).
static pthread_mutex_t g_stationTurn = PTHREAD_MUTEX_INITIALIZER;
static int g_lockFile = -1;
static char g_lockFilePath[PATH_MAX + 4];
static pid_t g_lockFileProcess = 0;
static dev_t g_lockFileDevice = 0;
static ino_t g_lockFileNode = 0;

// One look at the name: it still leads to the file kept open.
static bool StillTheFile(const char* lockPath) {
    struct stat named{};
    return stat(lockPath, &named) == 0 && named.st_dev == g_lockFileDevice && named.st_ino == g_lockFileNode;
}

// The lock file for this turn, or -1 (errno says why).
static int KeptLockFile(const char* lockPath) {
    bool mine = g_lockFile >= 0 && g_lockFileProcess == getpid();
    if (mine && std::strcmp(g_lockFilePath, lockPath) == 0 && StillTheFile(lockPath)) return g_lockFile;
    if (mine) close(g_lockFile);
    g_lockFile = OpenLockFile(lockPath);
    g_lockFileProcess = getpid();
    std::snprintf(g_lockFilePath, sizeof g_lockFilePath, "%s", lockPath);
    struct stat open{};
    if (g_lockFile >= 0 && fstat(g_lockFile, &open) == 0) {
        g_lockFileDevice = open.st_dev;
        g_lockFileNode = open.st_ino;
    }
    return g_lockFile;
}

static int64_t NanosecondsLeft(int64_t deadline) {
    int64_t left = deadline - MonotonicNanoseconds();
    return left > 0 ? left : 0;
}

StationLock LockAcrossStations(const char* path, int milliseconds) {
    NoteFileWork("a wait for the stations' lock");
    const int64_t deadline = MonotonicNanoseconds() + static_cast<int64_t>(milliseconds) * 1000000;
    timespec turnDeadline = DeadlineIn(milliseconds);
    if (pthread_mutex_timedlock(&g_stationTurn, &turnDeadline) != 0) return {StationTurn::BusyHere, 0};
    char mapped[PATH_MAX];
    char lockPath[PATH_MAX + 4];
    if (!MapPath(path, mapped, sizeof mapped)) return {StationTurn::HeldHereOnly, ENAMETOOLONG};
    std::snprintf(lockPath, sizeof lockPath, "%s.lck", mapped);
    int descriptor = KeptLockFile(lockPath);
    if (descriptor < 0) return {StationTurn::HeldHereOnly, errno};
    for (;;) {
        int error = TakeStationLockFault();
        if (error == 0 && flock(descriptor, LOCK_EX | LOCK_NB) != 0) error = errno;
        if (error == 0) return {StationTurn::Held, 0};
        if (error != EWOULDBLOCK && error != EINTR) return {StationTurn::HeldHereOnly, error};
        if (NanosecondsLeft(deadline) == 0) {
            pthread_mutex_unlock(&g_stationTurn);
            return {StationTurn::Busy, 0};
        }
        SleepMilliseconds(1);
    }
}

void UnlockAcrossStations(const StationLock& lock) {
    if (lock.turn == StationTurn::Held) flock(g_lockFile, LOCK_UN);
    if (lock.turn == StationTurn::Held || lock.turn == StationTurn::HeldHereOnly)
        pthread_mutex_unlock(&g_stationTurn);
}

void GetComputerNameText(char* name, std::size_t size) {
    if (size == 0) return;
    char full[256] = {};
    if (gethostname(full, sizeof full - 1) != 0) full[0] = '\0';
    std::snprintf(name, size, "%s", full);
}

// The POSIX socket layer needs no start-up; the start-ups are counted all
// the same, as Windows Sockets counts them, so that an unbalanced release
// shows on every system.
static std::atomic<int> g_socketStarts{0};

int StartSockets() {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Start, &fault)) return fault;
    g_socketStarts.fetch_add(1);
    return 0;
}

void ReleaseSockets() {
    int count = g_socketStarts.load();
    while (count > 0 && !g_socketStarts.compare_exchange_weak(count, count - 1)) {
    }
}

int SocketStartCount() { return g_socketStarts.load(); }

// The Windows Sockets number of an errno value; values without one pass
// through unchanged.
static int SocketErrorOf(int error) {
    switch (error) {
        case EINTR: return 10004;
        case EBADF: return 10038;  // an invalid handle, as Windows reports it
        case EACCES: case EPERM: return 10013;
        case EFAULT: return 10014;
        case EINVAL: return 10022;
        case EMFILE: case ENFILE: return 10024;
        case EAGAIN: return kSocketWouldBlock;
        case ENOTSOCK: return 10038;
        case EDESTADDRREQ: return 10039;
        case EMSGSIZE: return kSocketMessageTooLong;
        case EPROTOTYPE: return 10041;
        case ENOPROTOOPT: return 10042;
        case EPROTONOSUPPORT: return 10043;
        case EOPNOTSUPP: return 10045;
        case EAFNOSUPPORT: return 10047;
        case EADDRINUSE: return kSocketAddressInUse;
        case EADDRNOTAVAIL: return 10049;
        case ENETDOWN: return 10050;
        case ENETUNREACH: return 10051;
        case ECONNABORTED: return 10053;
        case ECONNRESET: case ECONNREFUSED: return kSocketConnectionReset;
        case ENOBUFS: case ENOMEM: return 10055;
        case ENOTCONN: return 10057;
        case ETIMEDOUT: return 10060;
        case EHOSTUNREACH: return 10065;
        default: return error;
    }
}

static int LastSocketError() { return SocketErrorOf(errno); }

int OpenUdpSocket(SocketHandle* socketHandle) {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Open, &fault)) {
        *socketHandle = kNoSocket;
        return fault;
    }
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    *socketHandle = fd;
    return fd < 0 ? LastSocketError() : 0;
}

// Linux gives the port to this socket alone as it is: a later socket
// that asks to share it (SO_REUSEADDR or SO_REUSEPORT) is refused, since
// this one asked for neither.
int BindUdpSocket(SocketHandle socketHandle, uint16_t port) {
    int fault = 0;
    if (TakeSocketFault(SocketCall::Bind, &fault)) return fault;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socketHandle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return LastSocketError();
    return 0;
}

void CloseSocket(SocketHandle socketHandle) { close(socketHandle); }

// The watch is an epoll instance: level-triggered, so that a datagram still
// queued after a receive signals it again, as the event object does after
// recvfrom re-enables its notification.
int CreateSocketWatch(SocketWatch* watch) {
    *watch = epoll_create1(EPOLL_CLOEXEC);
    return *watch < 0 ? LastSocketError() : 0;
}

int WatchForReadable(SocketWatch watch, SocketHandle socketHandle) {
    int error = SetSocketNonBlocking(socketHandle);
    if (error != 0) return error;
    epoll_event interest{};
    interest.events = EPOLLIN;
    interest.data.fd = socketHandle;
    if (epoll_ctl(watch, EPOLL_CTL_ADD, socketHandle, &interest) != 0) return LastSocketError();
    return 0;
}

int WaitForSocketWatch(SocketWatch watch, int timeoutMilliseconds) {
    epoll_event ready{};
    return epoll_wait(watch, &ready, 1, timeoutMilliseconds) == 0 ? 0 : 1;
}

void ResetSocketWatch(SocketWatch) {}

void CloseSocketWatch(SocketWatch watch) { close(watch); }

// MSG_TRUNC makes recvfrom return the datagram's whole length, so that one
// longer than the buffer is told apart from one that fits exactly.
int ReceiveDatagram(SocketHandle socketHandle, char* buffer, int capacity, uint8_t sender[16],
                    int* length) {
    int fault = 0;
    *length = 0;
    if (TakeReceiveFault(&fault)) return fault;
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t received = recvfrom(socketHandle, buffer, static_cast<std::size_t>(capacity), MSG_TRUNC,
                                reinterpret_cast<sockaddr*>(&from), &fromLength);
    static_assert(sizeof from == 16);
    std::memcpy(sender, &from, sizeof from);
    *length = 0;
    if (received < 0) return LastSocketError();
    if (received > capacity) return kSocketMessageTooLong;
    *length = static_cast<int>(received);
    return 0;
}

static int ReceiveBufferBytes(SocketHandle socketHandle, int* bytes) {
    socklen_t length = sizeof *bytes;
    if (getsockopt(socketHandle, SOL_SOCKET, SO_RCVBUF, bytes, &length) != 0) return LastSocketError();
    return 0;
}

// Linux doubles the value it is given for its own bookkeeping and reports
// the doubled value, so the size asked is compared with half the size held.
int EnlargeReceiveBuffer(SocketHandle socketHandle, int bytes, int* granted) {
    *granted = 0;
    int error = ReceiveBufferBytes(socketHandle, granted);
    if (error != 0 || *granted / 2 >= bytes) return error;
    if (setsockopt(socketHandle, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) != 0) return LastSocketError();
    return ReceiveBufferBytes(socketHandle, granted);
}

int SetSocketNonBlocking(SocketHandle socketHandle) {
    int flags = fcntl(socketHandle, F_GETFL);
    if (flags < 0 || fcntl(socketHandle, F_SETFL, flags | O_NONBLOCK) != 0) return LastSocketError();
    return 0;
}

int AllowBroadcast(SocketHandle socketHandle) {
    int on = 1;
    if (setsockopt(socketHandle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        return LastSocketError();
    return 0;
}

int SendDatagram(SocketHandle socketHandle, const char* address, uint16_t port, const char* data,
                 int length) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr(address);
    if (sendto(socketHandle, data, static_cast<std::size_t>(length), 0,
               reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
        return LastSocketError();
    return 0;
}

void SleepMilliseconds(int milliseconds) {
    timespec duration{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&duration, &duration) != 0 && errno == EINTR) {
    }
}

int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec + MonotonicClockShift();
}

bool FileWrittenAtSecondOfDay(const char* path, int* secondOfDay) {
    NoteFileWork("a look at a file's time");
    char mapped[PATH_MAX];
    struct stat status {};
    if (!MapPath(path, mapped, sizeof mapped) || stat(mapped, &status) != 0) return false;
    std::time_t written = status.st_mtime + static_cast<std::time_t>(StagedServerClockOffset());
    std::tm local{};
    if (!localtime_r(&written, &local)) return false;
    *secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return true;
}

// The interfaces as getifaddrs gives them; loopback and the others alike.
int ListInterfaceAddresses(InterfaceAddress* addresses, int capacity) {
    int staged = TakeStagedInterfaces(addresses, capacity);
    if (staged >= 0) return staged;
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return 0;
    int count = 0;
    for (struct ifaddrs* item = list; item && count < capacity; item = item->ifa_next) {
        if (!item->ifa_addr || !item->ifa_netmask || item->ifa_addr->sa_family != AF_INET) continue;
        if ((item->ifa_flags & IFF_UP) == 0) continue;
        addresses[count].address = ntohl(reinterpret_cast<sockaddr_in*>(item->ifa_addr)->sin_addr.s_addr);
        addresses[count].mask = ntohl(reinterpret_cast<sockaddr_in*>(item->ifa_netmask)->sin_addr.s_addr);
        ++count;
    }
    freeifaddrs(list);
    return count;
}
