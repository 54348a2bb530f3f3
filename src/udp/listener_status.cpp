// The listener's ports as the user-interface thread sees them. The listener
// thread is the only writer; a reader copies the fields between two equal
// even versions, so it never sees half of an update and never waits for a
// lock (the writer does not block between the two version stores).
#include "udp/listener_status.h"

#include <atomic>
#include <cstdio>

#include "platform/platform.h"
#include "text/mazovia.h"

static std::atomic<uint32_t> g_version{0};
static std::atomic<bool> g_listening{false};
static std::atomic<int32_t> g_listeningPort{0};
static std::atomic<int32_t> g_wantedPort{0};
static std::atomic<int> g_bindError{0};
static std::atomic<bool> g_restartRequested{false};
static std::atomic<int> g_socketError{0};

static constexpr auto kNotListening =
    MZ(u8"Stanowisko NIE odbiera połączeń: nie można otworzyć portu UDP %d (bind() error: %d)%s. "
       u8"Ponowna próba co 10 sekund.");
static constexpr auto kNoSocketMade =
    MZ(u8"Stanowisko NIE odbiera połączeń: nie można utworzyć gniazda UDP (błąd %d). "
       u8"Uruchom program ponownie.");
static constexpr auto kStillOnOldPort =
    MZ(u8"Nie można otworzyć portu UDP %d (bind() error: %d)%s. Połączenia są nadal odbierane "
       u8"na porcie %d; ponowna próba co 10 sekund.");
// What the user can make of the two refusals a taken port gives. The
// listener asks for the port's exclusive use, so Windows answers it
// "address in use" whoever holds the port and however they bound it;
// "access denied" comes from the system itself (a port reserved for
// another service, a port below 1024 on Linux).
static constexpr auto kHeldByAnotherProgram = MZ(u8" - port zajmuje inny program");
static constexpr auto kRefusedBySystem = MZ(u8" - system nie pozwala użyć tego portu (port zastrzeżony)");

void PublishListenerPorts(const ListenerPorts& ports) {
    uint32_t version = g_version.load(std::memory_order_relaxed);
    g_version.store(version + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    g_listening.store(ports.listening, std::memory_order_relaxed);
    g_listeningPort.store(ports.listeningPort, std::memory_order_relaxed);
    g_wantedPort.store(ports.wantedPort, std::memory_order_relaxed);
    g_bindError.store(ports.bindError, std::memory_order_relaxed);
    g_version.store(version + 2, std::memory_order_release);
}

ListenerPorts ReadListenerPorts() {
    for (;;) {
        uint32_t before = g_version.load(std::memory_order_acquire);
        ListenerPorts ports{g_listening.load(std::memory_order_relaxed),
                            g_listeningPort.load(std::memory_order_relaxed),
                            g_wantedPort.load(std::memory_order_relaxed),
                            g_bindError.load(std::memory_order_relaxed)};
        std::atomic_thread_fence(std::memory_order_acquire);
        if (before % 2 == 0 && g_version.load(std::memory_order_relaxed) == before) return ports;
    }
}

void PublishNoSocket(int error) { g_socketError.store(error); }

void UDPRequestRestart() { g_restartRequested.store(true); }

bool TakeRestartRequest() { return g_restartRequested.exchange(false); }

static const char* RefusalReason(int bindError) {
    if (bindError == kSocketAddressInUse) return kHeldByAnotherProgram.c_str();
    if (bindError == kSocketAccessDenied) return kRefusedBySystem.c_str();
    return "";
}

bool UDPPortWarning(char* text, std::size_t size) {
    if (size == 0) return false;
    text[0] = '\0';
    if (int error = g_socketError.load(); error != 0) {
        std::snprintf(text, size, kNoSocketMade, error);
        return true;
    }
    ListenerPorts ports = ReadListenerPorts();
    if (ports.bindError == 0) return false;
    const char* reason = RefusalReason(ports.bindError);
    if (ports.listening)
        std::snprintf(text, size, kStillOnOldPort, ports.wantedPort, ports.bindError, reason, ports.listeningPort);
    else
        std::snprintf(text, size, kNotListening, ports.wantedPort, ports.bindError, reason);
    return true;
}
