// The named operations on the phone slots, each a thin name on the slot
// file's one transaction (slot_transaction.cpp): the file is the
// authority, every load and update rebuilds the image from it. The saves
// are in slot_saving.cpp, F4's clearing in clearing.cpp.
#include "storage/phone_slots.h"

#include <cstdio>
#include <cstring>

#include "storage/day_log.h"
#include "storage/settings.h"
#include "storage/slot_file.h"
#include "storage/slot_transaction.h"
#include "storage/station_clock.h"
#include "text/mazovia.h"

CallRecord g_phoneSlots[kSlotCount];

static_assert(sizeof g_phoneSlots == kSlotFileSize);

static constexpr auto kUpdateOpenFailed = MZ(u8"Blad otwarcia pliku telefonow (aktualizacja - zapis)");
static constexpr auto kBusy = MZ(u8"Plik telefonów jest w tej chwili zajęty - spróbuj ponownie");
static constexpr auto kStationHoldsSlotFile =
    MZ(u8"Plik telefonów zajęty przez inne stanowisko - połączenia nie wpisano do pliku telefonów");
// How long a direct update waits for another station's hold.
static constexpr int kUpdateWaitMilliseconds = 2000;

// The settings' name is copied under the lock; the path is built (and its
// directories made) outside it.
int PhoneSlotPath(char* path, int capacity) {
    if (capacity > 0) path[0] = '\0';
    Settings settings;
    if (!TakeSettingsSnapshot(settings)) return 1;
    char refusal[kMessageCapacity];
    if (BuildSlotPath(settings.slotFileName, path, capacity > 0 ? static_cast<std::size_t>(capacity) : 0, refusal,
                      sizeof refusal))
        return 0;
    WriteEventLog(refusal);
    return 1;
}

void MarkSlotViewBusy(SlotView& view) { std::snprintf(view.problem, sizeof view.problem, "%s", kBusy.c_str()); }

bool TakeSlotView(SlotView& view) {
    SlotRequest request;
    request.operation.kind = SlotOperationKind::View;
    request.access = SlotAccess::Read;
    request.waitMilliseconds = kUiLockWaitMilliseconds;
    request.userInterface = true;
    SlotResult result;
    RunSlotTransaction(request, result);
    if (result.outcome == SlotOutcome::PluginBusy) {
        MarkSlotViewBusy(view);
        return false;
    }
    std::memcpy(view.slots, result.change.slots, sizeof view.slots);
    view.settings = result.settings;
    std::snprintf(view.problem, sizeof view.problem, "%s", result.problem);
    return true;
}

CallsFiled FilePhoneCalls(const CallRecord* calls, int count, int milliseconds, const HoldInfo* hold,
                          CallRecord* slotsAfter) {
    SlotRequest request;
    request.operation.kind = SlotOperationKind::FileCalls;
    request.operation.calls = calls;
    request.operation.count = count;
    request.operation.hold = hold;
    request.operation.clockAheadSeconds = StationClockAheadSeconds();
    request.waitMilliseconds = milliseconds;
    SlotResult result;
    RunSlotTransaction(request, result);
    if (slotsAfter && result.outcome == SlotOutcome::Done)
        std::memcpy(slotsAfter, result.change.slots, sizeof result.change.slots);
    switch (result.outcome) {
        case SlotOutcome::HeldByProgram: return CallsFiled::HeldByProgram;
        case SlotOutcome::BusyHere:
        case SlotOutcome::StationBusy:
        case SlotOutcome::PluginBusy: return CallsFiled::Busy;
        default: return CallsFiled::Filed;
    }
}

void UpdatePhoneSlots(const CallRecord& record) {
    CallsFiled filed = FilePhoneCalls(&record, 1, kUpdateWaitMilliseconds);
    if (filed == CallsFiled::Busy) WriteEventLog(kStationHoldsSlotFile);
    if (filed == CallsFiled::HeldByProgram) WriteEventLog(kUpdateOpenFailed);
}
