// Sending one datagram with POSIX sockets.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "system/udp_sender.h"

std::string SendUdpDatagram(const std::string& address, uint16_t port, std::string_view payload) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1)
        return "not an IPv4 address: " + address;
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return std::string("socket: ") + std::strerror(errno);
    // A broadcast address needs the permission; any other ignores it.
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    std::string error;
    if (sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0)
        error = std::string("sendto: ") + std::strerror(errno);
    close(fd);
    return error;
}
