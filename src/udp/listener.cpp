// The UDP listener: one socket on the UDP port of the settings, and the
// thread procedure that binds it and files every datagram that arrives.
// Control words ("ping", "PING", "restart") make it pause, re-read the
// settings and listen again. It never stops receiving for a pause: the
// socket it has goes on filing every datagram until the new one takes the
// port over, and the port is left without a socket only between the old
// socket's close and the new one's bind. A stop from the host ends it
// within 100 ms whatever it is doing.
//
// A port that cannot be bound never leaves the station deaf: a new port
// from the settings is bound by a socket of its own while the old socket
// goes on filing, and is tried again every 10 s until it can be had; only
// then is the old socket let go. A first port that cannot be bound is
// tried again every 10 s as well, whatever the error, and the caller-ID
// window tells the user meanwhile (listener_status.h).
#include "udp/listener.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "log/day_log_events.h"
#include "plugin/frame.h"
#include "storage/day_log.h"
#include "storage/settings.h"
#include "text/mazovia.h"
#include "udp/datagram.h"
#include "udp/listener_holds.h"
#include "udp/listener_pauses.h"
#include "udp/listener_status.h"
#include "udp/port_rule.h"
#include "udp/sender_book.h"
#include "udp/senders.h"
#include "udp/waiting_calls.h"
#include "text/wire_text.h"

// What the listener keeps between datagrams and cycles. Only the listener
// thread touches it, apart from UDPOn at the start, before the thread runs.
struct ListenerState {
    char datagram[kDatagramCapacity];
    SocketWatch watch;
    int loggedBindError;     // the failed bind last logged; 0 once a bind succeeds
    int waits;               // waits since the last "I'm alive" line
    bool bound;              // the control block's socket holds listeningPort
    int32_t listeningPort;
};
static ListenerState g_listener = {{}, kNoSocketWatch, 0, 0, false, 0};

// A port of the settings that no socket holds yet. Its socket is bound at
// the next try, 10 s after the last; the socket that holds the old port,
// if there is one, goes on filing until then.
struct PortMove {
    SocketHandle socket;     // kNoSocket when no port is waited for
    int32_t port;
    int error;               // the last try's
    int64_t retryAt;
};
static PortMove g_move = {kNoSocket, 0, 0, 0};

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
// The receive queue the system gave the last socket made, for the benchmarks.
static std::atomic<int> g_receiveBufferBytes{0};

// Whether UDPOn holds a start-up of the socket library. It takes one for
// the life of the listener, however often the listener restarts, and the
// stop gives it back once.
static std::atomic<bool> g_holdsSockets{false};

static constexpr int kWaitsPerAliveLine = 100;
// A flood is not drained for ever: the restart goes ahead after this many.
static constexpr int kDrainLimit = 1000;
static constexpr int64_t kNoDeadline = INT64_MAX;
// While the listener is busy elsewhere (a slow network share, the host's
// services) the system queues what arrives: 64 datagrams of the longest
// size the listener takes, with as much again for the system's bookkeeping
// per datagram (Linux counts about that).
static constexpr int kReceiveBufferBytes = 64 * 2 * kDatagramCapacity;

static constexpr char kEnding[] = "UDPoling() - zakonczenie";
static constexpr char kWaitingForPort[] = "UDPoling() - oczekiwanie na zwolnienie portu UDP %d";
static constexpr auto kListening = MZ(kListeningEvent);
static constexpr auto kBindError = MZ(kBindErrorEvent);
static constexpr auto kReceiveError = MZ(kReceiveErrorEvent);

// 0 when the socket library is held, else its start-up error.
static int HoldSockets() {
    if (g_holdsSockets.load()) return 0;
    int error = StartSockets();
    if (error != 0) return error;
    g_holdsSockets.store(true);
    return 0;
}

