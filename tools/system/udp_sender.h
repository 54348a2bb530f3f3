// One UDP datagram from the command line to a listener, as the caller-ID
// box sends it. One file per system implements it (udp_sender_posix.cpp,
// udp_sender_win32.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Sends payload as one datagram to the dotted IPv4 address and port.
// Returns an empty text on success, otherwise what went wrong.
std::string SendUdpDatagram(const std::string& address, uint16_t port, std::string_view payload);
