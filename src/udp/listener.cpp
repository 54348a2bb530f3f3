// The UDP listener: one socket on the UDP port of the settings, and the
// thread procedure that binds it and files every datagram that arrives.
// Control words ("ping", "PING", "restart") make it pause, re-read the
// settings and listen again. It never stops receiving for a pause: the
// socket it has goes on filing every datagram until the new one takes the
// port over, and the port is left without a socket only between the old
// socket's close and the new one's bind. A stop from the host ends it
// within 100 ms whatever it is doing.
#include "udp/listener.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "plugin/frame.h"
#include "storage/day_log.h"
#include "storage/settings.h"
#include "udp/datagram.h"
#include "udp/listener_pauses.h"

// What the listener keeps between datagrams and cycles. Only the listener
// thread touches it, apart from UDPOn at the start, before the thread runs.
struct ListenerState {
    char datagram[kDatagramCapacity];
    CallRecord previous;     // the last record built, to drop exact repeats
    SocketWatch watch;
    bool bindErrorToLog;     // one failed bind per thread is logged
    int waits;               // waits since the last "I'm alive" line
};
static ListenerState g_listener = {{}, {}, kNoSocketWatch, false, 0};

// Datagrams taken off the old socket in its last instant, while the port
// must not wait for the host's services; they are filed once the new
// socket holds the port. A receive error is kept in its place.
struct HeldDatagram {
    uint8_t sender[16];
    int error;
    int length;
    char bytes[kDatagramCapacity];
};
static constexpr int kHeldDatagrams = 8;
static HeldDatagram g_held[kHeldDatagrams];
static int g_heldCount = 0;

// The longest the port was last without a socket, for the benchmarks.
static std::atomic<int64_t> g_lastRebindGap{-1};

// Whether UDPOn holds a start-up of the socket library. It takes one for
// the life of the listener, however often the listener restarts, and the
// stop gives it back once.
static std::atomic<bool> g_holdsSockets{false};

static constexpr int kWaitsPerAliveLine = 100;
// A flood is not drained for ever: the restart goes ahead after this many.
static constexpr int kDrainLimit = 1000;
static constexpr int64_t kNoDeadline = INT64_MAX;

static constexpr char kEnding[] = "UDPoling() - zakonczenie";
static constexpr char kWaitingForPort[] = "UDPoling() - oczekiwanie na zwolnienie portu UDP %d";
static constexpr char kListening[] = "UDPoling() - rozpoczeto nasluch na UDP UDP %d";

static bool HoldSockets() {
    if (g_holdsSockets.load()) return true;
    if (StartSockets() != 0) return false;
    g_holdsSockets.store(true);
    return true;
}

static int OpenListenerSocket(SocketHandle* socket) {
    WriteEventLog("UDPOn()");
    *socket = kNoSocket;
    if (HoldSockets()) {
        int error = OpenUdpSocket(socket);
        if (error == 0) {
            WriteEventLog("UDPOn() - OK");
            return 0;
        }
        *socket = kNoSocket;
        WriteEventLogF("socket() error: %d", error);
    }
    WriteEventLog("UDPOn() - Error");
    return 1;
}

int UDPOn() { return OpenListenerSocket(&g_frame.threadBlock.socket); }

int64_t UDPLastRebindGap() { return g_lastRebindGap.load(); }

void UDPMarkRunning(UDPControl& control) { std::atomic_ref<int32_t>(control.state).store(1); }

// A socket is still open here only when no listener thread took it over.
void UDPReleaseSockets() {
    SocketHandle& socket = g_frame.threadBlock.socket;
    if (socket != kNoSocket) {
        CloseSocket(socket);
        socket = kNoSocket;
    }
    if (g_holdsSockets.exchange(false)) ReleaseSockets();
}

static int32_t ListeningPort() {
    SharedStateLock lock;
    return g_settings.port;
}

// The port is a 32-bit setting: the socket takes its low 16 bits, the log
// shows it whole. Only "address in use" is worth waiting for; error is the
// result of the first attempt.
static bool BindListeningSocket(UDPControl& control, int32_t port, int error) {
    for (;;) {
        if (error == 0) return true;
        if (g_listener.bindErrorToLog) {
            WriteEventLogF("bind() error: %d", error);
            g_listener.bindErrorToLog = false;
        }
        if (error != kSocketAddressInUse) return false;
        if (!PauseUnlessStopped(control, kBindRetryMilliseconds)) return false;
        error = BindUdpSocket(control.socket, static_cast<uint16_t>(port));
    }
}

static bool WatchListeningSocket(UDPControl& control) {
    int error = CreateSocketWatch(&g_listener.watch);
    if (error != 0) {
        g_listener.watch = kNoSocketWatch;
        WriteEventLogF("WSACreateEvent() error: %d", error);
        return false;
    }
    error = WatchForReadable(g_listener.watch, control.socket);
    if (error != 0) {
        WriteEventLogF("WSAEventSelect() error: %d", error);
        return false;
    }
    return true;
}

