// The UDP listener: the socket, and the thread procedure that binds it,
// waits for datagrams and files them.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The listener's control block, handed to the host's thread services.
struct UDPControl {
    int32_t state;          // 1 while listening, -1 when a cycle has ended
    int32_t hostWords[3];   // the host's own
    SocketHandle socket;
    uint8_t sender[16];     // IPv4 address of the last datagram's sender
};

int UDPOn();
void HOSTVA UDPoling(void* block);