// A queue too small only costs datagrams under a flood, so the socket is
// used whatever the system says.
static void EnlargeQueue(SocketHandle socket) {
    int granted = 0;
    int error = EnlargeReceiveBuffer(socket, kReceiveBufferBytes, &granted);
    if (error != 0) WriteEventLogF("setsockopt() error: %d", error);
    g_receiveBufferBytes.store(granted);
    WriteEventLogF("UDPOn() - SO_RCVBUF %d", granted);
}

// 0 when a socket was made, else the error of the socket library's
// start-up or of the socket.
static int OpenListenerSocket(SocketHandle* socket) {
    WriteEventLog("UDPOn()");
    *socket = kNoSocket;
    int error = HoldSockets();
    if (error == 0) {
        error = OpenUdpSocket(socket);
        if (error == 0) {
            EnlargeQueue(*socket);
            WriteEventLog("UDPOn() - OK");
            return 0;
        }
        *socket = kNoSocket;
        WriteEventLogF("socket() error: %d", error);
    }
    WriteEventLog("UDPOn() - Error");
    return error;
}

// Without a socket at the start no listener runs until the host starts
// again: the window tells the user so.
int UDPOn() {
    int error = OpenListenerSocket(&g_frame.threadBlock.socket);
    PublishNoSocket(error);
    return error == 0 ? 0 : 1;
}

int64_t UDPLastRebindGap() { return g_lastRebindGap.load(); }

int UDPReceiveBufferBytes() { return g_receiveBufferBytes.load(); }

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

// The port is a 32-bit setting: the socket takes the port it means
// (udp/port_rule.h), the log shows it whole.
static uint16_t SocketPort(int32_t port) { return PortInUse(port); }

static void PublishPorts() {
    bool waiting = g_move.socket != kNoSocket;
    PublishListenerPorts({g_listener.bound, g_listener.listeningPort, g_move.port, waiting ? g_move.error : 0});
}

