// The test switches of the socket seam, the same on every system: the next
// receives, library start-ups or socket creations fail with a chosen error,
// so that tests reach the listener's error paths without a broken network.
#include <atomic>

#include "platform/platform.h"

static std::atomic<int> g_receiveFaults{0};
static std::atomic<int> g_receiveFaultError{0};

void FailNextReceives(int count, int error) {
    g_receiveFaultError.store(error);
    g_receiveFaults.store(count > 0 ? count : 0);
}

bool TakeReceiveFault(int* error) {
    int count = g_receiveFaults.load();
    while (count > 0) {
        if (g_receiveFaults.compare_exchange_weak(count, count - 1)) {
            *error = g_receiveFaultError.load();
            return true;
        }
    }
    return false;
}

static std::atomic<int> g_socketCallFaults[static_cast<int>(SocketCall::kCount)];
static std::atomic<int> g_socketCallErrors[static_cast<int>(SocketCall::kCount)];

void FailNextSocketCalls(SocketCall call, int count, int error) {
    g_socketCallErrors[static_cast<int>(call)].store(error);
    g_socketCallFaults[static_cast<int>(call)].store(count > 0 ? count : 0);
}

bool TakeSocketFault(SocketCall call, int* error) {
    std::atomic<int>& pending = g_socketCallFaults[static_cast<int>(call)];
    int count = pending.load();
    while (count > 0) {
        if (pending.compare_exchange_weak(count, count - 1)) {
            *error = g_socketCallErrors[static_cast<int>(call)].load();
            return true;
        }
    }
    return false;
}
