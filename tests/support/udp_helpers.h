// What the UDP tests share: free ports, sending real datagrams over
// loopback, seeding the host's settings, and waiting for the day log.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/free_udp_port.h"
#include "support/test_support.h"

namespace test {

// A socket bound to a port on every local address, as another program
// holding the listener's port would be; closed when it goes.
class BoundPort {
public:
    explicit BoundPort(int port) : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundPort() { Release(); }
    BoundPort(const BoundPort&) = delete;
    BoundPort& operator=(const BoundPort&) = delete;
    bool bound() const { return bound_; }
    int fd() const { return fd_; }
    void Release() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    bool bound_;
};

// Whether a UDP socket of this process's network is bound to the port.
inline bool UdpPortBound(int port) {
    char local[8];
    std::snprintf(local, sizeof local, ":%04X ", port);
    return ReadFile("/proc/net/udp").find(local) != std::string::npos;
}

inline bool SendUdp(int port, std::string_view bytes, const char* address = "127.0.0.1") {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address, &to.sin_addr);
    bool sent = sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                       sizeof to) == static_cast<ssize_t>(bytes.size());
    close(fd);
    return sent;
}

// One datagram from a chosen loopback address (127.0.0.x), as a second
// device on the office network would send it.
inline bool SendUdpFrom(const char* from, int port, std::string_view bytes) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    inet_pton(AF_INET, from, &source.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    bool sent = bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0 &&
                sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
                    static_cast<ssize_t>(bytes.size());
    close(fd);
    return sent;
}

// The host's own settings: notice shown, the option bits, slot 0, the port.
inline void SeedHostSettings(int options, long long port, const std::string& dir = ".") {
    WriteFile(dir + "/MERLOX.INI",
              "[Ornitel]\nPytaj=1," + std::to_string(options) + ",0," + std::to_string(port) + "\n");
}

// Polls until the condition holds; false when the limit ran out. The limit
// only bounds a failing test: a passing one returns as soon as it can.
inline bool WaitUntil(const std::function<bool()>& condition, int limitMilliseconds = 10000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The messages of a day log's event lines (without date, time, computer,
// station and user), and its call lines whole.
struct DayLogLines {
    std::vector<std::string> events;
    std::vector<std::string> calls;
};

inline DayLogLines SplitDayLog(const std::string& text) {
    DayLogLines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t user = line.find(":u=");
        std::size_t blank = user == std::string::npos ? user : line.find(' ', user);
        if (blank == std::string::npos)
            lines.calls.push_back(line);
        else
            lines.events.push_back(line.substr(blank + 1));
    }
    return lines;
}

// True when the messages appear in this order, others allowed between.
inline bool InOrder(const std::vector<std::string>& events, const std::vector<std::string>& expected) {
    auto at = events.begin();
    for (const std::string& message : expected) {
        at = std::find(at, events.end(), message);
        if (at == events.end()) return false;
        ++at;
    }
    return true;
}

inline int CountEvent(const DayLogLines& lines, const std::string& message) {
    int count = 0;
    for (const std::string& event : lines.events) count += event == message;
    return count;
}

}  // namespace test
