// The slot file's own steps, shared by the loads and updates
// (phone_slots.cpp) and the saves (slot_saving.cpp): the path rule, the
// host's stream opening and one read of the whole file. The caller holds
// the plug-in's lock.
#pragma once

#include <cstddef>
#include <cstdio>

#include "platform/platform.h"
#include "storage/call_record.h"
#include "storage/storage_paths.h"

// The path rule. A name that does not fit is refused rather than cut, so
// that the slots never go to a different, shortened path; refusal then
// holds the reason.
bool BuildSlotPath(char* path, std::size_t capacity, char* refusal, std::size_t refusalSize);

// Other stations may read the slot file while it is open here, so the
// host opens it deny-none.
std::FILE* OpenSlotStream(const char* path, const char* mode);

// The other stations' lock on the slot file (platform.h), held for a
// scope. A folder where no lock file can be made has no other station
// writing; a station that cannot have the lock in time decides itself
// whether to wait again or go on without it.
class StationFileLock {
public:
    StationFileLock(const char* path, int milliseconds) : lock_(LockAcrossStations(path, milliseconds)) {}
    ~StationFileLock() { UnlockAcrossStations(lock_); }
    StationFileLock(const StationFileLock&) = delete;
    StationFileLock& operator=(const StationFileLock&) = delete;
    bool busy() const { return lock_ == kStationLockBusy; }

private:
    StationLock lock_;
};

enum class SlotFileRead { Read, Missing, Unreadable };
// Reads the file into image (ten slots), which is all zero unless the file
// was read; a shorter file leaves its missing slots free. A read error
// counts as unreadable: the image is then no picture of the file. path
// holds the path (empty when the name was refused), message the reason.
SlotFileRead ReadSlotFileInto(CallRecord* image, char (&path)[kPathCapacity], char* message,
                              std::size_t messageSize);
