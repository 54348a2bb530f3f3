// Receiving caller-ID datagrams on a UDP port: bound to every local
// address, with no socket option of its own (the plug-in's listener binds
// for its use alone and enlarges its receive queue). One file per
// system implements it (udp_receiver_posix.cpp, udp_receiver_win32.cpp).
#pragma once

#include <cstdint>
#include <string>

struct ReceivedDatagram {
    std::string bytes;    // the whole payload, however long
    std::string sender;   // dotted IPv4 address
};

class UdpReceiver {
public:
    enum class Bind { Bound, InUse, Failed };
    enum class Wait { Datagram, Nothing, Failed };

    UdpReceiver() = default;
    ~UdpReceiver();
    UdpReceiver(const UdpReceiver&) = delete;
    UdpReceiver& operator=(const UdpReceiver&) = delete;

    // InUse when another socket holds the port; error says what failed.
    Bind BindPort(uint16_t port, std::string& error);
    // Waits at most milliseconds for one datagram.
    Wait Receive(int milliseconds, ReceivedDatagram& datagram, std::string& error);

private:
    intptr_t socket_ = -1;
    [[maybe_unused]] bool started_ = false;   // the socket library is started on Windows only
};
