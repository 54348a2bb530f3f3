// One socket that sends datagrams to a port on 127.0.0.1, from 127.0.0.1
// or from another loopback address (a second device on the network).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace bench {

class LoopbackSender {
public:
    explicit LoopbackSender(const char* from = nullptr) : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
        if (!from) return;
        sockaddr_in source{};
        source.sin_family = AF_INET;
        inet_pton(AF_INET, from, &source.sin_addr);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0) std::perror("bind");
    }
    ~LoopbackSender() { close(fd_); }
    LoopbackSender(const LoopbackSender&) = delete;
    LoopbackSender& operator=(const LoopbackSender&) = delete;

    void Send(int port, const std::string& bytes) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(port));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }

private:
    int fd_;
};

}  // namespace bench