// Each error is logged when it first comes, not again at every try.
static void LogBindError(int error) {
    if (error == g_listener.loggedBindError) return;
    WriteEventLogF(kBindError, error);
    g_listener.loggedBindError = error;
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

static void CloseWatch() {
    if (g_listener.watch == kNoSocketWatch) return;
    CloseSocketWatch(g_listener.watch);
    g_listener.watch = kNoSocketWatch;
}

static void DropPortMove() {
    if (g_move.socket != kNoSocket) CloseSocket(g_move.socket);
    g_move.socket = kNoSocket;
}

static void CloseListeningSocket(UDPControl& control) {
    CloseWatch();
    DropPortMove();
    if (control.socket != kNoSocket) {
        CloseSocket(control.socket);
        control.socket = kNoSocket;
    }
    g_listener.bound = false;
}

static void SenderAddressText(const uint8_t sender[16], char* text, std::size_t size) {
    std::snprintf(text, size, "%u.%u.%u.%u", sender[4], sender[5], sender[6], sender[7]);
}

static uint32_t SenderAddress(const uint8_t sender[16]) {
    return static_cast<uint32_t>(sender[4]) << 24 | static_cast<uint32_t>(sender[5]) << 16 |
           static_cast<uint32_t>(sender[6]) << 8 | sender[7];
}

// The first field read here, not by the host's field service, so that a
// station that may send only control words hands the host nothing else.
static bool StartsWithControlWord(const char* datagram) {
    char phone[sizeof CallRecord{}.phone] = {};
    for (std::size_t i = 0; i + 1 < sizeof phone && datagram[i] != '\0' && datagram[i] != '\t'; ++i)
        phone[i] = datagram[i];
    return ControlWordPauseMilliseconds(phone) != 0;
}

// What an event line adds to its message: date, time, computer, station
// and user, as the day log's budget counts it.
static constexpr int kEventLineOverhead = 64;
static constexpr char kNotFiledLine[] = "Bez zapisu";

// The line of the datagram and the line of what became of it. A filed call
// always gets its lines; any other datagram only while its sender's budget
// lasts, and is summed beyond it (sender_book.h).
static void LogNotFiled(SenderEntry& entry, const char* message) {
    int bytes = static_cast<int>(std::strlen(message) + sizeof kNotFiledLine) + 2 * kEventLineOverhead;
    if (!IsDayLogOn()) return;
    if (!TakeLogBudget(entry, bytes)) {
        CountUnlogged(entry);
        return;
    }
    WriteEventLog(message);
    WriteEventLog(kNotFiledLine);
}

// Every datagram from a sender that may send it is judged by the rules of
// call_rules.h against that sender's recall; only a call is handed on,
// and "Zapis" follows once it is in the slot file (for a call that waits
// for another station's hold, when it is filed: waiting_calls.h). A
// refused sender's datagram reaches no host service at all. The text is
// made one line first, whatever the host's services do with line ends.
// The result is the pause that the datagram asks for, 0 unless it is a
// control word.
static int FileDatagram(UDPControl& control) {
    MakeOneLine(g_listener.datagram, strnlen(g_listener.datagram, kDatagramCapacity));
    NoteDatagramRead();
    uint32_t address = SenderAddress(control.sender);
    SenderEntry& entry = SenderEntryOf(address);
    SenderPermit permit = SenderPermitOf(address);
    if (permit == SenderPermit::Refused ||
        (permit == SenderPermit::ControlWords && !StartsWithControlWord(g_listener.datagram))) {
        CountRefused(entry);
        return 0;
    }
    // What queued while the listener was held came over the whole hold, not
    // at the pace it is read now: the rate is not held against it (the
    // socket's queue bounds it).
    if (!CatchingUpAfterHold() && !TakeRateToken(entry)) {
        CountOverRate(entry);
        return 0;
    }
    char sender[16];
    SenderAddressText(control.sender, sender, sizeof sender);
    char message[kDatagramCapacity + sizeof sender + 8];
    std::snprintf(message, sizeof message, "R[%s]:%s", sender, g_listener.datagram);
    CallRecord record;
    UDPBuildRecord(g_listener.datagram, record);
    DatagramVerdict verdict = JudgeDatagram(record, permit, RecallOf(entry));
    if (verdict == DatagramVerdict::Call) {
        WriteEventLog(message);
        bool filed = UDPFileCall(record);
        RememberDatagram(RecallOf(entry), record, verdict);
        if (filed) WriteEventLog(kCallFiledLine);
        return 0;
    }
    LogNotFiled(entry, message);
    RememberDatagram(RecallOf(entry), record, verdict);
    return verdict == DatagramVerdict::ControlWord ? ControlWordPauseMilliseconds(record.phone) : 0;
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
        WriteEventLogF(kReceiveError, error);
    return got;
}

static void CountWait() {
    if (++g_listener.waits < kWaitsPerAliveLine) return;
    g_listener.waits = 0;
    WriteEventLog("I'm alive - pooling loop 10 sek");
}

// Files what is queued on the socket, until it would block or a stop comes.
static void DrainAndFile(UDPControl& control) {
    for (int taken = 0; taken < kDrainLimit && !IsStopRequested(control); ++taken) {
        Received got = ReceiveIntoBuffer(control);
        if (got == Received::Drained || got == Received::Broken) return;
        if (got == Received::Datagram) FileDatagram(control);
    }
}

// The held datagrams, filed as they came; their control words have no
// effect: the restart that they would ask for is under way. A stop drops
// the rest, as it drops what is still queued on the socket.
static void FileHeldDatagrams(UDPControl& control) {
    for (int i = 0; i < g_heldCount && !IsStopRequested(control); ++i) {
        HeldDatagram& held = g_held[i];
        if (held.error != 0) {
            WriteEventLogF(kReceiveError, held.error);
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
    for (int taken = 0; taken < kDrainLimit && !IsStopRequested(control); ++taken) {
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
// is filed, what came meanwhile is held, and only then is it closed. The
// fresh socket is bound already when it takes a new port; on the same port
// it is bound right after the close, so that the port is without a socket
// for no longer than those two calls take. The result is the fresh
// socket's bind.
static int HandOverPort(UDPControl& control, SocketHandle fresh, int32_t samePort) {
    DrainAndFile(control);
    HoldQueuedDatagrams(control);
    int64_t closed = MonotonicNanoseconds();
    CloseSocket(control.socket);
    int error = 0;
    if (samePort != 0) {
        error = BindUdpSocket(fresh, SocketPort(samePort));
        g_lastRebindGap.store(MonotonicNanoseconds() - closed);
    }
    control.socket = error == 0 ? fresh : kNoSocket;
    CloseWatch();
    if (error == 0) FileHeldDatagrams(control);
    return error;
}

static void ListenOn(UDPControl& control, SocketHandle socket, int32_t port) {
    control.socket = socket;
    g_listener.bound = true;
    g_listener.listeningPort = port;
    g_listener.loggedBindError = 0;
}

static void WaitForPort(SocketHandle socket, int32_t port, int error) {
    g_move = {socket, port, error, DeadlineAfter(kBindRetryMilliseconds)};
    LogBindError(error);
}

// Binds the waiting port's socket. It takes the port over from the old
// socket, if there is one; when the bind fails, the old socket goes on
// and the port is tried again in 10 s. True when the port was taken.
static bool TryPortMove(UDPControl& control) {
    PortMove move = g_move;
    g_move.socket = kNoSocket;
    int error = BindUdpSocket(move.socket, SocketPort(move.port));
    if (error != 0) {
        WaitForPort(move.socket, move.port, error);
    } else {
        if (g_listener.bound) HandOverPort(control, move.socket, 0);
        ListenOn(control, move.socket, move.port);
    }
    PublishPorts();
    return error == 0;
}

// The same port passes from the old socket to the fresh one. Should the
// fresh bind fail (another program took the port in between), the station
// waits for its port as at the first start.
static void RebindSamePort(UDPControl& control, SocketHandle fresh, int32_t port) {
    int error = HandOverPort(control, fresh, port);
    if (error == 0) {
        ListenOn(control, fresh, port);
    } else {
        g_listener.bound = false;
        WaitForPort(fresh, port, error);
    }
    PublishPorts();
}

enum class CycleEnd { Restart, PortTaken, Stopped };

// A wait for data on the socket that holds the port; with none, a sleep.
static bool WaitForData(int timeout) {
    NoteListenerStep();
    if (g_listener.watch == kNoSocketWatch) {
        SleepMilliseconds(timeout);
        return false;
    }
    bool ready = WaitForSocketWatch(g_listener.watch, timeout) != 0;
    // A wait that was itself the hold may time out with datagrams queued.
    if (!NoteListenerStep() && !ready) NoteSocketEmpty();
    CountWait();
    return ready;
}

// Receives and files every datagram as it comes (when a socket holds the
// port), until the deadline or until a waited-for port is taken. Without
// a deadline the first control word sets one, its pause from now, and so
// does the window's request; a control word within a pause is filed like
// any datagram and moves nothing, so that a stream of them cannot keep the
// settings from being re-read. A socket that fails sits out the pause (a
// restart's, when none had begun) and is then replaced, so that a station
// is never left deaf to callers until the host is restarted.
static CycleEnd Listen(UDPControl& control, int64_t deadline) {
    const int wait = ListenerMilliseconds(kReceiveWaitMilliseconds);
    for (;;) {
        FileWaitingCalls();
        WriteDueSums();
        if (TakeRestartRequest() && deadline == kNoDeadline) deadline = DeadlineAfter(kRestartPauseMilliseconds);
        int timeout = wait;
        if (CallsAreWaiting() && timeout > wait - kWaitingCallTryMilliseconds)
            timeout = wait > kWaitingCallTryMilliseconds ? wait - kWaitingCallTryMilliseconds : 1;
        if (deadline != kNoDeadline) {
            int left = MillisecondsUntil(deadline);
            if (left == 0) return IsStopRequested(control) ? CycleEnd::Stopped : CycleEnd::Restart;
            if (left < timeout) timeout = left;
        }
        // A restart under way re-reads the settings, which decide the port.
        if (g_move.socket != kNoSocket && deadline == kNoDeadline) {
            int left = MillisecondsUntil(g_move.retryAt);
            if (left == 0 && !IsStopRequested(control) && TryPortMove(control)) return CycleEnd::PortTaken;
            if (left != 0 && left < timeout) timeout = left;
        }
        bool ready = WaitForData(timeout);
        if (IsStopRequested(control)) return CycleEnd::Stopped;
        if (!ready) continue;
        Received got = ReceiveIntoBuffer(control);
        if (got == Received::Broken) {
            if (deadline == kNoDeadline) deadline = DeadlineAfter(kRestartPauseMilliseconds);
            return PauseUntil(control, deadline) ? CycleEnd::Restart : CycleEnd::Stopped;
        }
        if (got != Received::Datagram) continue;
        int pause = FileDatagram(control);
        if (pause != 0 && deadline == kNoDeadline) deadline = DeadlineAfter(pause);
    }
}

// The start of listening on the socket that holds the port; false when the
// socket cannot be watched, which ends the listener.
static bool BeginListening(UDPControl& control) {
    ForgetListenerPace();
    WriteEventLogF(kListening, g_listener.listeningPort);
    ForgetBuiltRecords();
    std::memset(g_listener.datagram, 0, sizeof g_listener.datagram);
    g_listener.waits = 0;
    CloseWatch();
    return WatchListeningSocket(control);
}

// The end of a cycle in a restart: the new socket is made while the old one
// still holds the port and files what comes, and the settings are read
// again; a socket that cannot be made now (the system out of handles or
// buffers) is asked for again after the bind retry's wait. A port waited
// for is given up: the settings read now say which port is wanted. False
// on a stop.
static bool Rebind(UDPControl& control) {
    WriteEventLog(kEnding);
    DropPortMove();
    SocketHandle fresh = kNoSocket;
    while (OpenListenerSocket(&fresh) != 0)
        if (Listen(control, DeadlineAfter(kBindRetryMilliseconds)) == CycleEnd::Stopped) return false;
    LoadSettings();
    TakeSenderRules();
    int32_t port = ListeningPort();
    WriteEventLogF(kWaitingForPort, port);
    if (g_listener.bound && SocketPort(port) == SocketPort(g_listener.listeningPort)) {
        RebindSamePort(control, fresh, port);
    } else {
        g_move = {fresh, port, 0, 0};
        TryPortMove(control);
    }
    return true;
}

// The state stays positive across restarts and is set to -1 only when the
// thread ends: were it lowered between cycles, a stop that came in between
// would be overwritten by the next cycle and the stop would wait forever.
void HOSTVA UDPoling(void* block) {
    UDPControl& control = *static_cast<UDPControl*>(block);
    g_listener.loggedBindError = 0;
    g_listener.bound = false;
    TakeRestartRequest();   // one left from an earlier start is spent
    TakeSenderRules();
    int32_t port = ListeningPort();
    WriteEventLogF(kWaitingForPort, port);
    g_move = {control.socket, port, 0, 0};
    control.socket = kNoSocket;
    TryPortMove(control);
    for (;;) {
        if (g_listener.bound && !BeginListening(control)) {
            WriteEventLog(kEnding);
            break;
        }
        CycleEnd end = Listen(control, kNoDeadline);
        if (end == CycleEnd::Stopped) {
            WriteEventLog(kEnding);
            break;
        }
        if (end == CycleEnd::Restart && !Rebind(control)) break;
    }
    CloseListeningSocket(control);
    WriteAllSums();
    FinishWaitingCalls();
    PublishPorts();
    std::atomic_ref<int32_t>(control.state).store(-1);
}
