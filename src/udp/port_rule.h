// What a stored port value means, written once for every part that reads
// it: the plug-in's listener and broadcast, and the callerid tool's doctor
// and firewall commands. The setup's firewall step (NSIS, which cannot
// include this) works it out the same way in packaging/setup_firewall.nsh.
#pragma once

#include <cstdint>

// The caller-ID box's port, and the one a stored 0 stands for.
inline constexpr int32_t kBoxPort = 1338;

// The settings keep the port as a 32-bit number and a socket takes 16 bits:
// the port in use is the value's low 16 bits. Where those are 0 (0 itself,
// 65536, ...) it is the box's port, as a stored 0 is at every load; binding
// port 0 would give the listener a port no box sends to.
constexpr uint16_t PortInUse(int64_t stored) {
    uint16_t low = static_cast<uint16_t>(static_cast<uint64_t>(stored) & 0xFFFF);
    return low != 0 ? low : static_cast<uint16_t>(kBoxPort);
}

// Whether a stored value names its port as it is; any other is a setting
// to correct, however it is used.
constexpr bool PortIsWritten(int64_t stored) { return stored >= 1 && stored <= 65535; }
