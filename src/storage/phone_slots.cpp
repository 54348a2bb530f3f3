// The named operations on the phone slots, each a thin name on the slot
// file's one transaction (slot_transaction.cpp): the file is the
// authority, every load and update rebuilds the image from it. F5's save
// is in slot_saving.cpp, F4's clearing in clearing.cpp.
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

static constexpr auto kBusy = MZ(u8"Plik telefonów jest w tej chwili zajęty - spróbuj ponownie");

bool PhoneSlotPath(const Settings& settings, char* path, std::size_t size, char* problem, std::size_t problemSize) {
    if (BuildSlotPath(settings.slotFileName, path, size, problem, problemSize)) return true;
    WriteEventLog(problem);
    return false;
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

CallsFiled UpdatePhoneSlots(const CallRecord* calls, int count, int milliseconds, const HoldInfo* hold,
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
