// The host's own lock, a fault switch (--host-lock): a host may hold a lock
// of its own while it calls the plug-in's window procedures and hooks, and
// take the same lock in every service it offers. The plug-in's listener
// calls services while holding the plug-in's lock, so a plug-in that waits
// without bound for its lock on the host's thread freezes such a host.
// The lock is recursive and its waits are unbounded, as a real host's are.
#pragma once

namespace refhost {

// Whether the host takes its lock (HostOptions().hostLock).
bool HostLockOn();

// Holds the host's lock for a service (by its ordinal) or a call into the
// plug-in (ordinal 0), when the switch is on; nothing otherwise.
class HostLockScope {
public:
    explicit HostLockScope(unsigned ordinal = 0);
    ~HostLockScope();
    HostLockScope(const HostLockScope&) = delete;
    HostLockScope& operator=(const HostLockScope&) = delete;

private:
    bool held_;
};

// Lets the lock go while the host waits for the person at it (a window's
// next key, a box, the file chooser, the viewer), as a host waiting for
// input does; every level this thread held is taken back afterwards.
class HostLockReleased {
public:
    HostLockReleased();
    ~HostLockReleased();
    HostLockReleased(const HostLockReleased&) = delete;
    HostLockReleased& operator=(const HostLockReleased&) = delete;

private:
    int depth_;
};

// For scripts that stage a race. A trap at a service's door holds the
// first other thread that enters the service there, until the script has
// taken the lock; that thread then waits for the lock inside the service.
// TakeHostLockWhenWanted waits for the trap to spring (when one is set),
// takes one more level of the lock for the calling thread and waits until
// another thread waits for it; false when that did not happen within the
// limit. GiveBackHostLock gives one such level back.
void SetHostLockTrap(unsigned ordinal);
bool TakeHostLockWhenWanted(int limitMilliseconds);
void GiveBackHostLock();
// How many threads wait for the lock now.
int HostLockWaiters();

}  // namespace refhost