static void CloseListeningSocket(UDPControl& control) {
    if (g_listener.watch != kNoSocketWatch) {
        CloseSocketWatch(g_listener.watch);
        g_listener.watch = kNoSocketWatch;
    }
    if (control.socket != kNoSocket) {
        CloseSocket(control.socket);
        control.socket = kNoSocket;
    }
}

static void SenderAddressText(const uint8_t sender[16], char* text, std::size_t size) {
    std::snprintf(text, size, "%u.%u.%u.%u", sender[4], sender[5], sender[6], sender[7]);
}

// Every datagram is logged; a record equal to the previous one byte for
// byte is not handed on. The result is the pause that the datagram asks
// for, 0 unless it is a control word. From the first control word on, a
// busy port is waited for silently.
static int FileDatagram(UDPControl& control) {
    char sender[16];
    SenderAddressText(control.sender, sender, sizeof sender);
    char message[kDatagramCapacity + sizeof sender + 8];
    std::snprintf(message, sizeof message, "R[%s]:%s", sender, g_listener.datagram);
    WriteEventLog(message);
    CallRecord record;
    UDPBuildRecord(g_listener.datagram, record);
    if (std::memcmp(&record, &g_listener.previous, sizeof record) == 0) {
        WriteEventLog("Bez zapisu");
    } else {
        UDPRecordCall(record);
        WriteEventLog("Zapis");
    }
    std::memcpy(&g_listener.previous, &record, sizeof record);
    int pause = ControlWordPauseMilliseconds(record.phone);
    if (pause != 0) g_listener.bindErrorToLog = false;
    return pause;
}

enum class Received {
    Datagram,   // in the receive buffer, terminated
    Skipped,    // a reset, a datagram too long, an empty one
    Drained,    // nothing is queued
    Broken,     // the socket failed
};

// Resets (the echo of an earlier send to a closed port) and spurious
// wake-ups are routine. A datagram too long for the buffer has been
// dropped whole by the system and leaves the socket sound.
static Received ClassifyReceive(int error, int length) {
    if (error == kSocketWouldBlock) return Received::Drained;
    if (error == kSocketConnectionReset) return Received::Skipped;
    if (error == kSocketMessageTooLong) return Received::Skipped;
    if (error != 0) return Received::Broken;
    return length == 0 ? Received::Skipped : Received::Datagram;
}

static Received ReceiveIntoBuffer(UDPControl& control) {
    ResetSocketWatch(g_listener.watch);
    int length = 0;
    int error = ReceiveDatagram(control.socket, g_listener.datagram, kDatagramCapacity - 1,
                                control.sender, &length);
    Received got = ClassifyReceive(error, length);
    if (got == Received::Datagram) g_listener.datagram[length] = '\0';
    if (error != 0 && error != kSocketWouldBlock && error != kSocketConnectionReset)
        WriteEventLogF("recvfrom() error: %d", error);
    return got;
}

static void CountWait() {
    if (++g_listener.waits < kWaitsPerAliveLine) return;
    g_listener.waits = 0;
    WriteEventLog("I'm alive - pooling loop 10 sek");
}

// Receives and files every datagram as it comes, until the deadline; true
// then, false on a stop. Without a deadline the first control word sets
// one, its pause from now; a control word within a pause is filed like any
// datagram and moves nothing, so that a stream of them cannot keep the
// settings from being re-read. A socket that fails sits out the pause (a
// restart's, when none had begun) and is then replaced, so that a station
// is never left deaf to callers until the host is restarted.
static bool ReceiveUntil(UDPControl& control, int64_t deadline) {
    const int wait = ListenerMilliseconds(kReceiveWaitMilliseconds);
    for (;;) {
        int timeout = wait;
        if (deadline != kNoDeadline) {
            int left = MillisecondsUntil(deadline);
            if (left == 0) return !IsStopRequested(control);
            if (left < timeout) timeout = left;
        }
        bool ready = WaitForSocketWatch(g_listener.watch, timeout) != 0;
        CountWait();
        if (IsStopRequested(control)) return false;
        if (!ready) continue;
        Received got = ReceiveIntoBuffer(control);
        if (got == Received::Broken) {
            if (deadline == kNoDeadline) deadline = DeadlineAfter(kRestartPauseMilliseconds);
            return PauseUntil(control, deadline);
        }
        if (got != Received::Datagram) continue;
        int pause = FileDatagram(control);
        if (pause != 0 && deadline == kNoDeadline) deadline = DeadlineAfter(pause);
    }
}

// One listening cycle on the bound socket; true when it ends in a restart.
static bool ListenUntilRestart(UDPControl& control, int32_t port) {
    WriteEventLogF(kListening, port);
    std::memset(&g_listener.previous, 0, sizeof g_listener.previous);
    std::memset(g_listener.datagram, 0, sizeof g_listener.datagram);
    g_listener.waits = 0;
    return WatchListeningSocket(control) && ReceiveUntil(control, kNoDeadline);
}

