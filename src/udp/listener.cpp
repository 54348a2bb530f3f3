// The UDP listener: one socket on the UDP port of the settings, and the
// thread procedure that binds it and files every datagram that arrives.
// Control words ("ping", "PING", "restart") make it pause, re-read the
// settings and listen again; a stop from the host ends it within 100 ms
// whatever it is doing.
#include "udp/listener.h"

#include <atomic>
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
    bool restart;            // the cycle ends in a restart
    int waits;               // waits since the last "I'm alive" line
};
static ListenerState g_listener = {{}, {}, kNoSocketWatch, false, false, 0};

// Whether UDPOn holds a start-up of the socket library. It takes one for
// the life of the listener, however often the listener restarts, and the
// stop gives it back once.
static std::atomic<bool> g_holdsSockets{false};

static constexpr int kWaitsPerAliveLine = 100;

enum class Pass { Next, EndCycle };

static bool HoldSockets() {
    if (g_holdsSockets.load()) return true;
    if (StartSockets() != 0) return false;
    g_holdsSockets.store(true);
    return true;
}

int UDPOn() {
    WriteEventLog("UDPOn()");
    SocketHandle& socket = g_frame.threadBlock.socket;
    socket = kNoSocket;
    if (HoldSockets()) {
        int error = OpenUdpSocket(&socket);
        if (error == 0) {
            WriteEventLog("UDPOn() - OK");
            return 0;
        }
        socket = kNoSocket;
        WriteEventLogF("socket() error: %d", error);
    }
    WriteEventLog("UDPOn() - Error");
    return 1;
}

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
// shows it whole. Only "address in use" is worth waiting for.
static bool BindListeningSocket(UDPControl& control, int32_t port) {
    for (;;) {
        int error = BindUdpSocket(control.socket, static_cast<uint16_t>(port));
        if (error == 0) return true;
        if (g_listener.bindErrorToLog) {
            WriteEventLogF("bind() error: %d", error);
            g_listener.bindErrorToLog = false;
        }
        if (error != kSocketAddressInUse) return false;
        if (!PauseUnlessStopped(control, kBindRetryMilliseconds)) return false;
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

static void SenderAddressText(const uint8_t sender[16], char* text, std::size_t size) {
    std::snprintf(text, size, "%u.%u.%u.%u", sender[4], sender[5], sender[6], sender[7]);
}

// Every datagram is logged; a record equal to the previous one byte for
// byte is not handed on.
static void FileDatagram(UDPControl& control, CallRecord& record) {
    char sender[16];
    SenderAddressText(control.sender, sender, sizeof sender);
    char message[kDatagramCapacity + sizeof sender + 8];
    std::snprintf(message, sizeof message, "R[%s]:%s", sender, g_listener.datagram);
    WriteEventLog(message);
    UDPBuildRecord(g_listener.datagram, record);
    if (std::memcmp(&record, &g_listener.previous, sizeof record) == 0) {
        WriteEventLog("Bez zapisu");
    } else {
        UDPRecordCall(record);
        WriteEventLog("Zapis");
    }
    std::memcpy(&g_listener.previous, &record, sizeof record);
}

// A control word pauses with the socket still bound, then ends the cycle
// so that the next one starts with freshly read settings. From then on a
// busy port is waited for silently.
static Pass ObeyControlWord(UDPControl& control, const CallRecord& record) {
    int pause = ControlWordPauseMilliseconds(record.phone);
    if (pause == 0) return Pass::Next;
    g_listener.bindErrorToLog = false;
    g_listener.restart = true;
    PauseUnlessStopped(control, pause);
    return Pass::EndCycle;
}

// Resets (the echo of an earlier send to a closed port) and spurious
// wake-ups are routine. A datagram too long for the buffer has been
// dropped whole by the system and leaves the socket sound. Any other error
// ends the cycle, but in a restart: a station must not stay deaf to callers
// until the host is restarted.
static Pass SurviveReceiveError(UDPControl& control, int error) {
    if (error == kSocketConnectionReset || error == kSocketWouldBlock) return Pass::Next;
    WriteEventLogF("recvfrom() error: %d", error);
    if (error == kSocketMessageTooLong) return Pass::Next;
    g_listener.restart = true;
    PauseUnlessStopped(control, kRestartPauseMilliseconds);
    return Pass::EndCycle;
}

static Pass ReceiveOneDatagram(UDPControl& control) {
    ResetSocketWatch(g_listener.watch);
    int length = 0;
    int error = ReceiveDatagram(control.socket, g_listener.datagram, kDatagramCapacity - 1,
                                control.sender, &length);
    if (error != 0) return SurviveReceiveError(control, error);
    if (length == 0) return Pass::Next;
    g_listener.datagram[length] = '\0';
    CallRecord record;
    FileDatagram(control, record);
    return ObeyControlWord(control, record);
}

static void CountWait() {
    if (++g_listener.waits < kWaitsPerAliveLine) return;
    g_listener.waits = 0;
    WriteEventLog("I'm alive - pooling loop 10 sek");
}

// One datagram per wake-up; a datagram still queued wakes the next wait.
static void ReceiveDatagrams(UDPControl& control) {
    int wait = ListenerMilliseconds(kReceiveWaitMilliseconds);
    g_listener.waits = 0;
    for (;;) {
        bool ready = WaitForSocketWatch(g_listener.watch, wait) != 0;
        CountWait();
        if (IsStopRequested(control)) return;
        if (ready && ReceiveOneDatagram(control) == Pass::EndCycle) return;
    }
}

static void EndCycle(UDPControl& control) {
    WriteEventLog("UDPoling() - zakonczenie");
    if (g_listener.watch != kNoSocketWatch) {
        CloseSocketWatch(g_listener.watch);
        g_listener.watch = kNoSocketWatch;
    }
    if (control.socket != kNoSocket) {
        CloseSocket(control.socket);
        control.socket = kNoSocket;
    }
}

// One listening cycle: wait for the port, listen, end. True when the
// cycle asks for a restart.
static bool ListenOneCycle(UDPControl& control) {
    g_listener.restart = false;
    int32_t port = ListeningPort();
    WriteEventLogF("UDPoling() - oczekiwanie na zwolnienie portu UDP %d", port);
    if (BindListeningSocket(control, port)) {
        WriteEventLogF("UDPoling() - rozpoczeto nasluch na UDP UDP %d", port);
        std::memset(&g_listener.previous, 0, sizeof g_listener.previous);
        std::memset(g_listener.datagram, 0, sizeof g_listener.datagram);
        if (WatchListeningSocket(control)) ReceiveDatagrams(control);
    }
    EndCycle(control);
    return g_listener.restart;
}

// A restart's socket. Taken to the bind without a socket, the cycle would
// end there and the station would stay deaf to callers until the host
// restarted the plug-in; a socket that cannot be made now (the system out
// of handles or buffers) is asked for again after the bind retry's wait.
// False when a stop came first.
static bool OpenSocketForRestart(UDPControl& control) {
    while (UDPOn() != 0)
        if (!PauseUnlessStopped(control, kBindRetryMilliseconds)) return false;
    return true;
}

// The state stays positive across restarts and is set to -1 only when the
// thread ends: were it lowered between cycles, a stop that came in between
// would be overwritten by the next cycle and the stop would wait forever.
void HOSTVA UDPoling(void* block) {
    UDPControl& control = *static_cast<UDPControl*>(block);
    g_listener.bindErrorToLog = true;
    while (ListenOneCycle(control) && !IsStopRequested(control)) {
        LoadSettings();
        if (!OpenSocketForRestart(control)) break;
    }
    std::atomic_ref<int32_t>(control.state).store(-1);
}
