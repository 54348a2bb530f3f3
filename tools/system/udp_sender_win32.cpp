// Sending one datagram with Windows Sockets.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "system/udp_sender.h"

std::string SendUdpDatagram(const std::string& address, uint16_t port, std::string_view payload) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return "WSAStartup failed";
    std::string error;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr(address.c_str());
    SOCKET s = INVALID_SOCKET;
    if (to.sin_addr.s_addr == INADDR_NONE && address != "255.255.255.255") {
        error = "not an IPv4 address: " + address;
    } else if ((s = socket(AF_INET, SOCK_DGRAM, 0)) == INVALID_SOCKET) {
        error = "socket: error " + std::to_string(WSAGetLastError());
    } else {
        // A broadcast address needs the permission; any other ignores it.
        BOOL on = TRUE;
        setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
        if (sendto(s, payload.data(), static_cast<int>(payload.size()), 0,
                   reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR)
            error = "sendto: error " + std::to_string(WSAGetLastError());
        closesocket(s);
    }
    WSACleanup();
    return error;
}
