// The UDP listener: the socket, and the thread procedure that binds it,
// waits for datagrams and files them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// The listener's control block, handed to the host's thread services.
struct UDPControl {
    int32_t state;          // positive while the listener may run; the host's stop makes it 0
    int32_t hostWords[3];   // the host's own
    SocketHandle socket;
    uint8_t sender[16];     // IPv4 address of the last datagram's sender
};

// The host's thread services see the block as 32-bit words.
static_assert(offsetof(UDPControl, state) == 0);
static_assert(offsetof(UDPControl, hostWords) == 4);
static_assert(offsetof(UDPControl, socket) == 16);
static_assert(offsetof(UDPControl, sender) == 20);
static_assert(sizeof(UDPControl) == 36);

// Creates the listening socket in the thread block; 0 on success, 1 on
// failure. The first call also starts the socket library for the listener.
int UDPOn();
// The listener thread's procedure: listening cycles until a stop, or
// until a cycle ends without a restart.
void HOSTVA UDPoling(void* block);
// Marks the block as running before the host starts the thread, so that
// a stop that comes before the thread's first look is never missed.
void UDPMarkRunning(UDPControl& control);
// Releases the socket library start-up that UDPOn took, and closes the
// socket it made if no listener thread took it over.
void UDPReleaseSockets();
// Nanoseconds from the old socket's close to the new one's bind at the
// last restart that kept its port; -1 before the first. For the benchmarks.
int64_t UDPLastRebindGap();
// The receive queue, in bytes, that the system reported for the last
// listening socket made (Linux reports twice what it was asked for).
int UDPReceiveBufferBytes();
