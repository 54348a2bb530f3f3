// F4's clearing of today's day log and the phone slots, all or nothing.
//
// The slots are cleared in place, ten free records written over the file
// in the slot file's one transaction: other stations and readers keep the
// slot file open, and Windows refuses to delete a file that is open (or
// leaves the deletion pending while it is). The transaction checks that
// the path it took the stations' lock for is still the one in force.
//
// The day log goes last, in one step, still under the stations' lock: the
// listener and the other stations append to it without it. It is renamed
// aside, which frees its name at once (a deletion may stay pending while a
// reader holds the file, and appends would then fail), and the renamed
// file is deleted. A refused rename (Windows refuses it while another
// program holds the log open without sharing deletion) puts the slots back.
#include "storage/clearing.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/slot_transaction.h"
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

static bool ClearDayLogStep(void* context) { return ClearDayLog(static_cast<const char*>(context)); }

bool ClearDayLogAndSlots(char* why, std::size_t whySize) {
    why[0] = '\0';
    char dayLog[kPathCapacity];
    DayLogPath(dayLog, sizeof dayLog);
    SlotRequest request;
    request.operation.kind = SlotOperationKind::Clear;
    request.access = SlotAccess::Existing;
    request.waitMilliseconds = kUiLockWaitMilliseconds;
    request.userInterface = true;
    request.afterWrite = ClearDayLogStep;
    request.context = dayLog;
    SlotResult result;
    RunSlotTransaction(request, result);
    switch (result.outcome) {
        case SlotOutcome::Done: return true;
        case SlotOutcome::NotNamed: std::snprintf(why, whySize, "%s", result.problem); break;
        case SlotOutcome::PluginBusy:
        case SlotOutcome::BusyHere: std::snprintf(why, whySize, "%s", kBusy.c_str()); break;
        case SlotOutcome::StationBusy: std::snprintf(why, whySize, kOtherStation, result.path); break;
        case SlotOutcome::Undone: std::snprintf(why, whySize, kDayLogHeld, dayLog); break;
        case SlotOutcome::Lost: std::snprintf(why, whySize, kSlotsLost, dayLog); break;
        default: std::snprintf(why, whySize, kSlotsRefused, result.path); break;
    }
    return false;
}
