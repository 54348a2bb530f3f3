// Receiving datagrams with POSIX sockets.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "system/udp_receiver.h"

// Room for any UDP payload, so that an oversized datagram shows its length.
static constexpr std::size_t kLargestDatagram = 65536;

UdpReceiver::~UdpReceiver() {
    if (socket_ >= 0) close(static_cast<int>(socket_));
}

UdpReceiver::Bind UdpReceiver::BindPort(uint16_t port, std::string& error) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return Bind::Failed;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int code = errno;
        close(fd);
        error = std::string("bind: ") + std::strerror(code);
        return code == EADDRINUSE ? Bind::InUse : Bind::Failed;
    }
    socket_ = fd;
    return Bind::Bound;
}

UdpReceiver::Wait UdpReceiver::Receive(int milliseconds, ReceivedDatagram& datagram, std::string& error) {
    pollfd watched{static_cast<int>(socket_), POLLIN, 0};
    int ready = poll(&watched, 1, milliseconds);
    if (ready == 0 || (ready < 0 && errno == EINTR)) return Wait::Nothing;
    if (ready < 0) {
        error = std::string("poll: ") + std::strerror(errno);
        return Wait::Failed;
    }
    std::vector<char> buffer(kLargestDatagram);
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t length = recvfrom(static_cast<int>(socket_), buffer.data(), buffer.size(), 0,
                              reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (length < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == ECONNREFUSED) return Wait::Nothing;
        error = std::string("recvfrom: ") + std::strerror(errno);
        return Wait::Failed;
    }
    char sender[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &from.sin_addr, sender, sizeof sender);
    datagram.bytes.assign(buffer.data(), static_cast<std::size_t>(length));
    datagram.sender = sender;
    return Wait::Datagram;
}
