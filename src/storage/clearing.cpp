// F4's clearing of today's day log and the phone slots, all or nothing.
//
// The slots are cleared in place, ten free records written over the file:
// other stations and readers keep the slot file open, and Windows refuses
// to delete a file that is open (or leaves the deletion pending while it
// is). The file is cleared under both locks: the other stations' lock,
// taken without the plug-in's lock, then the plug-in's lock, with a check
// that the path built before is still the one in force. Under them the
// slots are this station's alone and can be put back whole.
//
// The day log goes last, in one step: the listener and the other stations
// append to it without those locks. It is renamed aside, which frees its
// name at once (a deletion may stay pending while a reader holds the file,
// and appends would then fail), and the renamed file is deleted. A refused
// rename (Windows refuses it while another program holds the log open
// without sharing deletion) puts the slots back.
#include "storage/clearing.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/slot_file.h"
#include "text/mazovia.h"

static constexpr auto kBusy =
    MZ(u8"LOG i lista nie zostały wyczyszczone - plik telefonów jest w tej chwili zajęty, spróbuj ponownie");
static constexpr auto kOtherStation =
    MZ(u8"LOG i lista nie zostały wyczyszczone - inne stanowisko zapisuje w tej chwili plik telefonów %s, "
       u8"spróbuj ponownie");
static constexpr auto kSlotsRefused =
    MZ(u8"LOG i lista nie zostały wyczyszczone - nie można zapisać pliku telefonów %s");
static constexpr auto kDayLogHeld =
    MZ(u8"LOG i lista nie zostały wyczyszczone - plik LOG %s jest otwarty w innym programie");
static constexpr auto kSlotsLost =
    MZ(u8"LOG nie został wyczyszczony - plik %s jest otwarty w innym programie; listy nie udało się "
       u8"przywrócić, jest pusta");

// What the slot file held before it was cleared, to be put back.
struct HeldSlots {
    bool existed;
    CallRecord image[kSlotCount];
};

static bool TakeSlotPath(char* path, char* why, std::size_t whySize) {
    BoundedStateLock lock;
    if (!lock.held()) {
        std::snprintf(why, whySize, "%s", kBusy.c_str());
        return false;
    }
    return BuildSlotPath(path, kPathCapacity, why, whySize);
}

// The plug-in's lock is held and the slot file's path is still the one
// the other stations' lock was taken for (a restart may have re-read
// another name meanwhile).
static bool SamePathInForce(const char* path) {
    char now[kPathCapacity];
    char refusal[kMessageCapacity];
    return BuildSlotPath(now, sizeof now, refusal, sizeof refusal) && std::strcmp(now, path) == 0;
}

static const CallRecord kFreeSlots[kSlotCount] = {};

// A file shorter than ten slots comes back at full length, its missing
// slots free as they read before.
static bool PutBack(const char* path, const HeldSlots& held) {
    if (!held.existed) return true;
    std::FILE* stream = OpenSlotStream(path, "rb+");
    return stream && CloseAfterWriting(stream, WriteChangedSlots(stream, kFreeSlots, held.image, true)) == 0;
}

// The slot file is opened in place and never made: where there is none,
// there is nothing to clear. One that cannot be read is not written.
static bool ClearSlots(const char* path, HeldSlots& held) {
    std::memset(&held, 0, sizeof held);
    std::FILE* stream = OpenSlotStream(path, "rb+");
    if (!stream) return !FileExists(path);
    long length = 0;
    if (!ReadOpenSlotFile(stream, held.image, &length)) {
        CloseFileStream(stream);
        return false;
    }
    held.existed = true;
    if (CloseAfterWriting(stream, WriteChangedSlots(stream, held.image, kFreeSlots, true)) == 0) return true;
    PutBack(path, held);
    return false;
}

// A day log that is not there (none written today, or another station's
// F4 went first) counts as cleared. The renamed file is deleted at once;
// should a reader keep it a while, the next clearing replaces it.
static bool ClearDayLog(const char* dayLog) {
    char aside[kPathCapacity + 8];
    std::snprintf(aside, sizeof aside, "%s.del", dayLog);
    if (RenameFileOver(dayLog, aside) != 0) return !FileExists(dayLog);
    RemoveFile(aside);
    return true;
}

bool ClearDayLogAndSlots(char* why, std::size_t whySize) {
    why[0] = '\0';
    char dayLog[kPathCapacity];
    DayLogPath(dayLog, sizeof dayLog);
    char path[kPathCapacity];
    if (!TakeSlotPath(path, why, whySize)) return false;
    StationFileLock stations(path, kUiLockWaitMilliseconds);
    if (stations.busy()) {
        if (ThisStationIsFiling())
            std::snprintf(why, whySize, "%s", kBusy.c_str());
        else
            std::snprintf(why, whySize, kOtherStation, path);
        return false;
    }
    BoundedStateLock lock;
    if (!lock.held() || !SamePathInForce(path)) {
        std::snprintf(why, whySize, "%s", kBusy.c_str());
        return false;
    }
    HeldSlots held;
    if (!ClearSlots(path, held)) {
        std::snprintf(why, whySize, kSlotsRefused, path);
        return false;
    }
    if (!ClearDayLog(dayLog)) {
        std::snprintf(why, whySize, PutBack(path, held) ? kDayLogHeld.c_str() : kSlotsLost.c_str(), dayLog);
        return false;
    }
    std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
    return true;
}
