// The lock-order check and the staged lock failure, the same on every
// system. The check is off unless a test turns it on; it then stops the
// process at the first wrong step, naming it, so that an order that only
// deadlocks now and then fails every time.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

static std::atomic<bool> g_checkLockOrder{false};
static std::atomic<int> g_stationLockFault{0};
static thread_local bool t_holdsSharedState = false;

void CheckLockOrder(bool on) { g_checkLockOrder.store(on); }

[[noreturn]] static void StopForOrder(const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "lock order: %s under the plug-in's lock\n", what);
    WriteDebuggerText(text);
    std::abort();
}

void NoteFileWork(const char* what) {
    if (t_holdsSharedState && g_checkLockOrder.load()) StopForOrder(what);
}

void NoteSharedStateWanted() {
    if (t_holdsSharedState && g_checkLockOrder.load()) StopForOrder("a wait for the plug-in's lock");
}

void NoteSharedStateTaken() { t_holdsSharedState = true; }

void NoteSharedStateReleased() { t_holdsSharedState = false; }

void FailStationLocks(int systemError) { g_stationLockFault.store(systemError); }

int TakeStationLockFault() { return g_stationLockFault.load(); }
