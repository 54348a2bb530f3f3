// The broadcast sender. It runs on the user-interface thread and takes its
// own start-up of the socket library, so that it never depends on the
// listener's socket or disturbs it.
#include "udp/broadcast.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "storage/day_log.h"
#include "udp/datagram.h"
#include "udp/port_rule.h"

static constexpr char kBroadcastAddress[] = "255.255.255.255";

static bool SendBroadcast(SocketHandle socket, const char* text, int length, int32_t port) {
    return SetSocketNonBlocking(socket) == 0 && AllowBroadcast(socket) == 0 &&
           SendDatagram(socket, kBroadcastAddress, PortInUse(port), text, length) == 0;
}

void UDPBroadcast(const char* text, int32_t port) {
    if (StartSockets() != 0) return;
    SocketHandle socket = kNoSocket;
    if (OpenUdpSocket(&socket) == 0) {
        // A listener takes at most this much of a datagram.
        int length = static_cast<int>(strnlen(text, kDatagramCapacity - 1));
        if (SendBroadcast(socket, text, length, port)) {
            char message[kDatagramCapacity + 32];
            std::snprintf(message, sizeof message, "S[%s:%d]=%.*s", kBroadcastAddress, port,
                          length, text);
            WriteEventLog(message);
        }
        CloseSocket(socket);
    }
    ReleaseSockets();
}
