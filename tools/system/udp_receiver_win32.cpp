// Receiving datagrams with Windows Sockets.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <vector>

#include "system/udp_receiver.h"

// Room for any UDP payload, so that an oversized datagram shows its length.
static constexpr int kLargestDatagram = 65536;

UdpReceiver::~UdpReceiver() {
    if (socket_ != -1) closesocket(static_cast<SOCKET>(socket_));
    if (started_) WSACleanup();
}

UdpReceiver::Bind UdpReceiver::BindPort(uint16_t port, std::string& error) {
    WSADATA data;
    if (!started_) {
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            error = "WSAStartup failed";
            return Bind::Failed;
        }
        started_ = true;
    }
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) {
        error = "socket: error " + std::to_string(WSAGetLastError());
        return Bind::Failed;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
        int code = WSAGetLastError();
        closesocket(s);
        error = "bind: error " + std::to_string(code);
        return code == WSAEADDRINUSE || code == WSAEACCES ? Bind::InUse : Bind::Failed;
    }
    socket_ = static_cast<intptr_t>(s);
    return Bind::Bound;
}

UdpReceiver::Wait UdpReceiver::Receive(int milliseconds, ReceivedDatagram& datagram, std::string& error) {
    SOCKET s = static_cast<SOCKET>(socket_);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    int ready = select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == 0) return Wait::Nothing;
    if (ready == SOCKET_ERROR) {
        error = "select: error " + std::to_string(WSAGetLastError());
        return Wait::Failed;
    }
    std::vector<char> buffer(kLargestDatagram);
    sockaddr_in from{};
    int fromLength = sizeof from;
    int length = recvfrom(s, buffer.data(), kLargestDatagram, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (length == SOCKET_ERROR) {
        int code = WSAGetLastError();
        if (code == WSAECONNRESET || code == WSAEWOULDBLOCK) return Wait::Nothing;
        error = "recvfrom: error " + std::to_string(code);
        return Wait::Failed;
    }
    datagram.bytes.assign(buffer.data(), static_cast<std::size_t>(length));
    datagram.sender = inet_ntoa(from.sin_addr);
    return Wait::Datagram;
}
