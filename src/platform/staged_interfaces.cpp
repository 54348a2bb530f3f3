// The test switch of the interface list, the same on every system: a test
// stages the interfaces of a station on another network, so that the
// senders taken by default (the local subnets) can be tried on loopback.
// A test stages the list before the listener reads it.
#include <atomic>

#include "platform/platform.h"

static constexpr int kMostStaged = 16;
static std::atomic<int> g_stagedCount{-1};
static InterfaceAddress g_staged[kMostStaged];

void StageInterfaceAddresses(const InterfaceAddress* addresses, int count) {
    int kept = count < 0 ? -1 : (count > kMostStaged ? kMostStaged : count);
    g_stagedCount.store(-1);
    for (int i = 0; i < kept; ++i) g_staged[i] = addresses[i];
    g_stagedCount.store(kept, std::memory_order_release);
}

int TakeStagedInterfaces(InterfaceAddress* addresses, int capacity) {
    int staged = g_stagedCount.load(std::memory_order_acquire);
    if (staged < 0) return -1;
    int count = staged < capacity ? staged : capacity;
    for (int i = 0; i < count; ++i) addresses[i] = g_staged[i];
    return count;
}
