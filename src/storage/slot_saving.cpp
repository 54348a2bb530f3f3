// Saving the slot file from the user-interface thread: the window's edits
// (F5), through the slot file's one transaction with a wait of at most 100 ms for the stations' lock. The
// outcome comes back with the text for the user's box; the caller shows it.
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/slot_transaction.h"
#include "text/mazovia.h"

// A name longer than this is shown cut, with "..." behind it.
static constexpr std::size_t kShownNameLength = 255;

static constexpr auto kSaveNotDone =
    MZ(u8"Zapis pliku telefonów: %s - nie udał się, zmiany nie zostały zapisane");
static constexpr auto kSaveBusy =
    MZ(u8"Zapis pliku telefonów: %s - plik jest w tej chwili zajęty, zmiany nie zostały zapisane");
static constexpr auto kSaveStationBusy =
    MZ(u8"Zapis pliku telefonów: %s - inne stanowisko zapisuje właśnie ten plik; zmiany zostały w oknie, "
       u8"zapisz je ponownie (F5) za chwilę");
static constexpr auto kSaveRefusedByHolder =
    MZ(u8"Zapis pliku telefonów: %s - inny program ma ten plik otwarty i nie pozwala na zapis; "
       u8"zmiany zostały w oknie, zapisz je ponownie (F5), gdy program go zwolni");

// The slot file's name as a message shows it: whole up to 255 characters,
// longer ones cut visibly.
static void NameForMessage(const Settings& settings, char* out, std::size_t size) {
    const char* name = settings.slotFileName[0] != '\0' ? settings.slotFileName : kDefaultSlotFileName;
    std::size_t length = strnlen(name, sizeof settings.slotFileName);
    if (length <= kShownNameLength)
        std::snprintf(out, size, "%.*s", static_cast<int>(length), name);
    else
        std::snprintf(out, size, "%.*s...", static_cast<int>(kShownNameLength - 3), name);
}

static void Save(const SlotOperation& operation, SlotResult& result) {
    SlotRequest request;
    request.operation = operation;
    request.waitMilliseconds = kUiLockWaitMilliseconds;
    request.userInterface = true;
    RunSlotTransaction(request, result);
}

static bool IsBusy(SlotOutcome outcome) {
    return outcome == SlotOutcome::PluginBusy || outcome == SlotOutcome::BusyHere ||
           outcome == SlotOutcome::StationBusy;
}

void ComposeSaveFailure(const SlotResult& result, char* message, std::size_t size) {
    char shownName[kPathCapacity] = "";
    if (result.outcome != SlotOutcome::PluginBusy) NameForMessage(result.settings, shownName, sizeof shownName);
    const char* format = kSaveNotDone.c_str();
    if (result.outcome == SlotOutcome::PluginBusy || result.outcome == SlotOutcome::BusyHere) format = kSaveBusy.c_str();
    if (result.outcome == SlotOutcome::StationBusy) format = kSaveStationBusy.c_str();
    if (result.outcome == SlotOutcome::HeldByProgram) format = kSaveRefusedByHolder.c_str();
    std::snprintf(message, size, format, shownName);
}

EditSave SavePhoneSlots(const SlotEdits& edits, EditOutcome& outcome) {
    std::memset(&outcome, 0, sizeof outcome);
    SlotOperation operation;
    operation.kind = SlotOperationKind::SaveEdits;
    operation.edits = &edits;
    SlotResult result;
    Save(operation, result);
    if (result.outcome == SlotOutcome::Done) {
        std::memcpy(outcome.conflict, result.change.conflict, sizeof outcome.conflict);
        std::memcpy(outcome.slots, result.change.slots, sizeof outcome.slots);
        return EditSave::Saved;
    }
    ComposeSaveFailure(result, outcome.message, sizeof outcome.message);
    return IsBusy(result.outcome) ? EditSave::Busy : EditSave::Failed;
}
