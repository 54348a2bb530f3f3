// The host's own lock: a recursive lock whose holder can let every level go
// while it waits for the user, and whose waiters can be counted, so that a
// script can press a key exactly while the listener waits for the host.
#include "plumbing/host_lock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "plumbing/host.h"

namespace refhost {
namespace {

struct Lock {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread::id owner;
    int depth = 0;
    int waiters = 0;
    int pinned = 0;  // levels a script took itself: kept while the user acts
    // A script's trap at one service's door: the first other thread to
    // enter it waits there until the script has taken the lock.
    unsigned trapOrdinal = 0;
    std::thread::id trapSetter;
    bool trapSprung = false;
    bool trapOpen = false;
};

constexpr auto kTrapLimit = std::chrono::seconds(10);

Lock& TheLock() {
    static Lock lock;
    return lock;
}

// Takes `levels` levels of the lock for this thread, waiting without bound
// (at a trap set for this service, first until the script lets it in).
void Acquire(int levels, unsigned ordinal = 0) {
    Lock& lock = TheLock();
    std::unique_lock guard(lock.mutex);
    std::thread::id me = std::this_thread::get_id();
    if (ordinal != 0 && ordinal == lock.trapOrdinal && me != lock.trapSetter && !lock.trapSprung) {
        lock.trapSprung = true;
        lock.changed.notify_all();
        lock.changed.wait_for(guard, kTrapLimit, [&] { return lock.trapOpen; });
    }
    if (lock.depth > 0 && lock.owner == me) {
        lock.depth += levels;
        return;
    }
    ++lock.waiters;
    lock.changed.notify_all();
    lock.changed.wait(guard, [&] { return lock.depth == 0; });
    --lock.waiters;
    lock.owner = me;
    lock.depth = levels;
}

// Gives back `levels` levels (when negative, all but those a script took
// itself); returns how many it gave.
int Release(int levels) {
    Lock& lock = TheLock();
    std::lock_guard guard(lock.mutex);
    if (lock.depth == 0 || lock.owner != std::this_thread::get_id()) return 0;
    int given = levels < 0 ? lock.depth - lock.pinned : levels > lock.depth ? lock.depth : levels;
    lock.depth -= given;
    if (lock.depth == 0) {
        lock.owner = {};
        lock.changed.notify_all();
    }
    return given;
}

}  // namespace

bool HostLockOn() { return HostOptions().hostLock.load(); }

HostLockScope::HostLockScope(unsigned ordinal) : held_(HostLockOn()) {
    if (held_) Acquire(1, ordinal);
}

HostLockScope::~HostLockScope() {
    if (held_) Release(1);
}

HostLockReleased::HostLockReleased() : depth_(Release(-1)) {}

HostLockReleased::~HostLockReleased() {
    if (depth_ > 0) Acquire(depth_);
}

void SetHostLockTrap(unsigned ordinal) {
    Lock& lock = TheLock();
    std::lock_guard guard(lock.mutex);
    lock.trapOrdinal = ordinal;
    lock.trapSetter = std::this_thread::get_id();
    lock.trapSprung = lock.trapOpen = false;
}

bool TakeHostLockWhenWanted(int limitMilliseconds) {
    Lock& lock = TheLock();
    auto limit = std::chrono::milliseconds(limitMilliseconds);
    bool sprung = true;
    {
        std::unique_lock guard(lock.mutex);
        if (lock.trapOrdinal != 0) sprung = lock.changed.wait_for(guard, limit, [&] { return lock.trapSprung; });
    }
    Acquire(1);
    std::unique_lock guard(lock.mutex);
    ++lock.pinned;
    lock.trapOpen = true;
    lock.trapOrdinal = 0;
    lock.changed.notify_all();
    return sprung && lock.changed.wait_for(guard, limit, [&] { return lock.waiters > 0; });
}

void GiveBackHostLock() {
    Lock& lock = TheLock();
    {
        std::lock_guard guard(lock.mutex);
        if (lock.pinned == 0 || lock.owner != std::this_thread::get_id()) return;
        --lock.pinned;
    }
    Release(1);
}

int HostLockWaiters() {
    Lock& lock = TheLock();
    std::lock_guard guard(lock.mutex);
    return lock.waiters;
}

}  // namespace refhost
