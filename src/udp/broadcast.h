// The broadcast commands: one datagram to every listener on the local
// network segment, this station's own included.
#pragma once

#include <cstdint>

inline constexpr char kPingCommand[] = "ping\tping\tping\r";
inline constexpr char kRestartCommand[] = "restart\trestart\trestart\r";

// Sends text (without its NUL) to 255.255.255.255 on the low 16 bits of
// port. Only a success leaves a trace, in the day log.
void UDPBroadcast(const char* text, int32_t port);
