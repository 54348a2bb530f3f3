// The tests' shapes of the slot operations, over the plug-in's own entry
// points and its one transaction.
#include "support/slot_operations.h"

#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "platform/platform.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/slot_transaction.h"
#include "ui/slot_messages.h"

void UpdatePhoneSlots(const CallRecord& record) { UpdatePhoneSlots(&record, 1, 2000); }

int PhoneSlotPath(char* path, int capacity) {
    if (capacity > 0) path[0] = '\0';
    Settings settings;
    if (!TakeSettingsSnapshot(settings)) return 1;
    char problem[kMessageCapacity];
    return PhoneSlotPath(settings, path, capacity > 0 ? static_cast<std::size_t>(capacity) : 0, problem,
                         sizeof problem)
               ? 0
               : 1;
}

bool LoadPhoneSlots(bool showMessages) {
    SlotView view;
    return LoadPhoneSlots(view, showMessages);
}

void SavePhoneSlots() {
    char message[kMessageCapacity];
    CallRecord wanted[kSlotCount];
    {
        BoundedStateLock lock;
        if (!lock.held()) return;
        std::memcpy(wanted, g_phoneSlots, sizeof wanted);
    }
    SlotRequest request;
    request.operation.kind = SlotOperationKind::SaveImage;
    request.operation.calls = wanted;
    request.waitMilliseconds = kUiLockWaitMilliseconds;
    request.userInterface = true;
    SlotResult result;
    RunSlotTransaction(request, result);
    if (result.outcome == SlotOutcome::Done) return;
    ComposeSaveFailure(result, message, sizeof message);
    CallHost<Host::AskUser>("uwaga", message, 1);
}

bool SetSlotFileName(const char* name) {
    BoundedStateLock lock;
    if (!lock.held()) return false;
    std::snprintf(g_settings.slotFileName, sizeof g_settings.slotFileName, "%s", name);
    return true;
}