// Files what is queued on the socket, until it would block.
static void DrainAndFile(UDPControl& control) {
    for (int taken = 0; taken < kDrainLimit; ++taken) {
        Received got = ReceiveIntoBuffer(control);
        if (got == Received::Drained || got == Received::Broken) return;
        if (got == Received::Datagram) FileDatagram(control);
    }
}

// The held datagrams, filed as they came; their control words have no
// effect: the restart that they would ask for is under way.
static void FileHeldDatagrams(UDPControl& control) {
    for (int i = 0; i < g_heldCount; ++i) {
        HeldDatagram& held = g_held[i];
        if (held.error != 0) {
            WriteEventLogF("recvfrom() error: %d", held.error);
            continue;
        }
        std::memcpy(g_listener.datagram, held.bytes, static_cast<std::size_t>(held.length) + 1);
        std::memcpy(control.sender, held.sender, sizeof control.sender);
        FileDatagram(control);
    }
    g_heldCount = 0;
}

// Takes what is still queued on the socket without any host service in
// between; a full hold is filed first, which takes its time, so only a
// flood ever gets there.
static void HoldQueuedDatagrams(UDPControl& control) {
    for (int taken = 0; taken < kDrainLimit; ++taken) {
        if (g_heldCount == kHeldDatagrams) FileHeldDatagrams(control);
        HeldDatagram& held = g_held[g_heldCount];
        held.error = ReceiveDatagram(control.socket, held.bytes, kDatagramCapacity - 1, held.sender,
                                     &held.length);
        Received got = ClassifyReceive(held.error, held.length);
        if (got == Received::Drained) return;
        if (got == Received::Datagram) held.bytes[held.length] = '\0';
        if (got == Received::Datagram || held.error == kSocketMessageTooLong || got == Received::Broken)
            ++g_heldCount;
        if (got == Received::Broken) return;
    }
}

// The old socket keeps the port to the last instant: what is queued on it
// is filed, what came meanwhile is held, and only then is it closed and
// the new socket bound, so that the port is without a socket for no longer
// than those two calls take. A new port is bound before the old one is let
// go. The result is that of the new socket's bind.
static int HandOverPort(UDPControl& control, SocketHandle fresh, uint16_t oldPort, uint16_t port) {
    DrainAndFile(control);
    const bool samePort = port == oldPort;
    int error = samePort ? 0 : BindUdpSocket(fresh, port);
    HoldQueuedDatagrams(control);
    int64_t closed = MonotonicNanoseconds();
    CloseSocket(control.socket);
    if (samePort) {
        error = BindUdpSocket(fresh, port);
        g_lastRebindGap.store(MonotonicNanoseconds() - closed);
    }
    control.socket = fresh;
    CloseSocketWatch(g_listener.watch);
    g_listener.watch = kNoSocketWatch;
    return error;
}

enum class Rebound { Bound, Unbound, Stopped };

// The end of a cycle in a restart: the settings are read again and the new
// socket is made while the old one still holds the port and files what
// comes; a socket that cannot be made now (the system out of handles or
// buffers) is asked for again after the bind retry's wait.
static Rebound Rebind(UDPControl& control, int32_t& port) {
    WriteEventLog(kEnding);
    const int32_t oldPort = port;
    LoadSettings();
    SocketHandle fresh = kNoSocket;
    while (OpenListenerSocket(&fresh) != 0)
        if (!ReceiveUntil(control, DeadlineAfter(kBindRetryMilliseconds))) return Rebound::Stopped;
    port = ListeningPort();
    WriteEventLogF(kWaitingForPort, port);
    int error = HandOverPort(control, fresh, static_cast<uint16_t>(oldPort), static_cast<uint16_t>(port));
    FileHeldDatagrams(control);
    return BindListeningSocket(control, port, error) ? Rebound::Bound : Rebound::Unbound;
}

// The state stays positive across restarts and is set to -1 only when the
// thread ends: were it lowered between cycles, a stop that came in between
// would be overwritten by the next cycle and the stop would wait forever.
void HOSTVA UDPoling(void* block) {
    UDPControl& control = *static_cast<UDPControl*>(block);
    g_listener.bindErrorToLog = true;
    int32_t port = ListeningPort();
    WriteEventLogF(kWaitingForPort, port);
    bool bound = BindListeningSocket(control, port, BindUdpSocket(control.socket, static_cast<uint16_t>(port)));
    for (;;) {
        if (!bound || !ListenUntilRestart(control, port)) {
            WriteEventLog(kEnding);
            break;
        }
        Rebound next = Rebind(control, port);
        if (next == Rebound::Stopped) break;
        bound = next == Rebound::Bound;
    }
    CloseListeningSocket(control);
    std::atomic_ref<int32_t>(control.state).store(-1);
}
